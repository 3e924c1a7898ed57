#include "player/window/OrvoWindowController.h"

#include "platform/system/LogCategories.h"
#include "platform/system/MainQueue.h"
#include "platform/system/NotificationCenter.h"
#include "platform/ui/Storyboard.h"
#include "platform/ui/ViewController.h"
#include "shared/NotificationNames.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

#include <QCoreApplication>
#include <QMainWindow>

namespace {

void printLine(const char* line) {
    platform::logLine(platform::lcPlayer(), line);
}

} // namespace

OrvoWindowController::OrvoWindowController(QObject* parent) : WindowController(parent) {
    if (QMainWindow* w = window())
        w->setWindowTitle(QStringLiteral("Kavrin Player"));
}

void OrvoWindowController::windowDidLoad() {}

bool OrvoWindowController::windowShouldClose() {
    // Closing the one window ends the application.
    QCoreApplication::quit();
    return true;
}

bool OrvoWindowController::swapContent(const char* identifier, std::uint8_t transition) {
    ViewController* next = Storyboard::named(QString::fromLatin1(StoryboardName::kMain))
                               .instantiateController(QString::fromLatin1(identifier));
    windowTransition = transition;
    if (!next) {
        qCWarning(platform::lcPlayer, "OrvoWindowController: the storyboard has no \"%s\"", identifier);
        return false;
    }
    setContentViewController(nullptr);
    setContentViewController(next);
    return true;
}

void OrvoWindowController::windowWillEnterFullScreen() {
    // Entered again before the earlier frame came back: the window's present size is still
    // the screen's, and the frame to come back to stays the one from before.
    if (!m_frameRestorePending)
        m_previousWindowFrame = window() ? std::optional<QRect>(frame()) : std::nullopt;
    m_frameRestorePending = false;
    ++m_frameRestoreRequest;
    // The window player's full-screen logo covers it while the window grows.
    if (ViewController* content = contentViewController()) {
        if (content->storyboardIdentifier() == QLatin1String(ControllerIdentifier::kOrvoViewController)) {
            if (QWidget* logo = content->findChild<QWidget*>(QStringLiteral("logoFullScreenView")))
                logo->show();
        }
    }
    swapContent(ControllerIdentifier::kMainViewController, 2);
}

void OrvoWindowController::windowWillExitFullScreen() {
    printLine("windowWillExitFullScreen");
    swapContent(ControllerIdentifier::kOrvoViewController, 0);
    m_frameRestorePending = true;
    const quint64 request = ++m_frameRestoreRequest;
    mainQueueAfter(kFrameRestoreDelay, this, [this, request] {
        if (request != m_frameRestoreRequest)
            return;
        m_frameRestorePending = false;
        if (m_previousWindowFrame && window())
            setFrame(*m_previousWindowFrame, true);
    });
}

void OrvoWindowController::windowDidEndLiveResize() {
    printLine("windowDidEndLiveResize");
    NotificationCenter::defaultCenter().post(QString::fromLatin1(NotificationName::kWindowDidEndLiveResize));
}

void OrvoWindowController::windowDidMiniaturize() {
    printLine("윈도우가 최소화되었습니다.");
    windowTransition = 1;
}

void OrvoWindowController::windowDidDeminiaturize() {
    printLine("윈도우가 복원되었습니다.");
    windowTransition = 3;
}
