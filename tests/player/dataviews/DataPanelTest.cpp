// The data panel: its texts, meter and GPS images, chart marker and map
// message for known packets at known slider positions.

#include "player/dataviews/DataPanel.h"
#include "controls/BarSliderCell.h"
#include "controls/DefaultImgBtnCell.h"
#include "player/dataviews/MapPage.h"
#include "shared/PlayerState.h"

#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QUrl>
#include <QWidget>

#include <limits>
#include <memory>

namespace {

const QString kPath = QStringLiteral("/recordings/20241108-083000_F_N.mp4");

OrvoVideoPacket packet(std::optional<float> x, std::optional<float> y, std::optional<float> z,
                       std::optional<float> speed, std::optional<float> lat, std::optional<float> lng) {
    OrvoVideoPacket p;
    p.gsensor_x = x;
    p.gsensor_y = y;
    p.gsensor_z = z;
    p.gps_speed = speed;
    p.gps_latitude = lat;
    p.gps_longitude = lng;
    return p;
}

class DataPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        packetCache.clear();
        currentRecording = orvoTableModel{QUrl::fromLocalFile(kPath), {}};
        isNetworkConnected = true;

        interval.resize(401, 100);
        auto* layout = new QHBoxLayout(&interval);
        layout->setContentsMargins(0, 0, 0, 0);
        leading = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
        other = new QSpacerItem(7, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
        layout->addItem(leading);
        layout->addWidget(new QWidget(&interval));
        layout->addItem(other);

        slider.setRange(0, 1000000);
        slider.setMinValue(0.0);
        slider.setMaxValue(1.0);
        map.setOutlets({nullptr, &mapDefaultImg, &first, &second});

        DataPanel::Outlets o;
        o.chartIntervalView = &interval;
        o.chartIntervalConstraints = [this, layout] {
            return QList<LayoutConstraint>{
                LayoutConstraint(QStringLiteral("chartIntervalLeading"), leading, layout),
                LayoutConstraint(QStringLiteral("chartIntervalTrailing"), other, layout)};
        };
        o.videoSlider = &slider;
        o.motionXText = &x;
        o.motionYText = &y;
        o.motionZText = &z;
        o.meterValueText = &meterText;
        o.meterImg = &meter;
        o.gpsOnOffImg = &gpsImg;
        o.gpsOnOffText = &gpsText;
        o.currentItemTime = [this] { return itemTime; };
        panel = std::make_unique<DataPanel>(o, map);
        meter.setImageName(QStringLiteral("speed_graph_0"));
        gpsImg.setImageName(QStringLiteral("img_gps_off"));
    }

    void TearDown() override {
        packetCache.clear();
        currentRecording.reset();
    }

    void cache(const QList<OrvoVideoPacket>& packets) { packetCache.append(orvoPacketModel{kPath, packets}); }

    void show(double sliderValue, bool replay = false) {
        slider.setDoubleValue(sliderValue);
        panel->updateDataPanel(replay);
    }

    QWidget interval;
    QSpacerItem* leading = nullptr;
    QSpacerItem* other = nullptr;
    BarSliderCell slider;
    QLabel x, y, z, meterText, gpsText, first, second;
    DefaultImgBtnCell meter, gpsImg, mapDefaultImg;
    MapPage map;
    std::optional<MediaTime> itemTime = MediaTime(5, 1);
    std::unique_ptr<DataPanel> panel;
};

} // namespace

