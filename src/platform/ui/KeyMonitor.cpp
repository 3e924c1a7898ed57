#include "platform/ui/KeyMonitor.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>
#include <QWindow>

#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

struct Monitor {
    KeyMonitor::Token token = 0;
    KeyMonitor::Handler handler;
    bool removed = false;
};

QWidget* widgetOfWindow(QObject* window) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() == window)
            return widget;
    }
    return nullptr;
}

// Watches the key presses that reach the application's windows. Each key
// press reaches its QWindow once before it is handed to the focused widget
// (and possibly its parents), so it is looked at there only.
class KeyFilter : public QObject {
public:
    std::vector<std::shared_ptr<Monitor>> monitors;
    KeyMonitor::Token nextToken = 1;
    bool popupKey = false; // the key being delivered was pressed while a pop-up was open

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            // A key pressed while a menu or pop-up is open is theirs, also when the pop-up
            // closes on it (a drop-down list on Escape) before the window's shortcuts and the
            // monitors would see the key: no shortcut takes it and no monitor sees it.
            if (QApplication::activePopupWidget()) {
                event->accept();
                // The press follows in the same delivery; the mark goes with it.
                popupKey = true;
                QMetaObject::invokeMethod(
                    this, [this] { popupKey = false; }, Qt::QueuedConnection);
            }
            return false;
        }
        if (event->type() != QEvent::KeyPress || !watched->isWindowType())
            return false;
        // Text entry and open menus have the keys to themselves.
        if (std::exchange(popupKey, false) || monitors.empty() || KeyMonitor::keysBelongToFocusOrPopup())
            return false;
        const KeyEvent keyEvent =
            KeyMonitor::keyEventFrom(*static_cast<QKeyEvent*>(event), widgetOfWindow(watched));
        const std::vector<std::shared_ptr<Monitor>> snapshot = monitors;
        for (const std::shared_ptr<Monitor>& monitor : snapshot) {
            if (monitor->removed || !monitor->handler)
                continue;
            const KeyMonitor::Handler handler = monitor->handler;
            if (handler(keyEvent))
                return true;
        }
        return false;
    }
};

KeyFilter* keyFilter() {
    static KeyFilter* filter = nullptr;
    if (!filter && QCoreApplication::instance()) {
        filter = new KeyFilter;
        filter->setParent(QCoreApplication::instance());
        QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] { filter = nullptr; });
        QCoreApplication::instance()->installEventFilter(filter);
    }
    return filter;
}

} // namespace

KeyMonitor::Token KeyMonitor::addLocalMonitorForKeyDown(Handler handler) {
    KeyFilter* filter = keyFilter();
    if (!filter || !handler)
        return 0;
    auto monitor = std::make_shared<Monitor>();
    monitor->token = filter->nextToken++;
    monitor->handler = std::move(handler);
    filter->monitors.push_back(monitor);
    return monitor->token;
}

void KeyMonitor::removeMonitor(Token token) {
    KeyFilter* filter = keyFilter();
    if (!filter || token == 0)
        return;
    std::erase_if(filter->monitors, [token](const std::shared_ptr<Monitor>& monitor) {
        if (monitor->token != token)
            return false;
        monitor->removed = true;
        return true;
    });
}

bool KeyMonitor::takesText(const QWidget* widget) {
    if (!widget)
        return false;
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return !edit->isReadOnly();
    if (const auto* edit = qobject_cast<const QTextEdit*>(widget))
        return !edit->isReadOnly();
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(widget))
        return !edit->isReadOnly();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget))
        return !spin->isReadOnly();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->isEditable();
    return qobject_cast<const QKeySequenceEdit*>(widget) != nullptr;
}

bool KeyMonitor::keysBelongToFocusOrPopup() {
    return QApplication::activePopupWidget() != nullptr || takesText(QApplication::focusWidget());
}

int KeyMonitor::monitorCount() {
    KeyFilter* filter = keyFilter();
    return filter ? static_cast<int>(filter->monitors.size()) : 0;
}

KeyEvent KeyMonitor::keyEventFrom(const QKeyEvent& event, QWidget* window) {
    KeyEvent keyEvent;
    keyEvent.keyCode = virtualKeyCode(event);
    keyEvent.modifierFlags = modifierFlagsFrom(event);
    keyEvent.characters = event.text();
    if (keyEvent.characters.isEmpty() && (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter))
        keyEvent.characters = QStringLiteral("\r");
    keyEvent.isARepeat = event.isAutoRepeat();
    keyEvent.window = window;
    return keyEvent;
}

