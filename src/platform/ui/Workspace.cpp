#include "platform/ui/Workspace.h"

#include <QCoreApplication>
#include <QDesktopServices>

namespace {

std::function<bool(const QUrl&)>& openURLHandler() {
    static std::function<bool(const QUrl&)> handler;
    return handler;
}

std::function<void()>& terminateHandler() {
    static std::function<void()> handler;
    return handler;
}

} // namespace

bool Workspace::openURL(const QUrl& url) {
    if (openURLHandler())
        return openURLHandler()(url);
    return QDesktopServices::openUrl(url);
}

void Workspace::terminate() {
    if (terminateHandler()) {
        terminateHandler()();
        return;
    }
    QCoreApplication::quit();
}

void Workspace::setOpenURLHandler(std::function<bool(const QUrl&)> handler) {
    openURLHandler() = std::move(handler);
}

void Workspace::setTerminateHandler(std::function<void()> handler) {
    terminateHandler() = std::move(handler);
}