TEST_F(DataPanelTest, ShowsThePacketAtTheSliderPosition) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const QList<OrvoVideoPacket> packets = {
        packet(0.125f, -1.0f, 0.98f, 7.0f, 37.5665f, 126.978f),             // 0
        packet(std::nullopt, 0.0f, -0.004f, 199.0f, 37.5f, 127.0f),         // 1
        packet(1.5f, 2.0f, 3.0f, 203.9f, 37.6f, 127.1f),                    // 2
        packet(0.0f, 0.0f, 1.0f, std::nullopt, 37.7f, 127.2f),              // 3
        packet(0.0f, 0.0f, 1.0f, 250.0f, std::nullopt, 127.2f),             // 4
        packet(0.0f, 0.0f, 1.0f, -3.5f, 0.0f, 0.0f),                        // 5
        packet(0.0f, 0.0f, 1.0f, nan, 0.0f, 0.0f),                          // 6
        packet(std::nullopt, std::nullopt, std::nullopt, 0.9f, 0.0f, 1.0f), // 7
    };
    cache(packets);
    const struct {
        double slider;
        const char* x;
        const char* y;
        const char* z;
        const char* speed;
        const char* meter; // the meter image after the update (the previous one when unchanged)
        const char* gps;
    } cases[] = {
        {0.0, "X : 0.12", "Y : -1.00", "Z : 0.98", "7", "speed_graph_1", "GPS On"},
        {0.13, "X : ", "Y : 0.00", "Z : -0.00", "199", "speed_graph_49", "GPS On"},
        {0.25, "X : 1.50", "Y : 2.00", "Z : 3.00", "203", "speed_graph_49", "GPS On"},
        {0.375, "X : 0.00", "Y : 0.00", "Z : 1.00", "--", "speed_graph_49", "GPS On"},
        {0.5, "X : 0.00", "Y : 0.00", "Z : 1.00", "250", "speed_graph_49", "GPS Off"},
        {0.625, "X : 0.00", "Y : 0.00", "Z : 1.00", "-3", "speed_graph_0", "GPS Off"},
        {0.75, "X : 0.00", "Y : 0.00", "Z : 1.00", "--", "speed_graph_0", "GPS Off"},
        {1.0, "X : ", "Y : ", "Z : ", "0", "speed_graph_0", "GPS On"}, // 1.0 shows the last packet
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slider);
        show(c.slider);
        EXPECT_EQ(x.text(), QString::fromUtf8(c.x));
        EXPECT_EQ(y.text(), QString::fromUtf8(c.y));
        EXPECT_EQ(z.text(), QString::fromUtf8(c.z));
        EXPECT_EQ(meterText.text(), QString::fromUtf8(c.speed));
        EXPECT_EQ(meter.imageName(), QString::fromUtf8(c.meter));
        EXPECT_EQ(gpsText.text(), QString::fromUtf8(c.gps));
        EXPECT_EQ(gpsImg.imageName(), c.gps == std::string("GPS On") ? "img_gps_on" : "img_gps_off");
    }
}

TEST_F(DataPanelTest, PositionZeroShowsGpsOffAndTheMessageWithGsensorFilled) {
    cache({packet(0.5f, 0.25f, 1.0f, 30.0f, 0.0f, 0.0f)});
    show(0.5);
    EXPECT_EQ(gpsText.text(), "GPS Off");
    EXPECT_EQ(gpsImg.imageName(), "img_gps_off");
    EXPECT_EQ(x.text(), "X : 0.50");
    EXPECT_EQ(meterText.text(), "30");
    // Connected, a position but no map: the "no GPS" lines over the placeholder.
    EXPECT_FALSE(first.isHidden());
    EXPECT_FALSE(second.isHidden());
    EXPECT_FALSE(mapDefaultImg.isHidden());
    EXPECT_EQ(first.text(), QString::fromUtf8("해당 영상에 GPS 정보가 없습니다."));

    // A real position hides the message.
    packetCache.clear();
    cache({packet(0.5f, 0.25f, 1.0f, 30.0f, 37.5f, 127.0f)});
    show(0.5);
    EXPECT_TRUE(first.isHidden());
    EXPECT_TRUE(mapDefaultImg.isHidden());
    EXPECT_EQ(map.lastAddPos, "addPos(37.5, 127)");
}

