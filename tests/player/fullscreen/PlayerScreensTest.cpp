// The player screens load from the storyboard with every outlet and action.

#include "common/ScreenTestSupport.h"

#include "controls/BackgroundView.h"
#include "controls/CustomButton.h"
#include "controls/CustomNSView.h"
#include "controls/CustomTableHeaderView.h"
#include "controls/DefaultImgBtnCell.h"
#include "controls/LeftBottomBtnCell.h"
#include "controls/OrvoGrayView.h"
#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoMapView.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/OrvoSliderCell.h"
#include "controls/OrvoTableRowView.h"
#include "controls/OrvoVerticalAlignText.h"
#include "controls/RightBottomBtnCell.h"
#include "controls/VolumeSliderCell.h"
#include "platform/media/ScrollView.h"
#include "platform/system/Localization.h"
#include "platform/web/WebView.h"
#include "player/dataviews/OrvoGraphChartView.h"
#include "player/dataviews/OrvoLineChartView.h"
#include "player/fullscreen/FullScreenPlayer.h"
#include "player/fullscreen/MainViewController.h"
#include "player/window/OrvoViewController.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableView>

using namespace screentest;

namespace {

QStringList titles(const QComboBox* menu) {
    QStringList out;
    for (int i = 0; i < menu->count(); ++i)
        out << menu->itemText(i);
    return out;
}

} // namespace

class OrvoViewControllerScreenTest : public ::testing::Test {
protected:
    void SetUp() override { player.loadViewIfNeeded(); }
    OrvoViewController player;
};

TEST_F(OrvoViewControllerScreenTest, EveryOutletIsConnected) {
    const OrvoViewController& c = player;
    expectOutlets({
        {"orvoHeaderView", c.orvoHeaderView},
        {"modelText", c.modelText},
        {"versionTxt", c.versionTxt},
        {"videoView", c.videoView},
        {"videoNameText", c.videoNameText},
        {"ch1Btn", c.ch1Btn},
        {"ch2Btn", c.ch2Btn},
        {"ch3Btn", c.ch3Btn},
        {"ch4Btn", c.ch4Btn},
        {"multipleModeBtn", c.multipleModeBtn},
        {"defaultImgBtn", c.defaultImgBtn},
        {"videoContentView", c.videoContentView},
        {"infoView", c.infoView},
        {"gpsOnOffImg", c.gpsOnOffImg},
        {"gpsOnOffText", c.gpsOnOffText},
        {"meterImg", c.meterImg},
        {"meterValueText", c.meterValueText},
        {"videoSliderView", c.videoSliderView},
        {"videoSlider", c.videoSlider},
        {"videoCurrentText", c.videoCurrentText},
        {"videoTotalText", c.videoTotalText},
        {"zoomMenu", c.zoomMenu},
        {"speedMenu", c.speedMenu},
        {"monoMenu", c.monoMenu},
        {"motionBtn", c.motionBtn},
        {"speedBtn", c.speedBtn},
        {"motionView", c.motionView},
        {"motionChartView", c.motionChartView},
        {"motionXText", c.motionXText},
        {"motionYText", c.motionYText},
        {"motionZText", c.motionZText},
        {"speedView", c.speedView},
        {"speedChartView", c.speedChartView},
        {"chartIntervalView", c.chartIntervalView},
        {"chartInterval", c.chartInterval},
        {"dataView", c.dataView},
        {"mapView", c.mapView},
        {"mapWebView", c.mapWebView},
        {"mapDefaultImg", c.mapDefaultImg},
        {"mapFirstLabel", c.mapFirstLabel},
        {"mapSecondLabel", c.mapSecondLabel},
        {"tableSortingMenu", c.tableSortingMenu},
        {"orvoTableHeaderView", c.orvoTableHeaderView},
        {"orvoTableView", c.orvoTableView},
        {"searchLayer", c.searchLayer},
        {"orvoSearchField", c.orvoSearchField},
        {"orvoFooterView", c.orvoFooterView},
        {"openBtn", c.openBtn},
        {"prevBtn", c.prevBtn},
        {"rewindBtn", c.rewindBtn},
        {"playPauseBtn", c.playPauseBtn},
        {"stopBtn", c.stopBtn},
        {"forwardBtn", c.forwardBtn},
        {"nextBtn", c.nextBtn},
        {"volumeBtn", c.volumeBtn},
        {"soundLayer", c.soundLayer},
        {"volumeSlider", c.volumeSlider},
        {"volumeText", c.volumeText},
        {"captureBtn", c.captureBtn},
        {"repeatBtn", c.repeatBtn},
        {"saveBtn", c.saveBtn},
        {"settingBtn", c.settingBtn},
        {"logoFullScreenView", c.logoFullScreenView},
    });
}

