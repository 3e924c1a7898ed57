#include "platform/web/GraphicsSupport.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace GraphicsSupport {

namespace {

bool softwareRenderer(const QByteArray& renderer) {
    const QByteArray name = renderer.toLower();
    return name.contains("llvmpipe") || name.contains("softpipe") || name.contains("swrast") ||
           name.contains("software");
}

} // namespace

bool hardwareOpenGl() {
    static const bool available = [] {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
            return false;
        QOpenGLContext context;
        if (!context.create())
            return false;
        QOffscreenSurface surface;
        surface.setFormat(context.format());
        surface.create();
        if (!surface.isValid() || !context.makeCurrent(&surface))
            return false;
        const auto* renderer = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
        const bool hardware = renderer != nullptr && !softwareRenderer(QByteArray(renderer));
        context.doneCurrent();
        return hardware;
    }();
    return available;
}

void prepareWebEngine() {
    static bool prepared = false;
    if (prepared || hardwareOpenGl())
        return;
    prepared = true;
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--disable-gpu"))
        flags += flags.isEmpty() ? "--disable-gpu" : " --disable-gpu";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

} // namespace GraphicsSupport
