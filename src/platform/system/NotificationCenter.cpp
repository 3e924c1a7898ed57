#include "platform/system/NotificationCenter.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

NotificationCenter::ObserverToken NotificationCenter::addObserver(QObject* observer, const QString& name,
                                                                  const QObject* object, Block block) {
    auto observation = std::make_shared<Observation>();
    observation->token = m_nextToken++;
    observation->observer = observer;
    observation->name = name;
    observation->object = object;
    observation->block = std::move(block);
    if (observer) {
        const ObserverToken token = observation->token;
        observation->destroyedConnection =
            QObject::connect(observer, &QObject::destroyed, [this, token] { removeObserver(token); });
    }
    m_observations.push_back(observation);
    return observation->token;
}

void NotificationCenter::forget(const std::shared_ptr<Observation>& observation) {
    observation->removed = true;
    if (observation->destroyedConnection)
        QObject::disconnect(observation->destroyedConnection);
}

void NotificationCenter::removeObserver(ObserverToken token) {
    std::erase_if(m_observations, [&](const std::shared_ptr<Observation>& o) {
        if (o->token != token)
            return false;
        forget(o);
        return true;
    });
}

void NotificationCenter::removeObserver(const QObject* observer) {
    if (!observer)
        return;
    std::erase_if(m_observations, [&](const std::shared_ptr<Observation>& o) {
        if (o->observer != observer)
            return false;
        forget(o);
        return true;
    });
}

void NotificationCenter::removeObserver(const QObject* observer, const QString& name, const QObject* object) {
    if (!observer)
        return;
    std::erase_if(m_observations, [&](const std::shared_ptr<Observation>& o) {
        if (o->observer != observer || (!name.isEmpty() && o->name != name) ||
            (object && o->object != object))
            return false;
        forget(o);
        return true;
    });
}

void NotificationCenter::post(const Notification& notification) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        QMetaObject::invokeMethod(
            app, [this, notification] { post(notification); }, Qt::QueuedConnection);
        return;
    }
    // Observers may add or remove observations while the post is delivered:
    // deliver to the ones present now that are still present when their turn comes.
    const std::vector<std::shared_ptr<Observation>> snapshot = m_observations;
    for (const std::shared_ptr<Observation>& o : snapshot) {
        if (o->removed)
            continue;
        if (!o->name.isEmpty() && o->name != notification.name)
            continue;
        if (o->object && o->object != notification.object)
            continue;
        const Block block = o->block; // the observation may go away inside the block
        if (block)
            block(notification);
    }
}

void NotificationCenter::post(const QString& name, QObject* object, const QVariantMap& userInfo) {
    post(Notification{name, object, userInfo});
}

std::size_t NotificationCenter::observationCount() const {
    return m_observations.size();
}
