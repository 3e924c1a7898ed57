#pragma once

// Mouse input through the window-system entry point, as a person's reaches the
// window: Qt makes double clicks and context-menu events of it.

#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>

// Exported by QtGui for its test library.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace pointer {

inline void send(QWidget* widget, QPoint at, Qt::MouseButton button, QEvent::Type type) {
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    QWidget* top = widget->window();
    const QPointF local = widget->mapTo(top, QPointF(at));
    const Qt::MouseButtons state = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    // Time stamps well past zero: the first press is no double click of an earlier one.
    qt_handleMouseEvent(top->windowHandle(), local, top->mapToGlobal(local), state, button, type,
                        Qt::NoModifier, 100000 + int(clock.elapsed()));
}

inline void click(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    send(widget, at, button, QEvent::MouseButtonPress);
    send(widget, at, button, QEvent::MouseButtonRelease);
}

// The second press of two quick clicks is a double click.
inline void doubleClick(QWidget* widget, QPoint at) {
    click(widget, at);
    click(widget, at);
}

} // namespace pointer
