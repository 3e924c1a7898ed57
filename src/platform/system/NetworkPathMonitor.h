#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class QThread;

// Watches whether the network path is usable and reports each change (and
// the first state) to its update handler, on the monitor's own background
// thread.
//
// Built on QNetworkInformation when one of its backends loads (reachability
// "Site" or "Online" is usable; "Unknown" counts as usable rather than
// claiming an outage it cannot see); otherwise the interfaces are polled every
// two seconds (usable: an interface that is up and running, not loopback,
// with an address that is not link-local).
class NetworkPathMonitor {
public:
    enum class Status { Satisfied, Unsatisfied };
    using UpdateHandler = std::function<void(Status)>;

    NetworkPathMonitor();
    ~NetworkPathMonitor();
    NetworkPathMonitor(const NetworkPathMonitor&) = delete;
    NetworkPathMonitor& operator=(const NetworkPathMonitor&) = delete;

    // Set before or after start(); the newest handler gets the next update.
    void setPathUpdateHandler(UpdateHandler handler);

    // Starts watching on the background thread; a second start does nothing.
    // Call from the main thread.
    void start();
    // Stops watching; no update is delivered after it returns.
    void cancel();

    bool isRunning() const { return m_running; }

    // The current state as the poll would judge it (tests, start-up).
    static Status pollInterfaces();

private:
    class Worker;
    std::shared_ptr<UpdateHandler> m_handler;
    std::shared_ptr<std::mutex> m_handlerLock;
    QThread* m_thread = nullptr;
    Worker* m_worker = nullptr;
    std::atomic<bool> m_running{false};
};