TEST_F(OrvoViewControllerScreenTest, EveryActionIsConnected) {
    expectActions(&player, {
                               {"openBtn", "clicked()", "onOpenBtnTap"},
                               {"prevBtn", "clicked()", "onPrevBtnTap"},
                               {"rewindBtn", "clicked()", "onRewindBtnTap"},
                               {"playPauseBtn", "clicked()", "onPlayPauseBtnTap"},
                               {"stopBtn", "clicked()", "onStopBtnTap"},
                               {"forwardBtn", "clicked()", "onForwardBtnTap"},
                               {"nextBtn", "clicked()", "onNextBtnTap"},
                               {"videoSlider", "activated()", "onVideoSliderDidChange"},
                               {"speedMenu", "activated(int)", "onSpeedMenuTap"},
                               {"zoomMenu", "activated(int)", "onZoomMenuTap"},
                               {"monoMenu", "activated(int)", "onMonoMenuTap"},
                               {"volumeSlider", "activated()", "onVolumeSliderDidChange"},
                               {"volumeBtn", "clicked()", "onVolumeBtnTap"},
                               {"repeatBtn", "clicked()", "onRepeatBtnTap"},
                               {"motionBtn", "clicked()", "onMotionBtnTap"},
                               {"speedBtn", "clicked()", "onSpeedBtnTap"},
                               {"fullScreenBtn", "clicked()", "onFullScreenBtnTap"},
                               {"settingBtn", "clicked()", "onSettingBtnTap"},
                               {"helpBtn", "clicked()", "onHelpBtnTap"},
                               {"defaultImgBtn", "clicked()", "onDefaultImgBtnTap"},
                               {"ch1Btn", "clicked()", "onTouchCh1Btn"},
                               {"ch2Btn", "clicked()", "onTouchCh2Btn"},
                               {"ch3Btn", "clicked()", "onTouchCh3Btn"},
                               {"ch4Btn", "clicked()", "onTouchCh4Btn"},
                               {"multipleModeBtn", "clicked()", "onMultipleModeBtnTap"},
                               {"captureBtn", "clicked()", "onCaptureBtnTap"},
                               {"saveBtn", "clicked()", "onSaveBtnTap"},
                               {"orvoSearchField", "textEdited(QString)", "onSearchFieldChanged"},
                               {"tableSortingMenu", "activated(int)", "onTableSortMenuTap"},
                           });
}

TEST_F(OrvoViewControllerScreenTest, MenusCarryTheTitlesTheHandlersCompare) {
    EXPECT_EQ(titles(player.zoomMenu), (QStringList{"1.0x", "1.5x", "2.0x", "3.0x"}));
    EXPECT_EQ(titles(player.speedMenu), (QStringList{"0.5x", "1.0x", "1.5x", "2.0x"}));
    EXPECT_EQ(titles(player.monoMenu), (QStringList{"ON", "OFF"}));
    EXPECT_EQ(player.speedMenu->currentIndex(), 1);
    EXPECT_EQ(player.monoMenu->currentText(), QStringLiteral("OFF"));
    const QStringList kinds = titles(player.tableSortingMenu);
    ASSERT_EQ(kinds.size(), 9);
    EXPECT_EQ(kinds.first(), localized("All"));
    EXPECT_EQ(kinds.last(), localized("Etc."));
}