std::uint64_t KeyMonitor::modifierFlagsFrom(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    std::uint64_t flags = 0;
    if (modifiers.testFlag(Qt::ShiftModifier))
        flags |= KeyModifier::kShift;
    if (modifiers.testFlag(Qt::ControlModifier))
        flags |= KeyModifier::kCommand;
    if (modifiers.testFlag(Qt::MetaModifier))
        flags |= KeyModifier::kControl;
    if (modifiers.testFlag(Qt::AltModifier))
        flags |= KeyModifier::kOption;
    if (modifiers.testFlag(Qt::KeypadModifier))
        flags |= KeyModifier::kNumericPad;
    switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // Arrow keys carry the numeric-pad and function flags on the original platform.
        flags |= KeyModifier::kNumericPad | KeyModifier::kFunction;
        break;
    case Qt::Key_Delete:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Help:
        flags |= KeyModifier::kFunction;
        break;
    default:
        if (event.key() >= Qt::Key_F1 && event.key() <= Qt::Key_F35)
            flags |= KeyModifier::kFunction;
    }
    return flags;
}

std::uint16_t KeyMonitor::virtualKeyCode(const QKeyEvent& event) {
    // X11 and Wayland key codes are evdev codes plus 8.
    const quint32 scanCode = event.nativeScanCode();
    if (scanCode > 8) {
        const std::uint16_t code = virtualKeyCodeFromEvdev(scanCode - 8);
        if (code != KeyCode::kUnknown)
            return code;
    }
    return virtualKeyCodeFromQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

std::uint16_t KeyMonitor::virtualKeyCodeFromEvdev(unsigned evdevCode) {
    // evdev code -> US-layout virtual key code.
    static const std::unordered_map<unsigned, std::uint16_t> table = {
        {1, 53},    {2, 18},    {3, 19},    {4, 20},    {5, 21},    {6, 23},    {7, 22},    {8, 26},
        {9, 28},    {10, 25},   {11, 29},   {12, 27},   {13, 24},   {14, 51},   {15, 48},   {16, 12},
        {17, 13},   {18, 14},   {19, 15},   {20, 17},   {21, 16},   {22, 32},   {23, 34},   {24, 31},
        {25, 35},   {26, 33},   {27, 30},   {28, 36},   {30, 0},    {31, 1},    {32, 2},    {33, 3},
        {34, 5},    {35, 4},    {36, 38},   {37, 40},   {38, 37},   {39, 41},   {40, 39},   {41, 50},
        {43, 42},   {44, 6},    {45, 7},    {46, 8},    {47, 9},    {48, 11},   {49, 45},   {50, 46},
        {51, 43},   {52, 47},   {53, 44},   {55, 67},   {57, 49},   {59, 122},  {60, 120},  {61, 99},
        {62, 118},  {63, 96},   {64, 97},   {65, 98},   {66, 100},  {67, 101},  {68, 109},  {71, 89},
        {72, 91},   {73, 92},   {74, 78},   {75, 86},   {76, 87},   {77, 88},   {78, 69},   {79, 83},
        {80, 84},   {81, 85},   {82, 82},   {83, 65},   {87, 103},  {88, 111},  {96, 76},   {98, 75},
        {102, 115}, {103, 126}, {104, 116}, {105, 123}, {106, 124}, {107, 119}, {108, 125}, {109, 121},
        {111, 117}, {117, 81},  {138, 114},
    };
    const auto it = table.find(evdevCode);
    return it == table.end() ? KeyCode::kUnknown : it->second;
}

std::uint16_t KeyMonitor::virtualKeyCodeFromQtKey(int key, bool keypad) {
    if (keypad) {
        static const std::unordered_map<int, std::uint16_t> pad = {
            {Qt::Key_0, 82},        {Qt::Key_1, 83},     {Qt::Key_2, 84},      {Qt::Key_3, 85},
            {Qt::Key_4, 86},        {Qt::Key_5, 87},     {Qt::Key_6, 88},      {Qt::Key_7, 89},
            {Qt::Key_8, 91},        {Qt::Key_9, 92},     {Qt::Key_Period, 65}, {Qt::Key_Comma, 65},
            {Qt::Key_Asterisk, 67}, {Qt::Key_Plus, 69},  {Qt::Key_Slash, 75},  {Qt::Key_Enter, 76},
            {Qt::Key_Minus, 78},    {Qt::Key_Equal, 81},
        };
        const auto it = pad.find(key);
        if (it != pad.end())
            return it->second;
    }
    static const std::unordered_map<int, std::uint16_t> keys = {
        {Qt::Key_A, 0},
        {Qt::Key_S, 1},
        {Qt::Key_D, 2},
        {Qt::Key_F, 3},
        {Qt::Key_H, 4},
        {Qt::Key_G, 5},
        {Qt::Key_Z, 6},
        {Qt::Key_X, 7},
        {Qt::Key_C, 8},
        {Qt::Key_V, 9},
        {Qt::Key_B, 11},
        {Qt::Key_Q, 12},
        {Qt::Key_W, 13},
        {Qt::Key_E, 14},
        {Qt::Key_R, 15},
        {Qt::Key_Y, 16},
        {Qt::Key_T, 17},
        {Qt::Key_O, 31},
        {Qt::Key_U, 32},
        {Qt::Key_I, 34},
        {Qt::Key_P, 35},
        {Qt::Key_L, 37},
        {Qt::Key_J, 38},
        {Qt::Key_K, 40},
        {Qt::Key_N, 45},
        {Qt::Key_M, 46},
        {Qt::Key_1, 18},
        {Qt::Key_Exclam, 18},
        {Qt::Key_2, 19},
        {Qt::Key_At, 19},
        {Qt::Key_3, 20},
        {Qt::Key_NumberSign, 20},
        {Qt::Key_4, 21},
        {Qt::Key_Dollar, 21},
        {Qt::Key_5, 23},
        {Qt::Key_Percent, 23},
        {Qt::Key_6, 22},
        {Qt::Key_AsciiCircum, 22},
        {Qt::Key_7, 26},
        {Qt::Key_Ampersand, 26},
        {Qt::Key_8, 28},
        {Qt::Key_Asterisk, 28},
        {Qt::Key_9, 25},
        {Qt::Key_ParenLeft, 25},
        {Qt::Key_0, 29},
        {Qt::Key_ParenRight, 29},
        {Qt::Key_Minus, 27},
        {Qt::Key_Underscore, 27},
        {Qt::Key_Equal, 24},
        {Qt::Key_Plus, 24},
        {Qt::Key_BracketRight, 30},
        {Qt::Key_BraceRight, 30},
        {Qt::Key_BracketLeft, 33},
        {Qt::Key_BraceLeft, 33},
        {Qt::Key_Apostrophe, 39},
        {Qt::Key_QuoteDbl, 39},
        {Qt::Key_Semicolon, 41},
        {Qt::Key_Colon, 41},
        {Qt::Key_Backslash, 42},
        {Qt::Key_Bar, 42},
        {Qt::Key_Comma, 43},
        {Qt::Key_Less, 43},
        {Qt::Key_Slash, 44},
        {Qt::Key_Question, 44},
        {Qt::Key_Period, 47},
        {Qt::Key_Greater, 47},
        {Qt::Key_QuoteLeft, 50},
        {Qt::Key_AsciiTilde, 50},
        {Qt::Key_Return, 36},
        {Qt::Key_Enter, 76},
        {Qt::Key_Tab, 48},
        {Qt::Key_Backtab, 48},
        {Qt::Key_Space, 49},
        {Qt::Key_Backspace, 51},
        {Qt::Key_Escape, 53},
        {Qt::Key_Delete, 117},
        {Qt::Key_Home, 115},
        {Qt::Key_End, 119},
        {Qt::Key_PageUp, 116},
        {Qt::Key_PageDown, 121},
        {Qt::Key_Help, 114},
        {Qt::Key_Insert, 114},
        {Qt::Key_Left, 123},
        {Qt::Key_Right, 124},
        {Qt::Key_Down, 125},
        {Qt::Key_Up, 126},
        {Qt::Key_F1, 122},
        {Qt::Key_F2, 120},
        {Qt::Key_F3, 99},
        {Qt::Key_F4, 118},
        {Qt::Key_F5, 96},
        {Qt::Key_F6, 97},
        {Qt::Key_F7, 98},
        {Qt::Key_F8, 100},
        {Qt::Key_F9, 101},
        {Qt::Key_F10, 109},
        {Qt::Key_F11, 103},
        {Qt::Key_F12, 111},
    };
    const auto it = keys.find(key);
    return it == keys.end() ? KeyCode::kUnknown : it->second;
}
