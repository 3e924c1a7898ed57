#include "shared/NetworkMonitor.h"

#include "platform/system/LogCategories.h"
#include "shared/PlayerState.h"

void NetworkMonitor::startMonitoring() {
    if (m_isMonitoring.exchange(true)) {
        platform::logLine(platform::lcPlayer(), "Monitoring is already in progress.");
        return;
    }
    m_monitor.setPathUpdateHandler([](NetworkPathMonitor::Status status) {
        const bool connected = status == NetworkPathMonitor::Status::Satisfied;
        platform::logLine(platform::lcPlayer(), connected ? "We're connected!" : "No connection.");
        isNetworkConnected.store(connected, std::memory_order_relaxed);
    });
    m_monitor.start();
}

// Declared with the rest of the shared state; the monitor itself lives here.
NetworkMonitor& sharedNetworkMonitor() {
    static NetworkMonitor monitor;
    return monitor;
}
