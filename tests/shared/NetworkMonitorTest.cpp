#include "shared/NetworkMonitor.h"
#include "platform/system/NetworkPathMonitor.h"
#include "shared/PlayerState.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>

TEST(NetworkPathMonitor, ReportsTheFirstStateOnItsOwnThread) {
    NetworkPathMonitor monitor;
    std::atomic<int> updates{0};
    std::atomic<bool> onMainThread{false};
    QThread* mainThread = QThread::currentThread();
    monitor.setPathUpdateHandler([&](NetworkPathMonitor::Status) {
        if (QThread::currentThread() == mainThread)
            onMainThread = true;
        ++updates;
    });
    monitor.start();
    monitor.start(); // a second start changes nothing
    EXPECT_TRUE(monitor.isRunning());
    QElapsedTimer clock;
    clock.start();
    while (updates == 0 && clock.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(onMainThread);
    monitor.cancel();
    EXPECT_FALSE(monitor.isRunning());
    const int after = updates;
    QCoreApplication::processEvents();
    EXPECT_EQ(updates, after);
}

// Run in a fresh process by PlayerState.StartsFreshInANewProcess: other
// tests of this executable may have started the shared monitor.
TEST(PlayerStateFresh, NetworkMonitorStartsOnceAndKeepsTheFlagUpdated) {
    if (!qEnvironmentVariableIsSet("KAVRIN_PLAYER_STATE_FRESH"))
        GTEST_SKIP() << "run by PlayerState.StartsFreshInANewProcess";
    NetworkMonitor& monitor = sharedNetworkMonitor();
    EXPECT_EQ(&monitor, &sharedNetworkMonitor());
    EXPECT_FALSE(monitor.isMonitoring());

    std::fflush(stdout);
    testing::internal::CaptureStdout();
    monitor.startMonitoring();
    monitor.startMonitoring(); // a second start only says so
    // The first path update comes soon from the background thread; the captured output
    // (standard output now goes to a file) is read until it tells.
    const auto printedSoFar = [] {
        std::fflush(stdout);
        QFile file(QFile::symLinkTarget(QStringLiteral("/proc/self/fd/1")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000 && !printedSoFar().contains("We're connected!\n") &&
           !printedSoFar().contains("No connection.\n"))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::fflush(stdout);
    const std::string printed = testing::internal::GetCapturedStdout();

    EXPECT_TRUE(monitor.isMonitoring());
    EXPECT_NE(printed.find("Monitoring is already in progress.\n"), std::string::npos) << printed;
    const bool connected = printed.find("We're connected!\n") != std::string::npos;
    const bool disconnected = printed.find("No connection.\n") != std::string::npos;
    ASSERT_TRUE(connected != disconnected) << printed;
    EXPECT_EQ(isNetworkConnected.load(), connected);
}
