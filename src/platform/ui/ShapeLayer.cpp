#include "platform/ui/ShapeLayer.h"

#include <QPainter>
#include <QPen>
#include <QTransform>

void ShapeLayer::draw(QPainter& painter) const {
    if (path.isEmpty())
        return;
    painter.save();
    QPen pen(strokeColor.isValid() ? strokeColor : QColor(Qt::transparent));
    pen.setWidthF(lineWidth);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(lineWidth > 0 && strokeColor.isValid() ? pen : QPen(Qt::NoPen));
    painter.setBrush(fillColor.isValid() ? QBrush(fillColor) : QBrush(Qt::NoBrush));
    painter.drawPath(path);
    painter.restore();
}

QTransform ShapeLayer::unflippedTransform(qreal height) {
    return QTransform(1, 0, 0, -1, 0, height);
}
