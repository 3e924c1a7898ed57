#pragma once

// Waiting for a WebView's page and reading values back from it, with generous
// time limits for a loaded machine.

#include "platform/web/WebView.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <memory>

namespace webtest {

constexpr int kTimeoutMs = 120000;

// Loads `url` into `view` and waits for the load to end; the load's result.
inline bool loadAndWait(WebView& view, const QUrl& url) {
    auto done = std::make_shared<std::optional<bool>>();
    const QMetaObject::Connection c =
        QObject::connect(&view, &WebView::loadFinished, &view, [done](bool ok) { *done = ok; });
    view.load(url);
    const QDeadlineTimer deadline(kTimeoutMs);
    while (!done->has_value() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    QObject::disconnect(c);
    return done->value_or(false);
}

// Waits for a load already started (by the code under test).
inline bool waitForLoad(WebView& view) {
    const QDeadlineTimer deadline(kTimeoutMs);
    while (view.isLoading() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return view.isLoaded();
}

// Runs `script` and returns its result (invalid when none came in time).
inline QVariant evaluate(WebView& view, const QString& script) {
    auto result = std::make_shared<std::optional<QVariant>>();
    view.evaluateJavaScript(script, [result](const QVariant& value) { *result = value; });
    const QDeadlineTimer deadline(kTimeoutMs);
    while (!result->has_value() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(result->has_value()) << "no result for " << script.toStdString();
    return result->value_or(QVariant());
}

} // namespace webtest
