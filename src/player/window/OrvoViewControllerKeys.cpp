// Keyboard control of the window player: a local key-down monitor that
// handles the player's keys while its window is the key window, and the
// controller's own key handling (Command+Return toggles full screen).

#include "player/window/OrvoViewController.h"

#include "controls/VolumeHotKey.h"
#include "controls/VolumeSliderCell.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"

#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/system/LogCategories.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/KeyMonitor.h"
#include "platform/ui/WindowController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// Hands the key presses delivered to a window widget itself to a block.
class WindowKeyFilter : public QObject {
public:
    WindowKeyFilter(QWidget* window, std::function<bool(QKeyEvent*)> block)
        : QObject(window), m_window(window), m_block(std::move(block)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_window || event->type() != QEvent::KeyPress)
            return false;
        return m_block(static_cast<QKeyEvent*>(event));
    }

private:
    QWidget* m_window;
    std::function<bool(QKeyEvent*)> m_block;
};

} // namespace

void OrvoViewController::installKeyMonitor() {
    removeKeyMonitor();
    // The monitor ends with the controller at the latest.
    QPointer<OrvoViewController> self(this);
    hotKeyMonitor = KeyMonitor::addLocalMonitorForKeyDown([self](const KeyEvent& event) {
        if (!self)
            return false;
        // Before the window delivers the key: keys nobody inside takes reach keyDown.
        self->watchWindowKeys();
        return self->handleHotKey(event);
    });
}

void OrvoViewController::watchWindowKeys() {
    QWidget* shownWindow = window();
    if (shownWindow == this) {
        // The controller is the window: keyPressEvent sees the keys.
        delete m_windowKeyFilter;
        return;
    }
    if (m_windowKeyFilter && m_windowKeyFilter->parent() == shownWindow)
        return;
    delete m_windowKeyFilter;
    QPointer<OrvoViewController> self(this);
    m_windowKeyFilter = new WindowKeyFilter(shownWindow, [self, shownWindow](QKeyEvent* event) {
        if (!self)
            return false;
        self->keyDown(KeyMonitor::keyEventFrom(*event, shownWindow));
        return true;
    });
}

void OrvoViewController::removeKeyMonitor() {
    if (hotKeyMonitor == 0)
        return;
    KeyMonitor::removeMonitor(hotKeyMonitor);
    hotKeyMonitor = 0;
    delete m_windowKeyFilter;
}

bool OrvoViewController::handleHotKey(const KeyEvent& event) {
    // Keys act only while this player's window is the key window, so keys
    // typed in a sheet or dialog pass through.
    QWidget* ownWindow = window();
    QWidget* keyWindow = QApplication::activeWindow();
    if (!ownWindow || !keyWindow || ownWindow != keyWindow)
        return false;

    switch (event.keyCode) {
    case KeyCode::k1:
    case KeyCode::k2:
    case KeyCode::k3:
    case KeyCode::k4: {
        const int index = event.keyCode - KeyCode::k1;
        speedIndex = static_cast<std::uint8_t>(index);
        setPlaySpeed(index);
        return true;
    }
    case KeyCode::kRightBracket:
        if (zoomIndex < 3) {
            ++zoomIndex;
            setZoom(zoomIndex);
        }
        return true;
    case KeyCode::kLeftBracket:
        if (zoomIndex > 0) {
            --zoomIndex;
            setZoom(zoomIndex);
        }
        return true;
    case KeyCode::kComma:
    case KeyCode::kPeriod:
        queueRecordingStep(event.keyCode == KeyCode::kPeriod ? 1 : -1);
        return true;
    case KeyCode::kLeftArrow:
    case KeyCode::kRightArrow:
        seekWithHotKey(event.keyCode);
        return true;
    case KeyCode::kSpace:
        playPause();
        return true;
    case KeyCode::kForwardDelete:
        deleteSelectedRecording();
        return true;
    case KeyCode::kDownArrow:
        changeVolumeWithHotKey(false);
        return true;
    case KeyCode::kUpArrow:
        changeVolumeWithHotKey(true);
        return true;
    default:
        return false;
    }
}

void OrvoViewController::keyPressEvent(QKeyEvent* event) {
    // Escape in the search field gives the keys back to the player (keys a field does not use
    // itself come here).
    if (event->key() == Qt::Key_Escape && orvoSearchField && orvoSearchField->hasFocus()) {
        setFocus(Qt::OtherFocusReason);
        event->accept();
        return;
    }
    keyDown(KeyMonitor::keyEventFrom(*event, window()));
    // The event goes no further.
    event->accept();
}

void OrvoViewController::keyDown(const KeyEvent& event) {
    // Command held, and none of Caps Lock, Shift, Control, Option, keypad, help or function.
    const bool commandOnly = (event.modifierFlags & ~KeyModifier::kCommand) < KeyModifier::kCapsLock &&
                             (event.modifierFlags & KeyModifier::kCommand) != 0;
    if (commandOnly && event.characters == QStringLiteral("\r")) {
        platform::logLine(platform::lcPlayer(), "command-enter");
        if (WindowController* controller = WindowController::controllerOf(this))
            controller->toggleFullScreen();
        return;
    }
    qCInfo(platform::lcPlayer, "%u", static_cast<unsigned>(event.keyCode));
}

void OrvoViewController::seekWithHotKey(std::uint16_t keyCode) {
    if (!currentRecording || !orvoPlayer || !orvoPlayer->currentItem())
        return;
    switch (keyCode) {
    case KeyCode::kComma:
        playPrev();
        return;
    case KeyCode::kPeriod:
        playNext();
        return;
    case KeyCode::kLeftArrow:
        seekBySeconds(-10.0);
        return;
    case KeyCode::kRightArrow:
        seekBySeconds(10.0);
        return;
    default:
        qCInfo(platform::lcPlayer, "seekWithHotKey - %u", static_cast<unsigned>(keyCode));
        return;
    }
}

void OrvoViewController::queueRecordingStep(int step) {
    m_pendingSteps += step;
    // Taken once the presses have paused for a moment: quick presses (and those that queued
    // up while a load held the main thread) load only the recording where they end.
    if (!m_stepTimer) {
        m_stepTimer = new QTimer(this);
        m_stepTimer->setSingleShot(true);
        m_stepTimer->setInterval(kStepSettleMs);
        connect(m_stepTimer, &QTimer::timeout, this, [this] { takeRecordingSteps(); });
    }
    m_stepTimer->start();
}

void OrvoViewController::takeRecordingSteps() {
    const int steps = m_pendingSteps;
    m_pendingSteps = 0;
    if (steps == 0 || !currentRecording || !orvoPlayer || !orvoPlayer->currentItem())
        return;
    if (steps == 1 || steps == -1)
        seekWithHotKey(steps > 0 ? KeyCode::kPeriod : KeyCode::kComma);
    else
        stepRecordings(steps);
}

void OrvoViewController::changeVolumeWithHotKey(bool up) {
    ::changeVolumeWithHotKey(orvoPlayer, volumeSlider, volumeText, up);
}
