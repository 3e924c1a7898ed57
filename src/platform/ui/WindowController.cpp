#include "platform/ui/WindowController.h"

#include "platform/ui/ViewController.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace {
constexpr char kControllerProperty[] = "kavrinWindowController";
}

WindowController::WindowController(QObject* parent) : QObject(parent), m_window(new QMainWindow) {
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    m_window->setProperty(kControllerProperty, QVariant::fromValue<QObject*>(this));
    m_window->installEventFilter(this);

    // The full-screen toggle: F11 everywhere (the desktop's own binding is not
    // F11 under every theme), and Escape leaves full screen as desktops do.
    auto* fullScreen = new QAction(m_window);
    QList<QKeySequence> keys{QKeySequence(Qt::Key_F11)};
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::FullScreen))
        if (!keys.contains(key))
            keys.append(key);
    fullScreen->setShortcuts(keys);
    fullScreen->setShortcutContext(Qt::WindowShortcut);
    connect(fullScreen, &QAction::triggered, this, &WindowController::toggleFullScreen);
    m_window->addAction(fullScreen);
    auto* leaveFullScreen = new QAction(m_window);
    m_leaveFullScreen = leaveFullScreen;
    leaveFullScreen->setEnabled(false);
    leaveFullScreen->setShortcut(QKeySequence(Qt::Key_Escape));
    leaveFullScreen->setShortcutContext(Qt::WindowShortcut);
    connect(leaveFullScreen, &QAction::triggered, this, [this] {
        if (m_fullScreen)
            toggleFullScreen();
    });
    m_window->addAction(leaveFullScreen);

    m_liveResizeTimer.setSingleShot(true);
    m_liveResizeTimer.setInterval(kLiveResizeSettleMs);
    connect(&m_liveResizeTimer, &QTimer::timeout, this, [this] { windowDidEndLiveResize(); });
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(kStateReportWindowMs);
    connect(&m_settleTimer, &QTimer::timeout, this, &WindowController::settleWindowState);
}

WindowController::~WindowController() {
    // The content goes first, while the window still holds it.
    if (m_content) {
        m_content->endAppearance();
        delete m_content;
    }
    if (m_window) {
        m_window->removeEventFilter(this);
        delete m_window;
    }
}

QMainWindow* WindowController::window() const {
    return m_window;
}

WindowController* WindowController::controllerOf(const QWidget* widget) {
    if (!widget)
        return nullptr;
    const QWidget* window = widget->window();
    return qobject_cast<WindowController*>(window->property(kControllerProperty).value<QObject*>());
}

void WindowController::loadWindow() {
    if (m_loaded)
        return;
    m_loaded = true;
    windowDidLoad();
}