TEST_F(OrvoViewControllerScreenTest, ChannelButtonsStartUnavailable) {
    const struct {
        CustomButton* button;
        const char* title;
        const char* image;
    } buttons[] = {{player.ch1Btn, "1CH", "btn_ch_1_d"},
                   {player.ch2Btn, "2CH", "btn_ch_2_d"},
                   {player.ch3Btn, "3CH", "btn_ch_2_d"},
                   {player.ch4Btn, "4CH", "btn_ch_2_d"},
                   {player.multipleModeBtn, "ALL", "btn_ch_3_d"}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->text(), QString::fromLatin1(b.title));
        EXPECT_EQ(b.button->imageName(), QString::fromLatin1(b.image));
        EXPECT_FALSE(b.button->isActivated()) << b.title;
    }
}

TEST_F(OrvoViewControllerScreenTest, RecordingTableHasFourColumnsOfNineteenPointRows) {
    QTableView* table = player.orvoTableView;
    EXPECT_EQ(table->horizontalHeader(), static_cast<QHeaderView*>(player.orvoTableHeaderView.data()));
    EXPECT_EQ(table->itemDelegate(), player.orvoTableRowView.data());
    ASSERT_NE(table->model(), nullptr);
    EXPECT_EQ(table->model()->columnCount(), 4);
    EXPECT_EQ(table->verticalHeader()->defaultSectionSize(), 19);
    EXPECT_EQ(table->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST(MainViewControllerScreenTest, EveryOutletAndActionIsConnected) {
    MainViewController screen;
    screen.loadViewIfNeeded();
    const MainViewController& c = screen;
    expectOutlets({
        {"backgroundView", c.backgroundView},
        {"videoScrollView", c.videoScrollView},
        {"singlePlayerView", c.singlePlayerView},
        {"defaultImgBtn", c.defaultImgBtn},
        {"menuView", c.menuView},
        {"videoSlider", c.videoSlider},
        {"sliderView", c.sliderView},
        {"toolsView", c.toolsView},
        {"playPauseBtn", c.playPauseBtn},
        {"volumeBtn", c.volumeBtn},
        {"volumeSlider", c.volumeSlider},
        {"volumeText", c.volumeText},
        {"seperator", c.seperator},
        {"seperatorShadow", c.seperatorShadow},
        {"zoomMenu", c.zoomMenu},
        {"speedMenu", c.speedMenu},
        {"monoMenu", c.monoMenu},
        {"playModeBtn", c.playModeBtn},
        {"repeatBtn", c.repeatBtn},
        {"videoCurrentText", c.videoCurrentText},
        {"videoTotalText", c.videoTotalText},
    });
    EXPECT_EQ(c.scrollClipView.data(), static_cast<QWidget*>(c.videoScrollView.data()));
    EXPECT_EQ(c.videoScrollView->documentView(), static_cast<PlayerView*>(c.singlePlayerView.data()));
    expectActions(&screen, {
                               {"openBtn", "clicked()", "onOpenBtnTap"},
                               {"playPauseBtn", "clicked()", "onPlayPauseBtnTap"},
                               {"stopBtn", "clicked()", "onStopBtnTap"},
                               {"rewindBtn", "clicked()", "onRewindBtnTap"},
                               {"forwardBtn", "clicked()", "onForwardBtnTap"},
                               {"prevBtn", "clicked()", "onPrevBtnTap"},
                               {"nextBtn", "clicked()", "onNextBtnTap"},
                               {"videoSlider", "activated()", "onVideoSliderDidChange"},
                               {"volumeBtn", "clicked()", "onVolumeBtnTap"},
                               {"volumeSlider", "activated()", "onVolumeSliderDidChange"},
                               {"zoomMenu", "activated(int)", "onZoomMenuTap"},
                               {"speedMenu", "activated(int)", "onSpeedMenuTap"},
                               {"monoMenu", "activated(int)", "onMonoMenuTap"},
                               {"playModeBtn", "clicked()", "onPlayModeBtnTap"},
                               {"repeatBtn", "clicked()", "onRepeatBtnTap"},
                               {"saveBtn", "clicked()", "onSaveBtnTap"},
                               {"settingBtn", "clicked()", "onSettingBtnTap"},
                               {"defaultImgBtn", "clicked()", "onDefaultImgBtnTap"},
                           });
    EXPECT_EQ(titles(c.zoomMenu), (QStringList{"1.0x", "1.5x", "2.0x", "3.0x"}));
}
