#include "player/dataviews/OrvoLineChartView.h"

#include "controls/ViewLayer.h"
#include "platform/ui/Assets.h"
#include "player/dataviews/ChartGeometry.h"

#include "platform/system/LogCategories.h"
#include <cstdio>

OrvoLineChartView::OrvoLineChartView(QWidget* parent) : ShapeLayerView(parent) {
    ViewLayer::setPaintsOwnLayer(this);
    ViewLayer::setWantsLayer(this, true);
}

void OrvoLineChartView::drawSheet(const QRectF& rect) {
    applyLayer(ChartGeometry::sheetPath(rect), Assets::color(QString::fromLatin1(AssetName::kChartSheet)), 3);
}

void OrvoLineChartView::applyLayer(const QPainterPath& path, const QColor& color, int kind) {
    ShapeLayer* layer = nullptr;
    switch (kind) {
    case 0:
        layer = &xLayer;
        break;
    case 1:
        layer = &yLayer;
        break;
    case 2:
        layer = &zLayer;
        break;
    case 3:
        layer = &sheetLayer;
        break;
    default:
        return;
    }
    layer->path = path;
    layer->strokeColor = color;
    layer->fillColor = color;
    layer->lineWidth = 1.0;
    addSublayer(layer);
}

void OrvoLineChartView::drawChart(const QRectF& rect) {
    if (orvoPacket) {
        drawSheet(rect);
        const std::array<QPainterPath, 3> paths = ChartGeometry::gsensorPaths(orvoPacket->packet, rect);
        applyLayer(paths[0], Assets::color(QString::fromLatin1(AssetName::kGraphX)), 0);
        applyLayer(paths[1], Assets::color(QString::fromLatin1(AssetName::kGraphY)), 1);
        applyLayer(paths[2], Assets::color(QString::fromLatin1(AssetName::kGraphZ)), 2);
        return;
    }
    platform::logLine(platform::lcPlayer(), "OrvoLineChartView::deleteChart");
    removeAllSublayers();
    orvoPacket.reset();
    drawSheet(rect);
}

void OrvoLineChartView::drawRect(const QRectF&) {
    if (ViewLayer::backgroundColor(this).isValid())
        ViewLayer::setBackgroundColor(this, Qt::transparent, false);
    drawChart(QRectF(rect()));
}
