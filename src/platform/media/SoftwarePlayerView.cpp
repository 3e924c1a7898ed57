#include "platform/media/SoftwarePlayerView.h"

#include "platform/media/MpvProperties.h"

#include <mpv/render.h>

#include <QPainter>
#include <QResizeEvent>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

struct FreeDeleter {
    void operator()(unsigned char* p) const { std::free(p); }
};

qint64 steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

// The view's render thread and what it shares with the main thread. `mutex` guards the
// requests; `renderMutex` is held while a picture is drawn, so that the context is never
// freed under the renderer.
struct SoftwarePlayerView::Worker {
    SoftwarePlayerView* view = nullptr;
    std::mutex mutex;
    std::condition_variable wake;
    bool pending = false;
    bool forced = false;
    bool stop = false;
    int width = 1;
    int height = 1;
    qreal ratio = 1.0;

    std::mutex renderMutex;
    mpv_render_context* context = nullptr;
    std::atomic<quint64> generation{0};

    std::unique_ptr<unsigned char, FreeDeleter> buffer;
    std::size_t bufferSize = 0;
    std::thread thread;

    // Diagnostics (see RenderState).
    std::atomic_bool rendering{false};
    std::atomic<quint64> pictures{0};
    std::atomic<qint64> lastStartNs{0};
    std::atomic<qint64> lastDurationNs{0};
    std::atomic<qint64> longestDurationNs{0};
    std::atomic<qint64> lastRequestNs{0};

    void request(bool force) {
        {
            std::lock_guard lock(mutex);
            pending = true;
            forced = forced || force;
        }
        lastRequestNs = steadyNs();
        wake.notify_one();
    }

    void run() {
        for (;;) {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return stop || pending; });
            if (stop)
                return;
            const bool force = forced;
            pending = forced = false;
            const int w = width, h = height;
            const qreal r = ratio;
            lock.unlock();
            std::lock_guard renderLock(renderMutex);
            if (!context)
                continue;
            const bool frame = mpv_render_context_update(context) & MPV_RENDER_UPDATE_FRAME;
            if (!frame && !force)
                continue;
            // libmpv's software renderer wants rows aligned to 64 bytes.
            const std::size_t stride = (static_cast<std::size_t>(w) * 4 + 63) / 64 * 64;
            const std::size_t bytes = stride * static_cast<std::size_t>(h);
            if (!buffer || bytes != bufferSize) {
                buffer.reset(static_cast<unsigned char*>(std::aligned_alloc(64, bytes)));
                bufferSize = buffer ? bytes : 0;
                if (!buffer)
                    continue;
                std::memset(buffer.get(), 0, bytes);
            }
            int size[2] = {w, h};
            std::size_t strideParam = stride;
            // libmpv paces the frames itself; waiting here for a frame's time could outlast the frame.
            int block = 0;
            mpv_render_param params[] = {
                {MPV_RENDER_PARAM_SW_SIZE, size},
                {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(MpvProperties::SoftwareFormat)},
                {MPV_RENDER_PARAM_SW_STRIDE, &strideParam},
                {MPV_RENDER_PARAM_SW_POINTER, buffer.get()},
                {MPV_RENDER_PARAM_INVALID, nullptr}};
            const qint64 start = steadyNs();
            rendering = true;
            mpv_render_context_render(context, params);
            rendering = false;
            const qint64 took = steadyNs() - start;
            lastStartNs = start;
            lastDurationNs = took;
            if (took > longestDurationNs)
                longestDurationNs = took;
            ++pictures;
            QImage image =
                QImage(buffer.get(), w, h, static_cast<qsizetype>(stride), QImage::Format_RGBX8888).copy();
            image.setDevicePixelRatio(r);
            const quint64 shown = generation;
            SoftwarePlayerView* target = view;
            // The view joins this thread before it goes away, so it is alive here.
            QMetaObject::invokeMethod(
                target, [target, image, shown] { target->showImage(image, shown); }, Qt::QueuedConnection);
        }
    }
};

SoftwarePlayerView::SoftwarePlayerView(QWidget* parent)
    : QWidget(parent), m_worker(std::make_unique<Worker>()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(1, 1);
    m_worker->view = this;
    m_worker->thread = std::thread([worker = m_worker.get()] { worker->run(); });
}

SoftwarePlayerView::~SoftwarePlayerView() {
    release();
    {
        std::lock_guard lock(m_worker->mutex);
        m_worker->stop = true;
    }
    m_worker->wake.notify_one();
    m_worker->thread.join();
}

void SoftwarePlayerView::setPlayer(Player* player) {
    if (player == m_player && (m_context || !player))
        return;
    release();
    m_player = player;
    if (m_player) {
        mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        m_context = m_player->attachRenderClient(this, params, true);
        if (m_context) {
            // Runs on libmpv's threads: only wake the render thread. Set before the render thread
            // sees the context: libmpv takes one call of a context at a time.
            mpv_render_context_set_update_callback(
                m_context, [](void* worker) { static_cast<Worker*>(worker)->request(false); },
                m_worker.get());
            std::lock_guard renderLock(m_worker->renderMutex);
            m_worker->context = m_context;
        }
    }
    requestRender(true);
    update();
}

void SoftwarePlayerView::release() {
    {
        // Waits for a picture being drawn; later ones from this context are dropped.
        std::lock_guard renderLock(m_worker->renderMutex);
        m_worker->context = nullptr;
        ++m_worker->generation;
    }
    if (m_player && m_context)
        m_player->detachRenderClient(this);
    m_context = nullptr;
    m_image = QImage();
}

void SoftwarePlayerView::renderContextRevoked() {
    release();
    m_player = nullptr;
    update();
}

void SoftwarePlayerView::requestRender(bool force) {
    if (!m_context)
        return;
    const qreal ratio = devicePixelRatioF();
    {
        std::lock_guard lock(m_worker->mutex);
        m_worker->width = std::max(1, qRound(width() * ratio));
        m_worker->height = std::max(1, qRound(height() * ratio));
        m_worker->ratio = ratio;
    }
    m_worker->request(force);
}

SoftwarePlayerView::RenderState SoftwarePlayerView::renderState() const {
    RenderState state;
    {
        std::lock_guard lock(m_worker->mutex);
        state.pending = m_worker->pending;
    }
    state.rendering = m_worker->rendering;
    state.pictures = m_worker->pictures;
    state.lastStartNs = m_worker->lastStartNs;
    state.lastDurationNs = m_worker->lastDurationNs;
    state.longestDurationNs = m_worker->longestDurationNs;
    state.lastRequestNs = m_worker->lastRequestNs;
    return state;
}

void SoftwarePlayerView::showImage(const QImage& image, quint64 generation) {
    // A picture of a context released since is not shown.
    if (generation != m_worker->generation.load())
        return;
    m_image = image;
    update();
}

void SoftwarePlayerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_image.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.drawImage(rect(), m_image);
}

void SoftwarePlayerView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    requestRender(true);
}
