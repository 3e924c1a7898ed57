#include "platform/media/GlPlayerView.h"

#include <mpv/render.h>
#include <mpv/render_gl.h>

#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace {

void* procAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

} // namespace

GlPlayerView::GlPlayerView(QWidget* parent) : QOpenGLWidget(parent) {
    setMinimumSize(1, 1);
    connect(this, &QOpenGLWidget::frameSwapped, this, [this] {
        if (m_context)
            mpv_render_context_report_swap(m_context);
    });
}

GlPlayerView::~GlPlayerView() {
    // The base class destroys the context after this: its signal must not reach us then.
    disconnect(m_contextConnection);
    if (m_context) {
        makeCurrent();
        release();
        doneCurrent();
    }
}

void GlPlayerView::setPlayer(Player* player) {
    if (player == m_player && (m_context || !player || !context()))
        return;
    if (m_context) {
        makeCurrent();
        release();
        doneCurrent();
    }
    m_player = player;
    // Without a GL context yet the player goes on rendering by itself until initializeGL.
    if (m_player && context() && isValid()) {
        makeCurrent();
        attach();
        doneCurrent();
    }
    update();
}

void GlPlayerView::initializeGL() {
    // The context goes away when the widget moves to another window: hand the rendering
    // back then, and take it again in the next initializeGL.
    disconnect(m_contextConnection);
    m_contextConnection = connect(
        context(), &QOpenGLContext::aboutToBeDestroyed, this,
        [this] {
            if (!m_context)
                return;
            makeCurrent();
            release();
            doneCurrent();
        },
        Qt::DirectConnection);
    if (m_player && !m_context)
        attach();
}

void GlPlayerView::attach() {
    if (!m_player)
        return;
    mpv_opengl_init_params gl{procAddress, nullptr};
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    m_context = m_player->attachRenderClient(this, params, false);
    if (!m_context)
        return;
    // Runs on libmpv's threads: only queue a repaint onto the main loop.
    mpv_render_context_set_update_callback(
        m_context,
        [](void* context) {
            auto* view = static_cast<GlPlayerView*>(context);
            if (view->m_updateQueued->exchange(true))
                return;
            QMetaObject::invokeMethod(
                view,
                [view] {
                    view->m_updateQueued->store(false);
                    view->update();
                },
                Qt::QueuedConnection);
        },
        this);
}

void GlPlayerView::release() {
    if (m_player && m_context)
        m_player->detachRenderClient(this);
    m_context = nullptr;
}

void GlPlayerView::renderContextRevoked() {
    if (m_context) {
        // Another view may be taking the player over from within its own GL context.
        QOpenGLContext* previous = QOpenGLContext::currentContext();
        QSurface* previousSurface = previous ? previous->surface() : nullptr;
        makeCurrent();
        release();
        doneCurrent();
        if (previous && previousSurface)
            previous->makeCurrent(previousSurface);
    }
    m_player = nullptr;
    update();
}

// A hidden view is not painted, and libmpv would wait for it on every frame: while hidden
// the player renders by itself, and the view takes over again at its next paint.
void GlPlayerView::hideEvent(QHideEvent* event) {
    QOpenGLWidget::hideEvent(event);
    if (m_context) {
        makeCurrent();
        release();
        doneCurrent();
    }
}

void GlPlayerView::paintGL() {
    if (!m_context && m_player)
        attach();
    if (!m_context) {
        QOpenGLFunctions* f = context()->functions();
        f->glClearColor(0, 0, 0, 1);
        f->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), qRound(width() * ratio),
                       qRound(height() * ratio), 0};
    int flipY = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flipY},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_context, params);
}
