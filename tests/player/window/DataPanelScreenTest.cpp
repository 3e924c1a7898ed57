// The window player's data panel, charts and map page through its own entries,
// with the metadata of a generated recording, rendered to a picture.

#include "common/SmallRecording.h"
#include "common/WebViewTestSupport.h"

#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoSliderCell.h"
#include "player/dataviews/OrvoGraphChartView.h"
#include "player/dataviews/OrvoLineChartView.h"
#include "player/window/OrvoViewController.h"
#include "shared/PlayerState.h"

#include "metadata/DistrictTable.h"
#include "metadata/FFmpeg.h"
#include "metadata/PacketCache.h"
#include "metadata/RecordingList.h"
#include "platform/system/UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QLabel>

TEST(DataPanelScreen, WindowPlayerShowsThePlayPositionOnPanelChartsAndMap) {
    const QString path = paneltest::writeSmallRecording("kavrin-panel-tests", "20241108-083000_F_E.mp4",
                                                        samplegen::Layout::Boxes, 30);

    packetCache.clear();
    FFmpeg reader;
    getUserData(path, reader);
    const std::optional<orvoPacketModel> model = packetModelForURL(QUrl::fromLocalFile(path));
    ASSERT_TRUE(model);
    const qsizetype n = model->packet.size();
    ASSERT_GE(n, 20);
    currentRecording = orvoTableModel{QUrl::fromLocalFile(path), {}};
    // A window player with a recording list restores it instead of starting
    // the update check and reopening the last folder.
    const QList<orvoTableModel> oldList = recordingList;
    recordingList = {*currentRecording};
    isNetworkConnected = true;
    UserDefaults::standard().set(QStringLiteral("AppleLanguages"), QStringList{QStringLiteral("ko")});
    districtTable().clear();
    loadAdminDistrictInfo();

    // The application's dark palette, as the window shows it.
    const QPalette oldPalette = QApplication::palette();
    QPalette dark = oldPalette;
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Window, QColor(0x1f, 0x1f, 0x1f));
    dark.setColor(QPalette::Base, QColor(0x1f, 0x1f, 0x1f));
    QApplication::setPalette(dark);

    OrvoViewController player;
    player.setAttribute(Qt::WA_DontShowOnScreen);
    player.resize(1280, 800);
    player.loadViewIfNeeded();
    player.show();
    ASSERT_TRUE(player.motionChartView && player.speedChartView && player.mapWebView);
    player.motionChartView->orvoPacket = model;
    player.speedChartView->orvoPacket = model;
    player.loadMapPage(true);
    ASSERT_TRUE(webtest::waitForLoad(*player.mapWebView));

    // Ticks up to two thirds of the recording, with the event loop running between them.
    const qsizetype shown = n * 2 / 3;
    for (qsizetype i = 0; i <= shown; ++i) {
        player.videoSlider->setDoubleValue((static_cast<double>(i) + 0.5) / static_cast<double>(n));
        player.updateDataPanel(false);
        QCoreApplication::processEvents();
    }
    const OrvoVideoPacket& packet = model->packet[shown];
    EXPECT_EQ(player.motionXText->text(), QString::asprintf("X : %.2f", double(*packet.gsensor_x)));
    EXPECT_EQ(player.meterValueText->text(), QString::number(qint64(*packet.gps_speed)));
    EXPECT_EQ(player.gpsOnOffText->text(), "GPS On");
    EXPECT_FALSE(player.mapWebView->isHidden());
    EXPECT_TRUE(player.mapFirstLabel->isHidden());
    const QVariantList route =
        webtest::evaluate(*player.mapWebView, QStringLiteral("kavrinRoute()")).toList();
    EXPECT_GE(route.size(), 2);
    EXPECT_LE(route.size(), shown + 1);
    EXPECT_FALSE(
        webtest::evaluate(*player.mapWebView, QStringLiteral("kavrinDistrict()")).toString().isEmpty());

    // The chart marker constraint follows the slider over the width of the charts.
    const QList<LayoutConstraint> constraints = player.chartIntervalConstraints();
    ASSERT_EQ(constraints.size(), 1);
    EXPECT_EQ(player.chartIntervalView->width(), player.motionChartView->width());
    EXPECT_NEAR(constraints[0].constant(),
                player.chartIntervalView->width() * player.videoSlider->doubleValue(), 1.0);

    // Let the page draw, then picture the window (the marker shown as while playing).
    player.chartIntervalView->show();
    for (int i = 0; i < 20; ++i)
        webtest::evaluate(*player.mapWebView,
                          QStringLiteral("new Promise(r => requestAnimationFrame(() => r(1)))"));
    const QString pngDir =
        qEnvironmentVariable("KAVRIN_PNG_DIR", QDir::tempPath() + QStringLiteral("/kavrin-png"));
    QDir().mkpath(pngDir);
    EXPECT_TRUE(player.grab().save(pngDir + QStringLiteral("/window_player_panel.png")));
    player.motionView->hide();
    player.speedView->show();
    EXPECT_TRUE(player.infoView->grab().save(pngDir + QStringLiteral("/window_player_speed_panel.png")));

    // Stopped: the charts clear to their grid.
    player.motionChartView->orvoPacket.reset();
    player.motionChartView->drawChart(QRectF(player.motionChartView->rect()));
    EXPECT_EQ(player.motionChartView->sublayers().size(), 1);

    QApplication::setPalette(oldPalette);
    recordingList = oldList;
    currentRecording.reset();
    packetCache.clear();
    districtTable().clear();
    UserDefaults::standard().set(QStringLiteral("AppleLanguages"), QStringList{QStringLiteral("en")});
}
