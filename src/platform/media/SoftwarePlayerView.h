#pragma once

#include "platform/media/Player.h"
#include "platform/media/PlayerSurface.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>

// Draws a player's pictures with libmpv's software renderer into an image painted by the
// widget. It renders whenever libmpv has a new picture, also while hidden, so that a player
// it shows never waits for a paint. The rendering runs on a thread of the view's own: several
// views rendering on the main thread queued behind each other, which held each player's
// frames back by a different amount and drove the channels of a recording apart.
class SoftwarePlayerView : public QWidget, public PlayerSurface, public Player::RenderClient {
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

    // What the render thread is doing, for benchmarks and diagnostics. Times are on the
    // steady clock, in nanoseconds.
    struct RenderState {
        bool rendering = false;    // drawing a picture now
        bool pending = false;      // a request waits for the thread
        quint64 pictures = 0;      // pictures drawn so far
        qint64 lastStartNs = 0;    // when the last picture was begun
        qint64 lastDurationNs = 0; // how long it took
        qint64 longestDurationNs = 0;
        qint64 lastRequestNs = 0; // when libmpv last asked for a picture
    };
    RenderState renderState() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Worker;

    void release();
    void requestRender(bool force);
    void showImage(const QImage& image, quint64 generation);

    QPointer<Player> m_player;
    mpv_render_context* m_context = nullptr;
    std::unique_ptr<Worker> m_worker;
    QImage m_image;
};
