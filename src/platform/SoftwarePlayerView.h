#pragma once

#include "platform/Player.h"
#include "platform/PlayerView.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <memory>

// Draws a player's pictures with libmpv's software renderer into an image painted by the
// widget. It renders whenever libmpv has a new picture, also while hidden, so that a player
// it shows never waits for a paint.
class SoftwarePlayerView : public QWidget, public PlayerView::Surface, public Player::RenderClient {
    Q_OBJECT
public:
    explicit SoftwarePlayerView(QWidget* parent = nullptr);
    ~SoftwarePlayerView() override;

    QWidget* widget() override { return this; }
    void setPlayer(Player* player) override;
    bool isSoftware() const override { return true; }
    void renderContextRevoked() override;

    // The last rendered picture (device pixels, letterboxed like the view).
    QImage currentImage() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void release();
    void onRenderUpdate();
    void renderFrame();

    QPointer<Player> m_player;
    mpv_render_context* m_context = nullptr;
    std::shared_ptr<std::atomic_bool> m_updateQueued = std::make_shared<std::atomic_bool>(false);
    struct FreeDeleter {
        void operator()(unsigned char* p) const;
    };
    std::unique_ptr<unsigned char, FreeDeleter> m_buffer;
    std::size_t m_bufferSize = 0;
    QImage m_image;
};
