#pragma once

#include "platform/ui/ShapeLayer.h"

#include <QImage>
#include <QList>
#include <QWidget>

// A layer-backed view whose content is a list of shape layers (its
// sublayers), painted in order over its background in unflipped coordinates
// (y growing upwards from the bottom edge).
//
// Each draw first calls drawRect(), where a subclass may update its layers;
// a change of the layers outside a draw schedules one.
class ShapeLayerView : public QWidget {
    Q_OBJECT

public:
    explicit ShapeLayerView(QWidget* parent = nullptr);

    // The layers shown, in drawing order.
    const QList<const ShapeLayer*>& sublayers() const { return m_sublayers; }
    // Shows `layer` above the others (moving it to the top when it is shown
    // already). The layer must live as long as the view shows it.
    void addSublayer(const ShapeLayer* layer);
    // Detaches every layer.
    void removeAllSublayers();
    // Call after changing a layer that is shown.
    void layersChanged();

    // The view's picture: background and layers, as a draw paints them.
    QImage renderImage();

protected:
    // The view's own drawing, before its layers are painted; `dirtyRect` is
    // the part to draw, in unflipped coordinates.
    virtual void drawRect(const QRectF& dirtyRect);
    void paintEvent(QPaintEvent* event) override;

private:
    QList<const ShapeLayer*> m_sublayers;
    bool m_drawing = false;
};
