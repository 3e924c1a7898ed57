// The G-sensor and speed charts: where their grid and lines fall for known
// samples, which layers they show, and what they look like.

#include "platform/ui/Assets.h"
#include "player/dataviews/ChartGeometry.h"
#include "player/dataviews/OrvoGraphChartView.h"
#include "player/dataviews/OrvoLineChartView.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// One horizontal segment of a chart path.
struct Segment {
    double x0, x1, y;
};

std::vector<Segment> segments(const QPainterPath& path) {
    std::vector<Segment> out;
    for (int i = 0; i + 1 < path.elementCount(); ++i) {
        const QPainterPath::Element from = path.elementAt(i);
        const QPainterPath::Element to = path.elementAt(i + 1);
        if (from.isMoveTo() && to.isLineTo()) {
            EXPECT_DOUBLE_EQ(from.y, to.y) << "segments are horizontal";
            out.push_back({from.x, to.x, from.y});
        }
    }
    return out;
}

OrvoVideoPacket gsensor(std::optional<float> x, std::optional<float> y, std::optional<float> z) {
    OrvoVideoPacket p;
    p.gsensor_x = x;
    p.gsensor_y = y;
    p.gsensor_z = z;
    return p;
}

OrvoVideoPacket speed(std::optional<float> s) {
    OrvoVideoPacket p;
    p.gps_speed = s;
    return p;
}

QString pngPath(const char* name) {
    const QString dir =
        qEnvironmentVariable("KAVRIN_PNG_DIR", QDir::tempPath() + QStringLiteral("/kavrin-png"));
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + QLatin1String(name);
}

} // namespace

TEST(ChartGeometry, SheetHasFiveLinesFromBottomToTopOnWholePixels) {
    const std::vector<Segment> lines = segments(ChartGeometry::sheetPath(QRectF(10, 20, 300, 101)));
    ASSERT_EQ(lines.size(), 5u);
    const double expected[] = {20.5, 45.5, 70.5, 95.5, 120.5};
    for (int k = 0; k < 5; ++k) {
        EXPECT_DOUBLE_EQ(lines[k].x0, 10.0);
        EXPECT_DOUBLE_EQ(lines[k].x1, 310.0);
        EXPECT_DOUBLE_EQ(lines[k].y, expected[k]) << "line " << k;
    }
}

TEST(ChartGeometry, GsensorValuesFallOnTheGridLines) {
    // rect.minY 0, height 100: -2 g bottom, 0 middle, +2 top; 1 g on the upper quarter line.
    const struct {
        float value;
        double y;
    } cases[] = {{-2.0f, 0.0},  {-1.0f, 25.0},   {0.0f, 50.0},  {1.0f, 75.0},
                 {2.0f, 100.0}, {99.0f, 2525.0}, {-3.0f, -25.0}};
    for (const auto& c : cases) {
        const auto paths =
            ChartGeometry::gsensorPaths({gsensor(c.value, c.value, c.value)}, QRectF(0, 0, 200, 100));
        for (int axis = 0; axis < 3; ++axis) {
            const std::vector<Segment> s = segments(paths[axis]);
            ASSERT_EQ(s.size(), 1u) << "value " << c.value;
            // One sample spans the full width.
            EXPECT_DOUBLE_EQ(s[0].x0, 0.0);
            EXPECT_DOUBLE_EQ(s[0].x1, 200.0);
            EXPECT_DOUBLE_EQ(s[0].y, c.y) << "value " << c.value << " axis " << axis;
        }
    }
    // The middle line of the sheet is where 0 g lies.
    EXPECT_DOUBLE_EQ(segments(ChartGeometry::sheetPath(QRectF(0, 0, 200, 100)))[2].y, 50.0);
}

TEST(ChartGeometry, SamplesSplitTheWidthFromTheViewsLeftEdgeAndAbsentValuesLeaveGaps) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const QList<OrvoVideoPacket> packets = {gsensor(0.0f, std::nullopt, 1.0f), gsensor(1.0f, 1.0f, nan),
                                            gsensor(std::nullopt, -1.0f, 0.5f), gsensor(-2.0f, 0.0f, 0.0f)};
    // A rect that does not start at x = 0: the segments still do, and y starts at minY.
    const auto paths = ChartGeometry::gsensorPaths(packets, QRectF(40, 10, 400, 80));
    const std::vector<Segment> x = segments(paths[0]);
    ASSERT_EQ(x.size(), 3u);
    EXPECT_DOUBLE_EQ(x[0].x0, 0.0);
    EXPECT_DOUBLE_EQ(x[0].x1, 100.0);
    EXPECT_DOUBLE_EQ(x[0].y, 50.0);
    EXPECT_DOUBLE_EQ(x[1].x0, 100.0);
    EXPECT_DOUBLE_EQ(x[1].y, 70.0);
    EXPECT_DOUBLE_EQ(x[2].x0, 300.0); // the third sample has no x
    EXPECT_DOUBLE_EQ(x[2].x1, 400.0);
    EXPECT_DOUBLE_EQ(x[2].y, 10.0);
    EXPECT_EQ(segments(paths[1]).size(), 3u);
    EXPECT_EQ(segments(paths[2]).size(), 3u); // the NaN sample is a gap
}

