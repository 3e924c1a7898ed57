#pragma once

#include <QUrl>

#include <functional>

// The desktop around the application: opening a file or address with the
// program the user's desktop chooses for it, and ending the application.
// Main thread. Tests replace both steps.
class Workspace {
public:
    // Opens `url` with the desktop's handler; false when none took it.
    static bool openURL(const QUrl& url);
    // Asks the application to end (its event loop returns).
    static void terminate();

    // Replacements for tests; an empty function restores the real step.
    static void setOpenURLHandler(std::function<bool(const QUrl&)> handler);
    static void setTerminateHandler(std::function<void()> handler);
};
