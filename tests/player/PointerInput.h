#pragma once

// Mouse input delivered as the window system delivers it: through the
// application's window-system queue to the window under the pointer, so that
// Qt makes double clicks and context-menu events of it as it does for a person.

#include <QElapsedTimer>
#include <QEvent>
#include <QPoint>
#include <QPointF>
#include <QWidget>
#include <QWindow>

// Exported by QtGui for its own test library; the window-system entry point of a mouse event.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace pointer {

// Milliseconds since the first event: the time stamp a window system gives.
inline int timestamp() {
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    // Starts well past zero, so that the first press is no double click of an earlier one.
    return 100000 + static_cast<int>(clock.elapsed());
}

inline void send(QWidget* widget, QPoint at, Qt::MouseButton button, QEvent::Type type) {
    QWidget* top = widget->window();
    const QPointF local = widget->mapTo(top, QPointF(at));
    const Qt::MouseButtons state = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    qt_handleMouseEvent(top->windowHandle(), local, top->mapToGlobal(local), state, button, type,
                        Qt::NoModifier, timestamp());
}

// A press and a release of `button` at `at` in `widget`.
inline void click(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    send(widget, at, button, QEvent::MouseButtonPress);
    send(widget, at, button, QEvent::MouseButtonRelease);
}

// Two clicks in quick succession: Qt turns the second press into a double click.
inline void doubleClick(QWidget* widget, QPoint at) {
    click(widget, at);
    click(widget, at);
}

} // namespace pointer
