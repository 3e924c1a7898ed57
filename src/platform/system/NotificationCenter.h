#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

// A posted notification: its name, the object it is about (may be null) and
// its user info.
struct Notification {
    QString name;
    QObject* object = nullptr;
    QVariantMap userInfo;
};

// Delivers named notifications to the blocks observing them, synchronously,
// on the main thread. A post from another thread is delivered later on the
// main thread.
class NotificationCenter {
public:
    using Block = std::function<void(const Notification&)>;
    // Identifies one observation; 0 is never handed out.
    using ObserverToken = quint64;

    // The process-wide centre.
    static NotificationCenter& defaultCenter();

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // Calls `block` for every notification called `name` (every name when
    // empty) whose object is `object` (any object when null). The observation
    // belongs to `observer`: it ends with removeObserver(observer) or when
    // `observer` is destroyed. `observer` may be null (remove by token).
    ObserverToken addObserver(QObject* observer, const QString& name, const QObject* object, Block block);
    ObserverToken addObserver(const QString& name, const QObject* object, Block block) {
        return addObserver(nullptr, name, object, std::move(block));
    }

    // Ends one observation.
    void removeObserver(ObserverToken token);
    // Ends every observation of `observer`.
    void removeObserver(const QObject* observer);
    // Ends the observations of `observer` for `name` (all names when empty)
    // and `object` (all objects when null).
    void removeObserver(const QObject* observer, const QString& name, const QObject* object = nullptr);

    void post(const Notification& notification);
    void post(const QString& name, QObject* object = nullptr, const QVariantMap& userInfo = {});

    // The number of observations (tests).
    std::size_t observationCount() const;

private:
    struct Observation {
        ObserverToken token = 0;
        const QObject* observer = nullptr;
        QString name;
        const QObject* object = nullptr;
        Block block;
        bool removed = false;
        QMetaObject::Connection destroyedConnection;
    };
    void forget(const std::shared_ptr<Observation>& observation);

    std::vector<std::shared_ptr<Observation>> m_observations;
    ObserverToken m_nextToken = 1;
};
