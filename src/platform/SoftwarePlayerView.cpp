#include "platform/SoftwarePlayerView.h"

#include "platform/MpvProperties.h"

#include <mpv/render.h>

#include <QPainter>
#include <QResizeEvent>

#include <cstdlib>

void SoftwarePlayerView::FreeDeleter::operator()(unsigned char* p) const { std::free(p); }

SoftwarePlayerView::SoftwarePlayerView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(1, 1);
}

SoftwarePlayerView::~SoftwarePlayerView() { release(); }

void SoftwarePlayerView::setPlayer(Player* player)
{
    if (player == m_player && (m_context || !player))
        return;
    release();
    m_player = player;
    if (m_player) {
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
            {MPV_RENDER_PARAM_INVALID, nullptr}};
        m_context = m_player->attachRenderClient(this, params, true);
        if (m_context) {
            auto queued = m_updateQueued;
            // Runs on libmpv's threads: only queue the drawing onto the main loop.
            mpv_render_context_set_update_callback(
                m_context,
                [](void* context) {
                    auto* view = static_cast<SoftwarePlayerView*>(context);
                    if (view->m_updateQueued->exchange(true))
                        return;
                    QMetaObject::invokeMethod(view, [view] { view->onRenderUpdate(); }, Qt::QueuedConnection);
                },
                this);
        }
    }
    renderFrame();
    update();
}

void SoftwarePlayerView::release()
{
    if (m_player && m_context)
        m_player->detachRenderClient(this);
    m_context = nullptr;
    m_image = QImage();
}

void SoftwarePlayerView::renderContextRevoked()
{
    release();
    m_player = nullptr;
    update();
}

void SoftwarePlayerView::onRenderUpdate()
{
    m_updateQueued->store(false);
    if (m_context && (mpv_render_context_update(m_context) & MPV_RENDER_UPDATE_FRAME))
        renderFrame();
}

void SoftwarePlayerView::renderFrame()
{
    if (!m_context)
        return;
    const qreal ratio = devicePixelRatioF();
    const int w = std::max(1, qRound(width() * ratio));
    const int h = std::max(1, qRound(height() * ratio));
    // libmpv's software renderer wants rows aligned to 64 bytes.
    const std::size_t stride = (static_cast<std::size_t>(w) * 4 + 63) / 64 * 64;
    const std::size_t bytes = stride * static_cast<std::size_t>(h);
    if (!m_buffer || bytes != m_bufferSize || m_image.width() != w || m_image.height() != h) {
        m_image = QImage();
        m_buffer.reset(static_cast<unsigned char*>(std::aligned_alloc(64, bytes)));
        m_bufferSize = m_buffer ? bytes : 0;
        if (!m_buffer)
            return;
        std::memset(m_buffer.get(), 0, bytes);
        m_image = QImage(m_buffer.get(), w, h, static_cast<qsizetype>(stride), QImage::Format_RGBX8888);
        m_image.setDevicePixelRatio(ratio);
    }
    int size[2] = {w, h};
    std::size_t strideParam = stride;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                 {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(MpvProperties::SoftwareFormat)},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &strideParam},
                                 {MPV_RENDER_PARAM_SW_POINTER, m_buffer.get()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_context, params);
    update();
}

void SoftwarePlayerView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_image.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.drawImage(rect(), m_image);
}

void SoftwarePlayerView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    renderFrame();
}
