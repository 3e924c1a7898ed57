#include "platform/system/MainQueue.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QTimer>

#include <cmath>

namespace {

void runOnMainThread(std::function<void()> work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
}

int toMilliseconds(double seconds) {
    if (!(seconds > 0) || std::isnan(seconds))
        return 0;
    if (seconds > 2'000'000.0) // about 23 days: QTimer's limit
        return 2'000'000'000;
    return static_cast<int>(std::lround(seconds * 1000.0));
}

} // namespace

void mainQueueAsync(std::function<void()> block) {
    if (block)
        runOnMainThread(std::move(block));
}

void mainQueueAfter(double seconds, std::function<void()> block) {
    if (!block)
        return;
    const int ms = toMilliseconds(seconds);
    runOnMainThread([ms, block = std::move(block)]() mutable {
        QTimer::singleShot(ms, QCoreApplication::instance(), std::move(block));
    });
}

void mainQueueAsync(QObject* context, std::function<void()> block) {
    QPointer<QObject> guard(context);
    mainQueueAsync([guard, block = std::move(block)] {
        if (guard && block)
            block();
    });
}

void mainQueueAfter(double seconds, QObject* context, std::function<void()> block) {
    QPointer<QObject> guard(context);
    mainQueueAfter(seconds, [guard, block = std::move(block)] {
        if (guard && block)
            block();
    });
}
