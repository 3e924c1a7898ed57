#include "player/NetworkMonitor.h"

#include "platform/LogCategories.h"
#include "player/PlayerState.h"

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
