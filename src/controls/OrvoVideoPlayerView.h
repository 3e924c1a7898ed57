#pragma once

#include "platform/media/PlayerView.h"

// A channel view of the window player. It takes no mouse events: clicks and
// drags reach the views below it (the scroll view that pans the picture,
// the player's context menu).
class OrvoVideoPlayerView : public PlayerView {
    Q_OBJECT

public:
    explicit OrvoVideoPlayerView(QWidget* parent = nullptr, Renderer renderer = Renderer::Automatic);
};