TEST(ChartGeometry, SpeedRangeIsZeroToTwoHundred) {
    const struct {
        float kmh;
        double y;
    } cases[] = {{0.0f, 0.0}, {100.0f, 60.0}, {200.0f, 120.0}, {250.0f, 150.0}};
    for (const auto& c : cases) {
        const std::vector<Segment> s =
            segments(ChartGeometry::speedPath({speed(c.kmh)}, QRectF(0, 0, 300, 120)));
        ASSERT_EQ(s.size(), 1u);
        EXPECT_DOUBLE_EQ(s[0].x1, 300.0);
        EXPECT_FLOAT_EQ(static_cast<float>(s[0].y), static_cast<float>(c.y)) << c.kmh << " km/h";
    }
    const QList<OrvoVideoPacket> packets = {speed(10.0f), speed(std::nullopt), speed(30.0f)};
    const std::vector<Segment> s = segments(ChartGeometry::speedPath(packets, QRectF(0, 0, 300, 200)));
    ASSERT_EQ(s.size(), 2u);
    EXPECT_DOUBLE_EQ(s[1].x0, 200.0);
    EXPECT_DOUBLE_EQ(s[1].y, 30.0);
    EXPECT_TRUE(ChartGeometry::speedPath({}, QRectF(0, 0, 300, 200)).isEmpty());
}

TEST(ChartViews, DrawShowsGridAndOneLayerPerQuantityInTheirColours) {
    OrvoLineChartView line;
    line.resize(300, 100);
    line.orvoPacket = orvoPacketModel{QStringLiteral("/r.mp4"), {gsensor(0.0f, 1.0f, -1.0f)}};
    line.drawChart(QRectF(line.rect()));
    ASSERT_EQ(line.sublayers().size(), 4);
    EXPECT_EQ(line.sublayers()[0], &line.sheetLayer);
    EXPECT_EQ(line.sublayers()[1], &line.xLayer);
    EXPECT_EQ(line.sublayers()[2], &line.yLayer);
    EXPECT_EQ(line.sublayers()[3], &line.zLayer);
    EXPECT_EQ(line.sheetLayer.strokeColor, QColor(0x4d, 0x4d, 0x4d));
    EXPECT_EQ(line.xLayer.strokeColor, QColor(0xff, 0x5a, 0x00));
    EXPECT_EQ(line.yLayer.strokeColor, QColor(0x7e, 0xf0, 0x0f));
    EXPECT_EQ(line.zLayer.strokeColor, QColor(0x1e, 0xc7, 0xff));
    EXPECT_EQ(line.zLayer.fillColor, line.zLayer.strokeColor);
    EXPECT_DOUBLE_EQ(line.xLayer.lineWidth, 1.0);
    // Drawing again keeps the same layers in the same order.
    line.drawChart(QRectF(line.rect()));
    EXPECT_EQ(line.sublayers().size(), 4);
    EXPECT_EQ(line.sublayers()[0], &line.sheetLayer);

    OrvoGraphChartView graph;
    graph.resize(300, 100);
    graph.orvoPacket = orvoPacketModel{QStringLiteral("/r.mp4"), {speed(100.0f)}};
    graph.drawChart(QRectF(graph.rect()));
    ASSERT_EQ(graph.sublayers().size(), 2);
    EXPECT_EQ(graph.sublayers()[1], &graph.speedLayer);
    EXPECT_EQ(graph.speedLayer.strokeColor, QColor(0x1e, 0xc7, 0xff));
    // Any kind other than "Speed" goes to the grid layer.
    graph.applyLayer(QPainterPath(), Qt::red, QStringLiteral("speed"));
    EXPECT_EQ(graph.sheetLayer.strokeColor, QColor(Qt::red));
}

TEST(ChartViews, ClearedChartsShowOnlyTheGrid) {
    OrvoLineChartView line;
    line.resize(300, 100);
    line.orvoPacket = orvoPacketModel{QStringLiteral("/r.mp4"), {gsensor(0.5f, 0.5f, 0.5f)}};
    line.drawChart(QRectF(line.rect()));
    line.orvoPacket.reset();
    line.drawChart(QRectF(line.rect()));
    ASSERT_EQ(line.sublayers().size(), 1);
    EXPECT_EQ(line.sublayers()[0], &line.sheetLayer);

    OrvoGraphChartView graph;
    graph.resize(300, 100);
    graph.orvoPacket = orvoPacketModel{QStringLiteral("/r.mp4"), {speed(50.0f)}};
    graph.drawChart(QRectF(graph.rect()));
    graph.orvoPacket.reset();
    graph.drawChart(QRectF(graph.rect()));
    ASSERT_EQ(graph.sublayers().size(), 1);
    EXPECT_EQ(graph.sublayers()[0], &graph.sheetLayer);

    // Rendered, a cleared chart holds grid pixels and nothing else.
    const QImage image = graph.renderImage();
    const QColor sheet(0x4d, 0x4d, 0x4d);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ASSERT_TRUE(c.alpha() == 0 || c.rgb() == sheet.rgb())
                << x << "," << y << " " << c.name(QColor::HexArgb).toStdString();
        }
    }
}

