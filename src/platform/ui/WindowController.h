#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>

class QAction;
class QMainWindow;
class ViewController;

// The controller of one top-level window and the window's delegate: holds
// the window's content controller and reports the window's transitions
// through virtual hooks.
//
// - Full screen: toggleFullScreen() (F11, the desktop's full-screen key, and
//   Escape to leave) calls windowWillEnterFullScreen() before showFullScreen()
//   and windowWillExitFullScreen() before showNormal(). A state change the
//   desktop makes itself (its title-bar button or shortcut) goes through the
//   same hooks; echoes of our own changes agree with the state and pass.
// - End of live resize: windowDidEndLiveResize() 250 ms after the last
//   resize of the visible, non-full-screen window.
// - Miniaturise and restore: the content disappears, then
//   windowDidMiniaturize(); on restore windowDidDeminiaturize(), then the
//   content appears.
// - Closing: windowShouldClose() decides whether the window closes.
class WindowController : public QObject {
    Q_OBJECT

public:
    static constexpr int kLiveResizeSettleMs = 250;
    // How long after a full-screen change of our own a reported window state that disagrees
    // with it is taken for a late report of an earlier request rather than the desktop's doing.
    static constexpr int kStateReportWindowMs = 400;

    explicit WindowController(QObject* parent = nullptr);
    ~WindowController() override;

    // The window; nullptr once it has been destroyed.
    QMainWindow* window() const;
    // The controller of the window that holds `widget`; nullptr when that
    // window has none.
    static WindowController* controllerOf(const QWidget* widget);
    // Calls windowDidLoad() once; the storyboard does it when it makes the controller.
    void loadWindow();
    // Loads and shows the window and brings it to the front. The first time, the window is
    // placed on its screen as placeOnScreen() does.
    void showWindow();
    // Sizes the window to its screen's available area where it is larger (never below the
    // window's minimum size) and centres it on that area.
    void placeOnScreen();

    // Makes `controller` the window's content (taking ownership). The previous
    // content disappears, leaves the window and is deleted later; nullptr
    // leaves the window empty.
    void setContentViewController(ViewController* controller);
    ViewController* contentViewController() const;

    bool isFullScreen() const;
    void toggleFullScreen();
    bool isMiniaturized() const;

    // The window's frame in screen coordinates (an invalid rect without window).
    QRect frame() const;
    // Moves and resizes the window; `display` repaints it at once.
    void setFrame(const QRect& frame, bool display = true);

protected:
    virtual void windowDidLoad() {}
    // Answers whether the window may close; the default allows it.
    virtual bool windowShouldClose() { return true; }
    virtual void windowWillEnterFullScreen() {}
    virtual void windowDidEnterFullScreen() {}
    virtual void windowWillExitFullScreen() {}
    virtual void windowDidExitFullScreen() {}
    virtual void windowDidEndLiveResize() {}
    virtual void windowDidMiniaturize() {}
    virtual void windowDidDeminiaturize() {}

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // `reported`: the platform reports the state (rather than a call on the window itself).
    void handleWindowStateChange(bool reported);
    // Enters or leaves full screen with the will/did hooks around it; the
    // window's own state changes too unless the desktop already changed it.
    void transitionFullScreen(bool enter, bool changeWindow);
    // Brings the window's state back in line with the full-screen state in force.
    void settleWindowState();

    QPointer<QMainWindow> m_window;
    QPointer<ViewController> m_content;
    QTimer m_liveResizeTimer;
    QTimer m_settleTimer;
    QElapsedTimer m_ownStateChange;
    bool m_loaded = false;
    bool m_placed = false;
    bool m_inFullScreenTransition = false;
    QPointer<QAction> m_leaveFullScreen;
    bool m_miniaturized = false;
    bool m_fullScreen = false;
};
