#include "platform/system/NotificationCenter.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

TEST(NotificationCenter, DeliversByNameAndObject) {
    NotificationCenter center;
    QObject sender;
    QObject other;
    int anyObject = 0;
    int thisObject = 0;
    int everyName = 0;
    QVariantMap received;
    center.addObserver(QStringLiteral("requestPlay"), nullptr, [&](const Notification& n) {
        ++anyObject;
        received = n.userInfo;
    });
    center.addObserver(QStringLiteral("requestPlay"), &sender, [&](const Notification&) { ++thisObject; });
    center.addObserver(QString(), nullptr, [&](const Notification&) { ++everyName; });

    center.post(QStringLiteral("requestPlay"), &sender, {{QStringLiteral("downloadPath"), 7}});
    center.post(QStringLiteral("requestPlay"), &other);
    center.post(QStringLiteral("requestPlay"));
    center.post(QStringLiteral("cancelUpdate"));

    EXPECT_EQ(anyObject, 3);
    EXPECT_EQ(thisObject, 1);
    EXPECT_EQ(everyName, 4);
    EXPECT_TRUE(received.isEmpty()); // the last "requestPlay" had no user info
}

TEST(NotificationCenter, RemovesObserversByTokenObserverAndName) {
    NotificationCenter center;
    QObject observer;
    int byToken = 0;
    int byObserverA = 0;
    int byObserverB = 0;
    const auto token =
        center.addObserver(QStringLiteral("a"), nullptr, [&](const Notification&) { ++byToken; });
    center.addObserver(&observer, QStringLiteral("a"), nullptr, [&](const Notification&) { ++byObserverA; });
    center.addObserver(&observer, QStringLiteral("b"), nullptr, [&](const Notification&) { ++byObserverB; });

    center.removeObserver(token);
    center.post(QStringLiteral("a"));
    EXPECT_EQ(byToken, 0);
    EXPECT_EQ(byObserverA, 1);

    center.removeObserver(&observer, QStringLiteral("a"));
    center.post(QStringLiteral("a"));
    center.post(QStringLiteral("b"));
    EXPECT_EQ(byObserverA, 1);
    EXPECT_EQ(byObserverB, 1);

    center.removeObserver(&observer);
    center.post(QStringLiteral("b"));
    EXPECT_EQ(byObserverB, 1);
    EXPECT_EQ(center.observationCount(), 0u);
}

TEST(NotificationCenter, DestroyedObserverIsForgotten) {
    NotificationCenter center;
    int calls = 0;
    {
        QObject observer;
        center.addObserver(&observer, QStringLiteral("a"), nullptr, [&](const Notification&) { ++calls; });
        EXPECT_EQ(center.observationCount(), 1u);
    }
    EXPECT_EQ(center.observationCount(), 0u);
    center.post(QStringLiteral("a"));
    EXPECT_EQ(calls, 0);
}

TEST(NotificationCenter, ObserverRemovedDuringPostIsNotCalledAgain) {
    NotificationCenter center;
    QObject first;
    QObject second;
    int secondCalls = 0;
    int firstCalls = 0;
    // The first observer removes the second (and itself) while the post is delivered.
    center.addObserver(&first, QStringLiteral("a"), nullptr, [&](const Notification&) {
        ++firstCalls;
        center.removeObserver(&second);
        center.removeObserver(&first);
    });
    center.addObserver(&second, QStringLiteral("a"), nullptr, [&](const Notification&) { ++secondCalls; });
    center.post(QStringLiteral("a"));
    center.post(QStringLiteral("a"));
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(secondCalls, 0);
}

TEST(NotificationCenter, PostFromAnotherThreadArrivesOnTheMainThread) {
    NotificationCenter center;
    QThread* deliveredOn = nullptr;
    center.addObserver(QStringLiteral("a"), nullptr,
                       [&](const Notification&) { deliveredOn = QThread::currentThread(); });
    std::unique_ptr<QThread> thread(QThread::create([&] { center.post(QStringLiteral("a")); }));
    thread->start();
    thread->wait();
    EXPECT_EQ(deliveredOn, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(deliveredOn, QCoreApplication::instance()->thread());
}
