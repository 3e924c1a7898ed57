#pragma once

// Waits of the Qt test executables: the event loop runs while a test waits
// for something the main queue, a timer or another thread brings about.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

namespace looptest {

// Runs the event loop until `done` holds or `timeoutMs` have passed; whether
// it holds. Each round handles events for up to `sliceMs`, then sleeps
// `pauseMs` so that other threads get the processor.
template <typename Predicate> bool runUntil(Predicate&& done, int timeoutMs, int sliceMs, int pauseMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= timeoutMs)
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, sliceMs);
        if (pauseMs > 0)
            QThread::msleep(pauseMs);
    }
    return true;
}

// For what the main thread brings about itself: no pause, and a limit that a
// loaded machine does not reach (it only ends a wait that has failed).
template <typename Predicate> bool spinUntil(Predicate&& done, int timeoutMs = 20000) {
    return runUntil(done, timeoutMs, 10, 0);
}

// For work on other threads (a folder scan, a player): a long limit and a
// pause between rounds.
template <typename Predicate> bool waitUntil(Predicate&& done, int timeoutMs = 20000) {
    return runUntil(done, timeoutMs, 20, 5);
}

// Lets the event loop run for `ms`, for checking that something does not happen.
inline void spinFor(int ms) {
    waitUntil([] { return false; }, ms);
}

} // namespace looptest
