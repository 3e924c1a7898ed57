#pragma once

#include "metadata/orvoPacketModel.h"
#include "platform/ui/ShapeLayerView.h"
#include "player/dataviews/ChartPacket.h"

#include <QColor>
#include <QPainterPath>
#include <QString>

#include <optional>

// The speed chart of the data panel: the speed of the whole recording as one
// line over a grid, 0 km/h at the bottom and 200 km/h at the top. The chart
// repaints with the packets of `orvoPacket` whenever it is set.
class OrvoGraphChartView : public ShapeLayerView {
    Q_OBJECT

public:
    explicit OrvoGraphChartView(QWidget* parent = nullptr);

    ShapeLayer sheetLayer;
    ShapeLayer speedLayer;
    ChartPacket orvoPacket{this};

    // Draws the grid into sheetLayer.
    void drawSheet(const QRectF& rect);
    // Puts `path` into speedLayer for the kind "Speed", into sheetLayer for any
    // other, with `color` as stroke and fill, line width 1, and shows the layer.
    void applyLayer(const QPainterPath& path, const QColor& color, const QString& kind);
    // Draws the whole chart over `rect`; without orvoPacket, clears it to the grid.
    void drawChart(const QRectF& rect);

protected:
    // A clear background, then drawChart over the bounds.
    void drawRect(const QRectF& dirtyRect) override;
};
