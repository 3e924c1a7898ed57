#include "platform/ui/WindowList.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

QList<QWidget*> WindowList::windowsNamed(const QString& title) {
    QList<QWidget*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isWindow() && widget->isVisible() && widget->windowTitle() == title)
            found.append(widget);
    }
    return found;
}

std::optional<QImage> WindowList::createImage(QWidget* window) {
    if (!window || window->width() <= 0 || window->height() <= 0)
        return std::nullopt;
    // A grab draws every child as it shows: video views from their last picture, GL and
    // web views read back from their textures.
    QImage image = window->grab().toImage();
    if (image.isNull())
        return std::nullopt;
    if (image.size() != window->size())
        image = image.scaled(window->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(1.0);
    return image;
}
