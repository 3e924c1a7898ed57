#pragma once

// One line to the system log (syslog(3), facility user, priority notice).
//
// Header-only so that the metadata library can log without linking the GUI
// platform library. Tests and tools may divert the lines with
// setSystemLogSink(); with no sink set they go to syslog.

#include <cstdarg>
#include <cstdio>
#include <functional>
#include <string>
#include <syslog.h>

namespace platform {

using SystemLogSink = std::function<void(const std::string& line)>;

inline SystemLogSink& systemLogSinkSlot() {
    static SystemLogSink sink;
    return sink;
}

// Sends every later line to `sink` instead of syslog; an empty sink restores syslog.
inline void setSystemLogSink(SystemLogSink sink) {
    systemLogSinkSlot() = std::move(sink);
}

// printf-style; the text is cut at 4 KiB.
__attribute__((format(printf, 1, 2))) inline void systemLog(const char* format, ...) {
    char line[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (const SystemLogSink& sink = systemLogSinkSlot()) {
        sink(line);
        return;
    }
    syslog(LOG_USER | LOG_NOTICE, "%s", line);
}

} // namespace platform
