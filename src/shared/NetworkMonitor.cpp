#include "shared/NetworkMonitor.h"

#include "shared/PlayerState.h"

#include <cstdio>

void NetworkMonitor::startMonitoring() {
    if (m_isMonitoring.exchange(true)) {
        std::puts("Monitoring is already in progress.");
        std::fflush(stdout);
        return;
    }
    m_monitor.setPathUpdateHandler([](NetworkPathMonitor::Status status) {
        const bool connected = status == NetworkPathMonitor::Status::Satisfied;
        std::puts(connected ? "We're connected!" : "No connection.");
        std::fflush(stdout);
        isNetworkConnected.store(connected, std::memory_order_relaxed);
    });
    m_monitor.start();
}

// Declared with the rest of the shared state; the monitor itself lives here.
NetworkMonitor& sharedNetworkMonitor() {
    static NetworkMonitor monitor;
    return monitor;
}
