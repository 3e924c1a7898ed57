#pragma once

#include "platform/system/NetworkPathMonitor.h"

#include <atomic>

// Watches the network path and keeps isNetworkConnected up to date. The
// process has one, sharedNetworkMonitor(); it runs from its first start
// until the process ends.
class NetworkMonitor {
public:
    NetworkMonitor() = default;
    NetworkMonitor(const NetworkMonitor&) = delete;
    NetworkMonitor& operator=(const NetworkMonitor&) = delete;

    // Starts watching; later calls only print that it already runs. Each
    // update of the path, on the monitor's background thread, prints the
    // state and stores it in isNetworkConnected.
    void startMonitoring();

    bool isMonitoring() const { return m_isMonitoring; }

private:
    NetworkPathMonitor m_monitor;
    std::atomic<bool> m_isMonitoring{false};
};