TEST_F(DataPanelTest, NoMetadataShowsTheEmptyTextsAndLeavesImagesAlone) {
    const auto expectEmpty = [this] {
        EXPECT_EQ(x.text(), "X : ");
        EXPECT_EQ(y.text(), "Y : ");
        EXPECT_EQ(z.text(), "Z : ");
        EXPECT_EQ(meterText.text(), "--");
        EXPECT_EQ(meter.imageName(), "speed_graph_12");
        EXPECT_EQ(gpsImg.imageName(), "img_gps_on");
        EXPECT_FALSE(first.isHidden());
    };
    meter.setImageName(QStringLiteral("speed_graph_12"));
    gpsImg.setImageName(QStringLiteral("img_gps_on"));
    x.setText(QStringLiteral("X : 1.00"));
    // No cache entry for the recording.
    show(0.5);
    expectEmpty();
    // An entry without packets.
    cache({});
    show(0.5);
    expectEmpty();
    // No current recording.
    currentRecording.reset();
    show(0.5);
    expectEmpty();
    // Network down: the second message row.
    isNetworkConnected = false;
    show(0.5);
    EXPECT_EQ(first.text(), QString::fromUtf8("지도를 표시할 수 없습니다."));
    EXPECT_EQ(second.text(), QString::fromUtf8("인터넷 연결을 확인해 주세요."));
}

TEST_F(DataPanelTest, ChartMarkerFollowsTheSliderAndHidesAtTheStart) {
    cache({packet(0.0f, 0.0f, 1.0f, 10.0f, 37.5f, 127.0f)});
    const struct {
        double slider;
        double constant;
    } cases[] = {{0.0, 0.0}, {0.5, 200.5}, {0.999, 400.599}, {1.0, 400.0}};
    for (const auto& c : cases) {
        show(c.slider);
        EXPECT_EQ(leading->sizeHint().width(), qRound(c.constant)) << c.slider;
    }
    // Any other constraint is left alone.
    EXPECT_EQ(other->sizeHint().width(), 7);

    LayoutConstraint constraint(QStringLiteral("chartIntervalLeading"), leading, interval.layout());
    slider.setDoubleValue(0.25);
    panel->updateChartIntervalPosition(constraint);
    EXPECT_DOUBLE_EQ(constraint.constant(), 100.25);

    show(0.5);
    EXPECT_FALSE(interval.isHidden());
    itemTime = MediaTime::zero();
    show(0.5);
    EXPECT_TRUE(interval.isHidden());
    itemTime = MediaTime(0, 600);
    show(0.5);
    EXPECT_TRUE(interval.isHidden());
    itemTime.reset(); // no player or no item
    show(0.5);
    EXPECT_TRUE(interval.isHidden());
}

TEST(DataPanelRules, PacketIndexAndMeterImage) {
    const struct {
        double slider;
        qsizetype count;
        std::optional<qsizetype> index;
    } indexes[] = {{0.0, 10, 0},           {0.09, 10, 0},
                   {0.1, 10, 1},           {0.999, 10, 9},
                   {1.0, 10, 9},           {1.7, 10, 9},
                   {-0.5, 10, 0},          {std::numeric_limits<double>::quiet_NaN(), 10, 0},
                   {0.5, 0, std::nullopt}, {1.0, 1, 0}};
    for (const auto& c : indexes)
        EXPECT_EQ(DataPanel::packetIndex(c.slider, c.count), c.index) << c.slider << " of " << c.count;

    const struct {
        qint64 speed;
        const char* image;
    } meters[] = {{0, "speed_graph_0"},    {3, "speed_graph_0"},    {7, "speed_graph_1"},
                  {199, "speed_graph_49"}, {200, "speed_graph_49"}, {203, "speed_graph_49"},
                  {204, "speed_graph_49"}, {-4, "speed_graph_0"},   {1000000, "speed_graph_49"}};
    for (const auto& c : meters)
        EXPECT_EQ(DataPanel::meterImageName(c.speed), QString::fromLatin1(c.image)) << c.speed;

    EXPECT_EQ(DataPanel::speedValue(203.9f), 203);
    EXPECT_EQ(DataPanel::speedValue(-0.5f), 0);
    EXPECT_EQ(DataPanel::speedValue(std::numeric_limits<float>::infinity()), std::nullopt);
    EXPECT_EQ(DataPanel::speedValue(3e30f), std::nullopt);
    EXPECT_EQ(DataPanel::speedValue(std::nullopt), std::nullopt);
}
