#include "controls/OrvoPopupBtnCell.h"

#include <QImage>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

OrvoPopupBtnCell::OrvoPopupBtnCell(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void OrvoPopupBtnCell::applyFalseColor(QImage& image) {
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            // Rec. 709 luminance; premultiplied grey stays premultiplied.
            const int l =
                qBound(0, qRound(0.2126 * qRed(p) + 0.7152 * qGreen(p) + 0.0722 * qBlue(p)), qAlpha(p));
            line[x] = qRgba(l, l, l, qAlpha(p));
        }
    }
}

void OrvoPopupBtnCell::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    QImage content((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    content.setDevicePixelRatio(ratio);
    content.fill(Qt::transparent);
    {
        QStylePainter painter(&content, this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
    applyFalseColor(content);
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), content);
    // The greyed picture loses the style's coloured focus frame: the focus is drawn over it.
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 2.0, 2.0);
    }
}
