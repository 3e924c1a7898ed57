#include "controls/CustomButton.h"

#include "controls/ViewLayer.h"
#include "platform/ui/Assets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

CustomButton::CustomButton(QWidget* parent) : QPushButton(parent) {
    ViewLayer::setPaintsOwnLayer(this);
    setFocusPolicy(Qt::NoFocus);
}

void CustomButton::setIsActivated(bool activated) {
    if (m_isActivated == activated)
        return;
    m_isActivated = activated;
    update();
}

void CustomButton::setImageName(const QString& name) {
    if (m_imageName == name)
        return;
    m_imageName = name;
    update();
}

void CustomButton::mousePressEvent(QMouseEvent* event) {
    if (!m_isActivated) {
        event->accept(); // the click is dropped
        return;
    }
    QPushButton::mousePressEvent(event);
}

void CustomButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!m_isActivated) {
        event->accept();
        return;
    }
    QPushButton::mouseDoubleClickEvent(event);
}

void CustomButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(rect());
    ViewLayer::paint(painter, this, frame);

    if (!m_imageName.isEmpty()) {
        const QPixmap image = Assets::image(m_imageName, size(), devicePixelRatioF());
        if (!image.isNull()) {
            const QSizeF shown = image.deviceIndependentSize();
            const QRectF target(frame.center().x() - shown.width() / 2.0,
                                frame.center().y() - shown.height() / 2.0, shown.width(), shown.height());
            painter.drawPixmap(target, image, QRectF(image.rect()));
        } else if (!ViewLayer::backgroundColor(this).isValid()) {
            // No picture yet: a neutral outline keeps the button visible.
            painter.setPen(QColor(0x5d, 0x5d, 0x5d));
            painter.setBrush(QColor(0x3b, 0x3b, 0x3b));
            painter.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        }
    } else if (!ViewLayer::backgroundColor(this).isValid()) {
        // Without image or layer the platform draws the bezel.
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    }

    if (isDown())
        painter.fillRect(frame, QColor(0, 0, 0, 60));

    if (!text().isEmpty()) {
        QColor color = palette().color(QPalette::ButtonText);
        if (!m_isActivated || !isEnabled())
            color = QColor(0x8a, 0x8a, 0x8a);
        painter.setPen(color);
        painter.setFont(font());
        painter.drawText(frame, Qt::AlignCenter, text());
    }
}
