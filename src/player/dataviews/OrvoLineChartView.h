#pragma once

#include "metadata/orvoPacketModel.h"
#include "platform/ui/ShapeLayerView.h"
#include "player/dataviews/ChartPacket.h"

#include <QColor>
#include <QPainterPath>

#include <optional>

// The G-sensor chart of the data panel: the x, y and z values of the whole
// recording as three lines over a grid, -2 g at the bottom and +2 g at the top.
// Setting `orvoPacket` repaints the chart with its packets.
class OrvoLineChartView : public ShapeLayerView {
    Q_OBJECT

public:
    explicit OrvoLineChartView(QWidget* parent = nullptr);

    ShapeLayer sheetLayer;
    ShapeLayer xLayer;
    ShapeLayer yLayer;
    ShapeLayer zLayer;
    ChartPacket orvoPacket{this};

    // Draws the grid into sheetLayer.
    void drawSheet(const QRectF& rect);
    // Puts `path` into the layer of `kind` (0 x, 1 y, 2 z, 3 the grid) with
    // `color` as stroke and fill, line width 1, and shows the layer.
    void applyLayer(const QPainterPath& path, const QColor& color, int kind);
    // Draws the whole chart over `rect`; without orvoPacket, clears it to the grid.
    void drawChart(const QRectF& rect);

protected:
    // A clear background, then drawChart over the bounds.
    void drawRect(const QRectF& dirtyRect) override;
};
