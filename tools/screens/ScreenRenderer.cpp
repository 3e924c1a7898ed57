#include "ScreenRenderer.h"

#include "platform/ui/Storyboard.h"
#include "platform/ui/ViewController.h"

#include <QApplication>
#include <QElapsedTimer>

namespace {

void settle() {
    // Layouts, deferred updates and the layout notifications run in a few turns.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 150)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

ViewController* ScreenRenderer::make(const QString& identifier, QSize size) {
    ViewController* screen = Storyboard::named(QStringLiteral("Main")).instantiateController(identifier);
    if (!screen)
        return nullptr;
    screen->setAttribute(Qt::WA_DontShowOnScreen);
    screen->loadViewIfNeeded();
    if (size.isValid())
        screen->resize(size);
    return screen;
}

QSize ScreenRenderer::minimumSize(const QString& identifier) {
    ViewController* screen = make(identifier, QSize());
    if (!screen)
        return {};
    const QSize size = screen->minimumSize().expandedTo(screen->minimumSizeHint());
    delete screen;
    return size;
}

void ScreenRenderer::show(ViewController* screen) {
    screen->show();
    settle();
}

QImage ScreenRenderer::grab(ViewController* screen) {
    settle();
    const QImage image = screen->grab().toImage();
    screen->close();
    delete screen;
    settle();
    return image;
}
