#include "controls/ImageButtonCell.h"

#include "controls/ViewLayer.h"
#include "platform/ui/Assets.h"

#include <QPainter>

ImageButtonCell::ImageButtonCell(QWidget* parent) : QPushButton(parent) {
    ViewLayer::setPaintsOwnLayer(this);
    setFocusPolicy(Qt::NoFocus);
    setFlat(true);
}

void ImageButtonCell::setImageName(const QString& name) {
    m_imageName = name;
    m_image = QPixmap();
    update();
}

void ImageButtonCell::setImage(const QPixmap& image) {
    m_image = image;
    m_imageName.clear();
    update();
}

QPixmap ImageButtonCell::image() const {
    if (!m_image.isNull() || m_imageName.isEmpty())
        return m_image;
    const QSize size = imageRect(QRectF(rect())).size().toSize();
    return Assets::image(m_imageName, size.isEmpty() ? QSize() : size, devicePixelRatioF());
}

void ImageButtonCell::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF frame(rect());

    QColor background = cellBackgroundColor();
    if (ViewLayer::backgroundColor(this).isValid())
        ViewLayer::paint(painter, this, frame);
    else if (background.isValid())
        painter.fillRect(frame, background);
    if (isDown() || isChecked())
        painter.fillRect(frame, QColor(255, 255, 255, 28));

    const QRectF target = imageRect(frame);
    const QPixmap picture = image();
    if (!isEnabled())
        painter.setOpacity(0.35);
    if (!picture.isNull()) {
        // Keep the picture's proportions inside its place.
        QSizeF shown = picture.deviceIndependentSize();
        shown.scale(target.size(), Qt::KeepAspectRatio);
        const QRectF placed(target.center().x() - shown.width() / 2.0,
                            target.center().y() - shown.height() / 2.0, shown.width(), shown.height());
        if (isDown())
            painter.setOpacity(painter.opacity() * 0.7);
        painter.drawPixmap(placed, picture, QRectF(picture.rect()));
    } else if (!text().isEmpty()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(frame, Qt::AlignCenter, text());
    } else {
        // The picture is missing: mark its place.
        painter.setPen(QPen(QColor(0x76, 0x76, 0x76), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(target.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
}
