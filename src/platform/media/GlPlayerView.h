#pragma once

#include "platform/media/Player.h"
#include "platform/media/PlayerSurface.h"

#include <QOpenGLWidget>
#include <QPointer>

#include <atomic>
#include <memory>

// Draws a player's pictures with libmpv's OpenGL renderer into the widget's framebuffer.
class GlPlayerView : public QOpenGLWidget, public PlayerSurface, public Player::RenderClient {
    Q_OBJECT
public:
    explicit GlPlayerView(QWidget* parent = nullptr);
    ~GlPlayerView() override;

    QWidget* widget() override { return this; }
    void setPlayer(Player* player) override;
    bool isSoftware() const override { return false; }
    void renderContextRevoked() override;

protected:
    void initializeGL() override;
    void paintGL() override;
    void hideEvent(QHideEvent* event) override;

private:
    void attach();
    void release();

    QPointer<Player> m_player;
    mpv_render_context* m_context = nullptr;
    QMetaObject::Connection m_contextConnection;
    std::shared_ptr<std::atomic_bool> m_updateQueued = std::make_shared<std::atomic_bool>(false);
};
