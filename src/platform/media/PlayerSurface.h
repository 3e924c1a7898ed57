#pragma once

class Player;
class QWidget;

// What draws a PlayerView's pictures: a child widget filling the view, drawing through libmpv's
// render API with OpenGL (GlPlayerView) or with its software renderer (SoftwarePlayerView).
class PlayerSurface {
public:
    virtual ~PlayerSurface() = default;
    virtual QWidget* widget() = 0;
    // Shows `player` (null: nothing); the surface takes over the player's rendering.
    virtual void setPlayer(Player* player) = 0;
    virtual bool isSoftware() const = 0;
};
