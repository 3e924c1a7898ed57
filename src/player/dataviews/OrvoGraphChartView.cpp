#include "player/dataviews/OrvoGraphChartView.h"

#include "controls/ViewLayer.h"
#include "platform/ui/Assets.h"
#include "player/dataviews/ChartGeometry.h"

#include "platform/system/LogCategories.h"
#include <cstdio>

OrvoGraphChartView::OrvoGraphChartView(QWidget* parent) : ShapeLayerView(parent) {
    ViewLayer::setPaintsOwnLayer(this);
    ViewLayer::setWantsLayer(this, true);
}

void OrvoGraphChartView::drawSheet(const QRectF& rect) {
    applyLayer(ChartGeometry::sheetPath(rect), Assets::color(QString::fromLatin1(AssetName::kChartSheet)),
               QStringLiteral("Sheet"));
}

void OrvoGraphChartView::applyLayer(const QPainterPath& path, const QColor& color, const QString& kind) {
    ShapeLayer* layer = kind == QLatin1String("Speed") ? &speedLayer : &sheetLayer;
    layer->path = path;
    layer->strokeColor = color;
    layer->fillColor = color;
    layer->lineWidth = 1.0;
    addSublayer(layer);
}

void OrvoGraphChartView::drawChart(const QRectF& rect) {
    platform::logLine(platform::lcPlayer(), "OrvoGraphChartView::drawChart");
    if (orvoPacket) {
        drawSheet(rect);
        applyLayer(ChartGeometry::speedPath(orvoPacket->packet, rect),
                   Assets::color(QString::fromLatin1(AssetName::kGraphZ)), QStringLiteral("Speed"));
        return;
    }
    platform::logLine(platform::lcPlayer(), "nil speedmodel");
    platform::logLine(platform::lcPlayer(), "OrvoGraphChartView::deleteChart");
    removeAllSublayers();
    orvoPacket.reset();
    drawSheet(rect);
}

void OrvoGraphChartView::drawRect(const QRectF&) {
    if (ViewLayer::backgroundColor(this).isValid())
        ViewLayer::setBackgroundColor(this, Qt::transparent, false);
    drawChart(QRectF(rect()));
}
