#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class QKeyEvent;
class QWidget;

// Modifier flags of a key event, one bit each. On this platform the Ctrl key
// is Command (the application's shortcut modifier) and the Super key is Control.
namespace KeyModifier {
inline constexpr std::uint64_t kCapsLock = 1ull << 16;
inline constexpr std::uint64_t kShift = 1ull << 17;
inline constexpr std::uint64_t kControl = 1ull << 18;
inline constexpr std::uint64_t kOption = 1ull << 19;
inline constexpr std::uint64_t kCommand = 1ull << 20;
inline constexpr std::uint64_t kNumericPad = 1ull << 21;
inline constexpr std::uint64_t kHelp = 1ull << 22;
inline constexpr std::uint64_t kFunction = 1ull << 23;
} // namespace KeyModifier

// Virtual key codes: the position of a key on a US keyboard, whatever the
// layout. The ones the players use, and a few neighbours.
namespace KeyCode {
inline constexpr std::uint16_t kReturn = 36;
inline constexpr std::uint16_t kTab = 48;
inline constexpr std::uint16_t kSpace = 49;
inline constexpr std::uint16_t kDelete = 51; // backspace
inline constexpr std::uint16_t kEscape = 53;
inline constexpr std::uint16_t k1 = 18;
inline constexpr std::uint16_t k2 = 19;
inline constexpr std::uint16_t k3 = 20;
inline constexpr std::uint16_t k4 = 21;
inline constexpr std::uint16_t kRightBracket = 30;
inline constexpr std::uint16_t kLeftBracket = 33;
inline constexpr std::uint16_t kComma = 43;
inline constexpr std::uint16_t kPeriod = 47;
inline constexpr std::uint16_t kForwardDelete = 117;
inline constexpr std::uint16_t kLeftArrow = 123;
inline constexpr std::uint16_t kRightArrow = 124;
inline constexpr std::uint16_t kDownArrow = 125;
inline constexpr std::uint16_t kUpArrow = 126;
inline constexpr std::uint16_t kUnknown = 0xFFFF;
} // namespace KeyCode

// One key-down event as the monitors and key handlers see it.
struct KeyEvent {
    std::uint16_t keyCode = KeyCode::kUnknown;
    std::uint64_t modifierFlags = 0;
    QString characters; // the text the key types ("\r" for Return)
    bool isARepeat = false;
    QWidget* window = nullptr; // the top-level window the key went to
};

// Local key-down monitors: handlers that see the keys pressed in the
// application's windows before the focused widget does. A handler answers
// true to swallow the key, false to let it go on. While a widget that takes
// text has the focus, or a menu or pop-up is open, the keys are theirs and
// no monitor sees them. Main thread only.
class KeyMonitor {
public:
    using Handler = std::function<bool(const KeyEvent&)>;
    using Token = std::uint64_t; // 0 is never handed out

    // Adds a monitor; handlers run in the order they were added, until one swallows the key.
    static Token addLocalMonitorForKeyDown(Handler handler);
    // Removes a monitor (also from inside a handler); unknown tokens are ignored.
    static void removeMonitor(Token token);
    static int monitorCount();
    // Whether `widget` takes typed text (an editable line, text, spin box or combo box).
    static bool takesText(const QWidget* widget);
    // Whether keys now go to a text-taking focus widget or an open menu or pop-up.
    static bool keysBelongToFocusOrPopup();

    // The event as monitors see it; `window` may be null.
    static KeyEvent keyEventFrom(const QKeyEvent& event, QWidget* window = nullptr);
    // The US-layout virtual key code of a Qt key event: from the key's
    // position (X/Wayland key code) when known, else from the key it typed;
    // KeyCode::kUnknown for keys without one.
    static std::uint16_t virtualKeyCode(const QKeyEvent& event);
    // The same from an evdev key code (linux/input-event-codes.h).
    static std::uint16_t virtualKeyCodeFromEvdev(unsigned evdevCode);
    // The same from a Qt key, for events without a position.
    static std::uint16_t virtualKeyCodeFromQtKey(int key, bool keypad);
    static std::uint64_t modifierFlagsFrom(const QKeyEvent& event);
};
