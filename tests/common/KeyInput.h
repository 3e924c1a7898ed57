#pragma once

// Keys through the window-system entry point, as a person's reach the application: to a window,
// which tries its shortcuts first and then hands the key to its focus widget (or an open pop-up).

#include <QGuiApplication>
#include <QString>
#include <QWidget>
#include <QWindow>

// Exported by QtGui for its test library.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers mods,
                                    const QString& text, bool autorep, ushort count);

namespace keyboard {

inline void type(QWindow* window, int key, const QString& text = {},
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (!window)
        return;
    qt_handleKeyEvent(window, QEvent::KeyPress, key, modifiers, text, false, 1);
    qt_handleKeyEvent(window, QEvent::KeyRelease, key, modifiers, text, false, 1);
}

inline void type(QWidget* widget, int key, const QString& text = {},
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    type(widget ? widget->window()->windowHandle() : nullptr, key, text, modifiers);
}

// To the window that has the keyboard now, as a key pressed on the keyboard goes.
inline void press(int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    type(QGuiApplication::focusWindow(), key, text, modifiers);
}

} // namespace keyboard