void WindowController::showWindow() {
    loadWindow();
    if (!m_window)
        return;
    if (!std::exchange(m_placed, true))
        placeOnScreen();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void WindowController::placeOnScreen() {
    const QScreen* screen = m_window ? m_window->screen() : nullptr;
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The frame the desktop draws around the window, where it is known before the window shows.
    m_window->createWinId();
    const QSize margins = m_window->frameGeometry().size() - m_window->geometry().size();
    QSize size = m_window->testAttribute(Qt::WA_Resized) ? m_window->size() : m_window->sizeHint();
    size = size.boundedTo(area.size() - margins).expandedTo(m_window->minimumSize());
    m_window->resize(size);
    // A window larger than the area (its minimum does not allow less) keeps its top left on it.
    const QSize outer = size + margins;
    m_window->move(area.left() + std::max(0, (area.width() - outer.width()) / 2),
                   area.top() + std::max(0, (area.height() - outer.height()) / 2));
}

void WindowController::setContentViewController(ViewController* controller) {
    if (controller == m_content)
        return;
    if (m_content) {
        ViewController* old = m_content;
        old->endAppearance();
        if (m_window && m_window->centralWidget() == old)
            m_window->takeCentralWidget();
        old->hide();
        old->setParent(nullptr);
        old->deleteLater();
        m_content = nullptr;
    }
    if (!controller)
        return;
    m_content = controller;
    controller->loadViewIfNeeded();
    if (!m_window)
        return;
    m_window->setCentralWidget(controller);
    if (m_window->isVisible() && !m_miniaturized)
        controller->show();
}

ViewController* WindowController::contentViewController() const {
    return m_content;
}

bool WindowController::isFullScreen() const {
    return m_window && m_fullScreen;
}

bool WindowController::isMiniaturized() const {
    return m_miniaturized;
}

void WindowController::toggleFullScreen() {
    if (!m_window || m_inFullScreenTransition)
        return;
    transitionFullScreen(!m_fullScreen, true);
}

void WindowController::transitionFullScreen(bool enter, bool changeWindow) {
    m_inFullScreenTransition = true;
    // Escape is the window's own key outside full screen.
    if (m_leaveFullScreen)
        m_leaveFullScreen->setEnabled(enter);
    m_liveResizeTimer.stop();
    if (!enter) {
        m_fullScreen = false;
        windowWillExitFullScreen();
        if (m_window && changeWindow)
            m_window->showNormal();
        windowDidExitFullScreen();
    } else {
        m_fullScreen = true;
        windowWillEnterFullScreen();
        if (m_window) {
            if (changeWindow)
                m_window->showFullScreen();
            // Without a window manager nothing resizes the window: it covers its screen itself.
            if (QScreen* screen = m_window->screen(); screen && m_window->geometry() != screen->geometry())
                setFrame(screen->geometry(), false);
        }
        windowDidEnterFullScreen();
    }
    if (changeWindow)
        m_ownStateChange.start();
    m_inFullScreenTransition = false;
}

void WindowController::settleWindowState() {
    if (!m_window || m_miniaturized || m_inFullScreenTransition)
        return;
    if (m_window->windowState().testFlag(Qt::WindowFullScreen) == m_fullScreen)
        return;
    // A report of an earlier request came last: ask for the state in force once more.
    m_inFullScreenTransition = true;
    if (m_fullScreen)
        m_window->showFullScreen();
    else
        m_window->showNormal();
    m_ownStateChange.start();
    m_inFullScreenTransition = false;
}

QRect WindowController::frame() const {
    return m_window ? m_window->geometry() : QRect();
}

void WindowController::setFrame(const QRect& frame, bool display) {
    if (!m_window || !frame.isValid())
        return;
    const Qt::WindowStates state = m_window->windowState();
    m_window->setGeometry(frame);
    // Moving a window drops its full-screen state silently; the next request to leave full
    // screen would then change nothing.
    if (m_fullScreen && state.testFlag(Qt::WindowFullScreen) &&
        !m_window->windowState().testFlag(Qt::WindowFullScreen)) {
        const bool inTransition = m_inFullScreenTransition;
        m_inFullScreenTransition = true;
        m_window->setWindowState(m_window->windowState() | Qt::WindowFullScreen);
        m_inFullScreenTransition = inTransition;
    }
    if (display)
        m_window->repaint();
}

bool WindowController::eventFilter(QObject* watched, QEvent* event) {
    // Only these events matter; the others also arrive while the window is being
    // destroyed, when it must not be looked at as a window any more.
    const QEvent::Type type = event->type();
    if (type != QEvent::Close && type != QEvent::Resize && type != QEvent::WindowStateChange)
        return QObject::eventFilter(watched, event);
    if (watched != m_window)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Close:
        if (!windowShouldClose()) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::Resize:
        if (m_window->isVisible() && !m_inFullScreenTransition && !m_fullScreen && !m_miniaturized)
            m_liveResizeTimer.start();
        break;
    case QEvent::WindowStateChange:
        handleWindowStateChange(event->spontaneous());
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void WindowController::handleWindowStateChange(bool reported) {
    const Qt::WindowStates state = m_window->windowState();

    // Full screen entered or left by the desktop itself (its title-bar button
    // or shortcut) goes through the same transition as the toggle.
    const bool fullScreen = state.testFlag(Qt::WindowFullScreen);
    // Reports of our own requests may come after a later request was made (full screen
    // toggled again at once): such a report is no change made by the desktop.
    if (reported && !m_inFullScreenTransition && fullScreen != m_fullScreen && m_ownStateChange.isValid() &&
        m_ownStateChange.elapsed() < kStateReportWindowMs) {
        m_settleTimer.start();
    } else if (!m_inFullScreenTransition && fullScreen != m_fullScreen &&
               !state.testFlag(Qt::WindowMinimized)) {
        QPointer<QMainWindow> guard(m_window);
        transitionFullScreen(fullScreen, false);
        if (!guard)
            return;
    }

    const bool minimized = state.testFlag(Qt::WindowMinimized);
    if (minimized && !m_miniaturized) {
        m_miniaturized = true;
        m_liveResizeTimer.stop();
        if (m_content)
            m_content->endAppearance();
        windowDidMiniaturize();
    } else if (!minimized && m_miniaturized) {
        m_miniaturized = false;
        windowDidDeminiaturize();
        if (m_content && m_window && m_window->isVisible()) {
            m_content->show();
            m_content->beginAppearance();
        }
    }
}

// A view controller knows its window controller through the window it sits in.
WindowController* ViewController::windowController() const {
    return WindowController::controllerOf(this);
}
