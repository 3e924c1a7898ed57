#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <optional>

class QWidget;

// The windows of this process as a window server lists them, and their pictures.
class WindowList {
public:
    // The shown top-level windows whose title is exactly `title`, in the order the
    // application holds them.
    static QList<QWidget*> windowsNamed(const QString& title);

    // What `window` shows, its content without the frame the window manager draws, at its
    // nominal (device-independent) size, so that a high-density screen gives the same
    // picture. None when the window cannot be drawn.
    static std::optional<QImage> createImage(QWidget* window);
};