TEST(ChartViews, ShownChartsRepaintWhenTheirModelChanges) {
    // Both charts on screen, painted once, then given a recording, another, and none: each
    // change shows without anything else asking for a draw.
    OrvoLineChartView line;
    OrvoGraphChartView graph;
    for (QWidget* chart : {static_cast<QWidget*>(&line), static_cast<QWidget*>(&graph)}) {
        chart->setAttribute(Qt::WA_DontShowOnScreen);
        chart->resize(300, 100);
        chart->show();
    }
    const auto settle = [] {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    };
    settle();
    const orvoPacketModel first{QStringLiteral("/a.mp4"), {gsensor(1.0f, 1.0f, 1.0f), speed(100.0f)}};
    const orvoPacketModel second{QStringLiteral("/b.mp4"), {gsensor(-1.0f, -1.0f, -1.0f), speed(50.0f)}};
    const struct {
        const char* what;
        std::optional<orvoPacketModel> model;
        int layers;           // sublayers after the repaint: the grid, and the lines with a model
        double lineY, speedY; // where the first sample's lines lie (unflipped), with a model
    } steps[] = {
        {"a first recording", first, 4, 75.0, 50.0},
        {"another recording", second, 4, 25.0, 25.0},
        {"none", std::nullopt, 1, 0, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        line.orvoPacket = step.model;
        graph.orvoPacket = step.model;
        settle();
        EXPECT_EQ(line.sublayers().size(), step.layers);
        EXPECT_EQ(graph.sublayers().size(), step.layers == 4 ? 2 : 1);
        if (step.model) {
            const std::vector<Segment> x = segments(line.xLayer.path);
            ASSERT_FALSE(x.empty());
            EXPECT_DOUBLE_EQ(x.front().y, step.lineY);
            const std::vector<Segment> s = segments(graph.speedLayer.path);
            ASSERT_FALSE(s.empty());
            EXPECT_DOUBLE_EQ(s.front().y, step.speedY);
        }
    }
}

TEST(ChartViews, RenderedLinesLieWhereTheValuesSay) {
    // 300 x 101: the sheet's lines fall on pixel rows 100, 75, 50, 25 and 0 (top).
    OrvoLineChartView line;
    line.resize(300, 101);
    QList<OrvoVideoPacket> packets;
    for (int i = 0; i < 60; ++i) {
        const float t = static_cast<float>(i) / 60.0f;
        packets << gsensor(std::sin(t * 12.0f) * 0.4f, 0.3f * std::cos(t * 7.0f) - 0.2f,
                           i == 30 ? 1.9f : 1.0f + 0.05f * std::sin(t * 40.0f));
    }
    line.orvoPacket = orvoPacketModel{QStringLiteral("/r.mp4"), packets};
    const QImage lineImage = line.renderImage();
    ASSERT_TRUE(lineImage.save(pngPath("chart_gsensor.png")));

    OrvoGraphChartView graph;
    graph.resize(300, 101);
    QList<OrvoVideoPacket> speeds;
    for (int i = 0; i < 60; ++i)
        speeds << speed(i < 5 ? 0.0f : i < 40 ? 100.0f : 150.0f);
    graph.orvoPacket = orvoPacketModel{QStringLiteral("/r.mp4"), speeds};
    const QImage graphImage = graph.renderImage();
    ASSERT_TRUE(graphImage.save(pngPath("chart_speed.png")));

    // 100 km/h over a height of 101: y = 50.5 up from the bottom, the pixel row
    // whose centre is 50.5 up (row 50 from the top).
    const QColor speedColor(0x1e, 0xc7, 0xff);
    EXPECT_EQ(graphImage.pixelColor(150, 50).rgb(), speedColor.rgb());
    EXPECT_EQ(graphImage.pixelColor(250, 25).rgb(), speedColor.rgb()); // 150 km/h: 75.75 up
    // The grid's bottom and top lines.
    EXPECT_EQ(graphImage.pixelColor(2, 100).rgb(), QColor(0x4d, 0x4d, 0x4d).rgb());
    EXPECT_EQ(graphImage.pixelColor(150, 0).rgb(), QColor(0x4d, 0x4d, 0x4d).rgb());
    // The z bump of 1.9 g near the top edge, at the 31st of 60 samples.
    bool bump = false;
    for (int y = 0; y < 6; ++y)
        bump = bump || lineImage.pixelColor(152, y).rgb() == QColor(0x1e, 0xc7, 0xff).rgb();
    EXPECT_TRUE(bump);
}
