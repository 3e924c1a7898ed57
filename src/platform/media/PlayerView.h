#pragma once

#include "platform/media/PlayerSurface.h"

#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QWidget>

class Player;

// Shows the pictures of one Player, fitted into the view with their aspect kept (bars fill the
// rest in black). It draws through libmpv's render API: with OpenGL in a QOpenGLWidget
// (GlPlayerView) where OpenGL is available, otherwise with libmpv's software renderer into an
// image (SoftwarePlayerView), as under the "offscreen" Qt platform. The view also carries the
// picture's greyscale ("mono") filter and its magnification.
class PlayerView : public QWidget {
    Q_OBJECT
public:
    enum class Renderer { Automatic, Software, OpenGL };

    // What draws the pictures: a child widget filling the view.
    using Surface = PlayerSurface;

    explicit PlayerView(QWidget* parent = nullptr, Renderer renderer = Renderer::Automatic);
    ~PlayerView() override;

    // Whether Automatic chooses OpenGL: only with KAVRIN_PLAYER_VIEW=opengl in the environment,
    // a Qt platform with a screen and a GL context that can be made current.
    static bool openGlAvailable();
    // The view that shows `player`, if any.
    static PlayerView* showing(const Player* player);

    Player* player() const;
    // Shows `player`, which is not owned. A player is shown by one view at a time: a view that
    // showed it before goes black.
    void setPlayer(Player* player);

    // The greyscale compositing filter.
    bool isMono() const { return m_mono; }
    void setMono(bool on);

    // Shows the picture magnified by `magnification` (1 or more) around `centre`, a point of the
    // unmagnified view given as fractions of its width and height ((0.5, 0.5) is the middle).
    void setVisibleRegion(double magnification, QPointF centre);
    double magnification() const { return m_magnification; }

    // The rectangle the picture fills in the unmagnified view (aspect fit); the whole view while
    // the picture size is unknown.
    QRectF videoRect() const;
    bool usesSoftwareRenderer() const;
    Surface* surface() const { return m_surface; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyMagnification();
    void watchItem();

    Surface* m_surface = nullptr;
    QPointer<Player> m_player;
    bool m_mono = false;
    double m_magnification = 1.0;
    QPointF m_centre{0.5, 0.5};
    QMetaObject::Connection m_itemConnection;
    QMetaObject::Connection m_sizeConnection;
    QMetaObject::Connection m_destroyedConnection;
};
