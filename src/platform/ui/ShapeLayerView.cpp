#include "platform/ui/ShapeLayerView.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QTransform>

ShapeLayerView::ShapeLayerView(QWidget* parent) : QWidget(parent) {}

void ShapeLayerView::addSublayer(const ShapeLayer* layer) {
    if (!layer)
        return;
    m_sublayers.removeAll(layer);
    m_sublayers.append(layer);
    layersChanged();
}

void ShapeLayerView::removeAllSublayers() {
    if (m_sublayers.isEmpty())
        return;
    m_sublayers.clear();
    layersChanged();
}

void ShapeLayerView::layersChanged() {
    // Inside a draw the layers are painted right after; asking for another
    // draw there would draw for ever.
    if (!m_drawing)
        update();
}

void ShapeLayerView::drawRect(const QRectF&) {}

void ShapeLayerView::paintEvent(QPaintEvent* event) {
    const QRect dirty = event->rect();
    // The dirty rectangle in unflipped coordinates.
    const QRectF unflipped(dirty.x(), height() - dirty.y() - dirty.height(), dirty.width(), dirty.height());
    m_drawing = true;
    drawRect(unflipped);
    m_drawing = false;

    QPainter painter(this);
    painter.setClipRect(dirty);
    painter.setTransform(ShapeLayer::unflippedTransform(height()));
    for (const ShapeLayer* layer : std::as_const(m_sublayers))
        layer->draw(painter);
}

QImage ShapeLayerView::renderImage() {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}
