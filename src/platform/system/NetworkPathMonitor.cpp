#include "platform/system/NetworkPathMonitor.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <mutex>
#include <optional>

namespace {

constexpr int kPollIntervalMs = 2000;

NetworkPathMonitor::Status fromReachability(QNetworkInformation::Reachability reachability) {
    switch (reachability) {
    case QNetworkInformation::Reachability::Disconnected:
    case QNetworkInformation::Reachability::Local:
        return NetworkPathMonitor::Status::Unsatisfied;
    case QNetworkInformation::Reachability::Unknown:
    case QNetworkInformation::Reachability::Site:
    case QNetworkInformation::Reachability::Online:
        return NetworkPathMonitor::Status::Satisfied;
    }
    return NetworkPathMonitor::Status::Satisfied;
}

// Loads a reachability backend once per process (main thread).
QNetworkInformation* reachabilityBackend() {
    static QNetworkInformation* information = [] {
        if (!QNetworkInformation::instance()) {
            if (!QNetworkInformation::loadDefaultBackend())
                QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
        }
        QNetworkInformation* loaded = QNetworkInformation::instance();
        if (loaded && !loaded->supports(QNetworkInformation::Feature::Reachability))
            return static_cast<QNetworkInformation*>(nullptr);
        return loaded;
    }();
    return information;
}

} // namespace

// Lives on the monitor's thread: judges the path and calls the handler there.
class NetworkPathMonitor::Worker : public QObject {
public:
    Worker(std::shared_ptr<UpdateHandler> handler, std::shared_ptr<std::mutex> lock)
        : m_handler(std::move(handler)), m_lock(std::move(lock)) {}

    void startPolling() {
        m_timer = new QTimer(this);
        m_timer->setInterval(kPollIntervalMs);
        QObject::connect(m_timer, &QTimer::timeout, this, [this] { deliver(pollInterfaces(), false); });
        m_timer->start();
        deliver(pollInterfaces(), true);
    }

    void deliver(Status status, bool always) {
        if (!always && m_last && *m_last == status)
            return;
        m_last = status;
        UpdateHandler handler;
        {
            std::lock_guard guard(*m_lock);
            handler = *m_handler;
        }
        if (handler)
            handler(status);
    }

private:
    std::shared_ptr<UpdateHandler> m_handler;
    std::shared_ptr<std::mutex> m_lock;
    QTimer* m_timer = nullptr;
    std::optional<Status> m_last;
};

NetworkPathMonitor::NetworkPathMonitor()
    : m_handler(std::make_shared<UpdateHandler>()), m_handlerLock(std::make_shared<std::mutex>()) {}

NetworkPathMonitor::~NetworkPathMonitor() {
    cancel();
}

void NetworkPathMonitor::setPathUpdateHandler(UpdateHandler handler) {
    std::lock_guard guard(*m_handlerLock);
    *m_handler = std::move(handler);
}

void NetworkPathMonitor::start() {
    if (m_running.exchange(true))
        return;
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("NetworkPathMonitor"));
    m_worker = new Worker(m_handler, m_handlerLock);
    m_worker->moveToThread(m_thread);
    QObject::connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread->start();

    QNetworkInformation* information = QCoreApplication::instance() ? reachabilityBackend() : nullptr;
    if (information) {
        Worker* worker = m_worker;
        const Status first = fromReachability(information->reachability());
        // Changes are signalled on the main thread; judge and deliver them on ours.
        QObject::connect(information, &QNetworkInformation::reachabilityChanged, worker,
                         [worker](QNetworkInformation::Reachability reachability) {
                             worker->deliver(fromReachability(reachability), false);
                         });
        QMetaObject::invokeMethod(
            worker, [worker, first] { worker->deliver(first, true); }, Qt::QueuedConnection);
    } else {
        Worker* worker = m_worker;
        QMetaObject::invokeMethod(
            worker, [worker] { worker->startPolling(); }, Qt::QueuedConnection);
    }
}

void NetworkPathMonitor::cancel() {
    if (!m_running.exchange(false))
        return;
    {
        std::lock_guard guard(*m_handlerLock);
        *m_handler = nullptr;
    }
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_worker = nullptr; // deleted by the thread's finished signal
}

NetworkPathMonitor::Status NetworkPathMonitor::pollInterfaces() {
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (!address.isNull() && !address.isLoopback() && !address.isLinkLocal())
                return Status::Satisfied;
        }
    }
    return Status::Unsatisfied;
}
