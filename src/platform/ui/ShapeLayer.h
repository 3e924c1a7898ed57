#pragma once

#include <QColor>
#include <QPainterPath>
#include <QTransform>

class QPainter;

// A shape layer: one path drawn with a stroke colour, a fill colour and a line
// width. A view that draws with shape layers keeps them as its sublayers and
// paints them in order, in the view's own unflipped coordinates (y growing
// upwards from the bottom edge).
class ShapeLayer {
public:
    QPainterPath path;
    QColor strokeColor;
    QColor fillColor;
    qreal lineWidth = 1.0;

    // Paints the layer; `painter` must already map the view's unflipped
    // coordinates (see unflippedTransform).
    void draw(QPainter& painter) const;

    // The transform from unflipped coordinates of a view `height` high to the
    // widget's own coordinates (y growing downwards).
    static QTransform unflippedTransform(qreal height);
};
