#pragma once

// The shared main() of the Qt test executables: an offscreen QApplication
// (a QCoreApplication for a suite that links no widgets) with the C numeric locale (as libmpv needs), and the
// user's folders moved to a fresh temporary home so that no test reads or writes the real configuration. The
// program's log lines come out as the player writes them, so tests read them from standard output.

#include "platform/system/LogCategories.h"

#include <QDir>
#include <QTemporaryDir>
#ifdef QT_WIDGETS_LIB
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

inline int runQtTests(int argc, char** argv) {
    platform::installLogLineHandler();
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/kavrin-test-XXXXXX"));
    if (home.isValid()) {
        const QByteArray root = home.path().toLocal8Bit();
        setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
        setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
        setenv("XDG_CACHE_HOME", (root + "/cache").constData(), 1);
        QDir().mkpath(home.path() + QStringLiteral("/config"));
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TestApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName(QStringLiteral("KavrinTest"));
    QCoreApplication::setApplicationName(QStringLiteral("KavrinPlayerTest"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
