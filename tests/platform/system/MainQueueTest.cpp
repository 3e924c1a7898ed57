#include "platform/system/MainQueue.h"

#include "common/EventLoopWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

using namespace looptest;

TEST(MainQueue, DeferredBlockRunsAfterTheCurrentOne) {
    std::vector<int> order;
    mainQueueAsync([&] {
        order.push_back(1);
        mainQueueAsync([&] { order.push_back(3); });
        order.push_back(2);
    });
    EXPECT_TRUE(order.empty());
    ASSERT_TRUE(spinUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(MainQueue, AfterWaitsAtLeastTheDelay) {
    QElapsedTimer clock;
    clock.start();
    qint64 ranAfter = -1;
    mainQueueAfter(0.1, [&] { ranAfter = clock.elapsed(); });
    ASSERT_TRUE(spinUntil([&] { return ranAfter >= 0; }));
    EXPECT_GE(ranAfter, 95);
    // Not held back for long, with room for a loaded machine.
    EXPECT_LT(ranAfter, 10000);
}

TEST(MainQueue, NegativeOrNanDelayRunsSoon) {
    int runs = 0;
    mainQueueAfter(-3.0, [&] { ++runs; });
    mainQueueAfter(std::numeric_limits<double>::quiet_NaN(), [&] { ++runs; });
    EXPECT_TRUE(spinUntil([&] { return runs == 2; }));
}

TEST(MainQueue, BlockQueuedFromAnotherThreadRunsOnTheMainThread) {
    QThread* ranOn = nullptr;
    std::unique_ptr<QThread> thread(
        QThread::create([&] { mainQueueAsync([&] { ranOn = QThread::currentThread(); }); }));
    thread->start();
    thread->wait();
    ASSERT_TRUE(spinUntil([&] { return ranOn != nullptr; }));
    EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
}

TEST(MainQueue, BlockWithDestroyedContextIsSkipped) {
    int runs = 0;
    auto context = std::make_unique<QObject>();
    mainQueueAsync(context.get(), [&] { ++runs; });
    mainQueueAfter(0.01, context.get(), [&] { ++runs; });
    context.reset();
    QElapsedTimer clock;
    clock.start();
    spinUntil([] { return false; }, 100);
    EXPECT_EQ(runs, 0);
}
