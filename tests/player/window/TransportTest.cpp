// The window player's control bar driven through its actions, with the
// three-channel recording playing in the software renderer without sound.

#include "common/ChannelViewsTestSupport.h"

#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/OrvoSliderCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "controls/VolumeSliderCell.h"
#include "platform/media/PlayerView.h"
#include "platform/system/UserDefaults.h"
#include "shared/DefaultsKeys.h"

#include <QLabel>
#include <QMainWindow>

using namespace channeltest;

namespace {

bool everyLoadedPlayer(const OrvoViewController& player, const std::function<bool(Player*)>& test) {
    int loaded = 0;
    for (Player* p : player.players) {
        if (!p->currentItem())
            continue;
        ++loaded;
        if (!test(p))
            return false;
    }
    return loaded > 0;
}

} // namespace

class TransportTest : public ::testing::Test {
protected:
    PlayerWindow w;
    OrvoViewController& player() { return *w.player; }
};

TEST_F(TransportTest, PlayWithNothingLoadedStartsTheCurrentEntry) {
    // An empty list: nothing.
    displayedRecordingList = QList<orvoTableModel>{};
    player().onPlayPauseBtnTap();
    EXPECT_FALSE(player().orvoPlayer);
    EXPECT_EQ(playState, 0);
    EXPECT_EQ(currentIndex, 0);

    // currentIndex -1 plays the first entry.
    w.listRecordings();
    ASSERT_EQ(currentIndex, -1);
    player().onPlayPauseBtnTap();
    EXPECT_EQ(currentIndex, 0);
    EXPECT_EQ(selectedRow, 0);
    ASSERT_TRUE(currentRecording);
    EXPECT_EQ(currentRecording->url, QUrl::fromLocalFile(files().front));
    EXPECT_EQ(channelCount, 3);
    EXPECT_EQ(playState, 1);
    EXPECT_EQ(player().playPauseBtn->imageName(), QStringLiteral("btn_all_pause"));
    EXPECT_TRUE(waitFor([&] { return player().orvoPlayer && player().orvoPlayer->currentSeconds() > 0.2; }));
}

TEST_F(TransportTest, PauseAndResumeEveryShownChannelAtTheChosenSpeed) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 0.5));
    player().onPlayPauseBtnTap();
    EXPECT_EQ(playState, 2);
    EXPECT_EQ(player().playPauseBtn->imageName(), QStringLiteral("btn_all_play"));
    ASSERT_TRUE(waitFor([&] {
        return everyLoadedPlayer(
            player(), [](Player* p) { return p->timeControlStatus() == Player::TimeControlStatus::Paused; });
    }));

    // While paused a speed change only selects the menu item.
    player().speedMenu->setCurrentIndex(2);
    player().onSpeedMenuTap();
    EXPECT_EQ(speedIndex, 2);
    EXPECT_EQ(player().speedMenu->currentIndex(), 2);
    EXPECT_EQ(player().players[0]->rate(), 0.0);

    player().onPlayPauseBtnTap();
    EXPECT_EQ(playState, 1);
    EXPECT_EQ(player().playPauseBtn->imageName(), QStringLiteral("btn_all_pause"));
    EXPECT_TRUE(player().defaultImgBtn->isHidden());
    ASSERT_TRUE(
        waitFor([&] { return everyLoadedPlayer(player(), [](Player* p) { return p->rate() == 1.5; }); }));
}

TEST_F(TransportTest, SpeedChangeWhilePlayingGoesThroughNormalSpeedForASecond) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 0.3));
    ASSERT_TRUE(
        waitFor([&] { return everyLoadedPlayer(player(), [](Player* p) { return p->rate() == 1.0; }); }));
    player().speedMenu->setCurrentIndex(3);
    player().onSpeedMenuTap();
    EXPECT_EQ(speedIndex, 3);
    // The players run at 1.0 at first...
    EXPECT_TRUE(everyLoadedPlayer(player(), [](Player* p) { return p->rate() == 1.0; }));
    // ...and at 2.0 a second later.
    ASSERT_TRUE(
        waitFor([&] { return everyLoadedPlayer(player(), [](Player* p) { return p->rate() == 2.0; }); }));
    EXPECT_EQ(player().speedMenu->currentIndex(), 3);

    // A pause within that second stays a pause; play then resumes at the chosen speed.
    player().speedMenu->setCurrentIndex(0);
    player().onSpeedMenuTap();
    player().onPlayPauseBtnTap();
    ASSERT_EQ(playState, 2);
    playbacktest::waitFor([] { return false; }, 1500);
    EXPECT_TRUE(everyLoadedPlayer(player(), [](Player* p) { return p->rate() == 0.0; }));
    EXPECT_EQ(player().playPauseBtn->imageName(), QStringLiteral("btn_all_play"));
    player().onPlayPauseBtnTap();
    ASSERT_TRUE(
        waitFor([&] { return everyLoadedPlayer(player(), [](Player* p) { return p->rate() == 0.5; }); }));
}

TEST_F(TransportTest, MenusMapTheirTitlesAndKeepTheIndexForOthers) {
    struct Case {
        const char* menu;
        const char* title;
        std::function<int()> value;
        int expected;
    };
    const std::vector<Case> cases{
        {"speed", "0.5x", [] { return int(speedIndex); }, 0},
        {"speed", "2.0x", [] { return int(speedIndex); }, 3},
        {"speed", "9.0x", [] { return int(speedIndex); }, 3},
        {"zoom", "1.5x", [] { return int(zoomIndex); }, 1},
        {"zoom", "3.0x", [] { return int(zoomIndex); }, 3},
        {"zoom", "4.0x", [] { return int(zoomIndex); }, 3},
        {"mono", "ON", [] { return int(isMono); }, 1},
        {"mono", "Grey", [] { return int(isMono); }, 1},
        {"mono", "OFF", [] { return int(isMono); }, 0},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromLatin1(c.menu);
        OrvoPopupBtnCell* menu = name == QLatin1String("speed")  ? player().speedMenu.data()
                                 : name == QLatin1String("zoom") ? player().zoomMenu.data()
                                                                 : player().monoMenu.data();
        int index = menu->findText(QString::fromLatin1(c.title));
        if (index < 0) {
            menu->addItem(QString::fromLatin1(c.title));
            index = menu->count() - 1;
        }
        menu->setCurrentIndex(index);
        if (name == QLatin1String("speed"))
            player().onSpeedMenuTap();
        else if (name == QLatin1String("zoom"))
            player().onZoomMenuTap();
        else
            player().onMonoMenuTap();
        EXPECT_EQ(c.value(), c.expected) << c.menu << " " << c.title;
        // The menu shows the index applied, also after an unknown title.
        const int shown = name == QLatin1String("mono") ? (c.expected ? 0 : 1) : c.expected;
        EXPECT_EQ(menu->currentIndex(), shown) << c.menu << " " << c.title;
    }
}

TEST_F(TransportTest, ZoomMagnifiesEveryChannelAboutItsMiddle) {
    for (int index = 0; index < 4; ++index) {
        // Moved away first: the zoom centres the picture again.
        player().scrollViews[0]->setMagnification(3.0, QPointF(0, 0));
        player().setZoom(index);
        for (ScrollView* view : player().scrollViews) {
            EXPECT_DOUBLE_EQ(view->magnification(), zoomScales[static_cast<std::size_t>(index)]);
            const QPointF middle = QRectF(QPointF(0, 0), view->documentSize()).center();
            EXPECT_NEAR(view->documentVisibleRect().center().x(), middle.x(), 1e-6);
            EXPECT_NEAR(view->documentVisibleRect().center().y(), middle.y(), 1e-6);
            EXPECT_DOUBLE_EQ(static_cast<PlayerView*>(view->documentView())->magnification(),
                             zoomScales[static_cast<std::size_t>(index)]);
        }
        EXPECT_EQ(player().zoomMenu->currentIndex(), index);
    }
    player().setZoom(4);
    player().setZoom(-1);
    EXPECT_DOUBLE_EQ(player().scrollViews[0]->magnification(), 3.0);
}

TEST_F(TransportTest, MonoFilterGreysEveryChannel) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 0.2));
    for (bool on : {true, false, true}) {
        player().setMonoFilter(on);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(player().avplayerViews[i]->isMono(), on);
            EXPECT_EQ(player().players[i]->isMonochrome(), on);
        }
        EXPECT_EQ(player().monoMenu->currentIndex(), on ? 0 : 1);
    }
}

TEST_F(TransportTest, VolumeSliderSetsEveryPlayerAndOnlyTheSoundChannelIsHeard) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 0.2));
    struct Case {
        mode m;
        bool muted;
        int heard; // the one player not muted; -1: none
    };
    const std::vector<Case> cases{
        {mode::multiple_ch, false, 0}, {mode::ch2, false, 1}, {mode::ch4, false, 3},
        {mode::none_ch, false, -1},    {mode::ch1, true, -1},
    };
    int value = 30;
    for (const Case& c : cases) {
        playMode = c.m;
        isMuted = c.muted;
        player().volumeSlider->setValue(value);
        player().onVolumeSliderDidChange();
        EXPECT_EQ(player().volumeText->text(), QString::number(value));
        EXPECT_EQ(player().volumeSlider->toolTip(), QString::number(value));
        EXPECT_NEAR(UserDefaults::standard().number(QLatin1String(DefaultsKey::kVolume)).value_or(-1),
                    value / 100.0, 1e-6);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(player().players[i]->volume(), value / 100.0, 1e-6);
            EXPECT_EQ(player().players[i]->isMuted(), i != c.heard)
                << "mode " << modeIndex(c.m) << " player " << i;
        }
        value += 10;
    }
}

TEST_F(TransportTest, MuteButtonMutesOnlyTheShownPlayerAndLocksTheSlider) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 0.2));
    const bool otherBefore = player().players[1]->isMuted();
    player().onVolumeBtnTap();
    EXPECT_TRUE(isMuted);
    EXPECT_EQ(player().volumeBtn->imageName(), QStringLiteral("btn_all_vol_mute"));
    EXPECT_TRUE(player().orvoPlayer->isMuted());
    EXPECT_FALSE(player().volumeSlider->isEnabled());
    EXPECT_EQ(player().players[1]->isMuted(), otherBefore);
    player().onVolumeBtnTap();
    EXPECT_FALSE(isMuted);
    EXPECT_EQ(player().volumeBtn->imageName(), QStringLiteral("btn_all_vol"));
    EXPECT_FALSE(player().orvoPlayer->isMuted());
    EXPECT_TRUE(player().volumeSlider->isEnabled());

    player().onRepeatBtnTap();
    EXPECT_TRUE(isRepeatOne);
    EXPECT_EQ(player().repeatBtn->imageName(), QStringLiteral("btn_all_repeat_one"));
    player().onRepeatBtnTap();
    EXPECT_FALSE(isRepeatOne);
    EXPECT_EQ(player().repeatBtn->imageName(), QStringLiteral("btn_all_repeat_all"));
}

TEST_F(TransportTest, SliderAndTenSecondButtonsSeekEveryChannelTogether) {
    // Without a player the slider goes back to the start.
    player().videoSlider->setDoubleValue(0.4);
    player().onVideoSliderDidChange();
    EXPECT_EQ(player().videoSlider->doubleValue(), 0.0);

    // Ten seconds forward before the recording has a length (0) leaves the slider where it is.
    player().updateTimeDisplay(10, 0);
    EXPECT_EQ(player().videoSlider->doubleValue(), 0.0);

    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 0.3));
    player().onPlayPauseBtnTap(); // paused: the positions stay where the seeks put them
    player().videoSlider->setDoubleValue(0.5);
    player().onVideoSliderDidChange();
    EXPECT_EQ(player().videoCurrentText->text(), QStringLiteral("00:00:03"));
    ASSERT_TRUE(w.playersNear(3.0, 0.06));

    // Back ten seconds within the first ten: every channel at the start.
    player().onRewindBtnTap();
    ASSERT_TRUE(w.playersNear(0.0, 0.06));
    // Forward past the end: every channel at its end.
    player().onForwardBtnTap();
    ASSERT_TRUE(w.playersNear(6.0, 0.1));
    EXPECT_EQ(playState, 2);

    // A seek while playing goes on playing from there.
    player().videoSlider->setDoubleValue(0.2);
    player().onVideoSliderDidChange();
    ASSERT_TRUE(w.playersNear(1.2, 0.06));
    player().onPlayPauseBtnTap();
    player().onForwardBtnTap(); // 1.2 + 10: past the end
    ASSERT_TRUE(waitFor([&] { return player().orvoPlayer->currentSeconds() > 5.5 || currentIndex != 0; }));
}

// Actions given faster than a coordinated seek or start completes, as a person
// gives them: the players end in the state asked for last, and a playing
// recording keeps advancing.
TEST_F(TransportTest, OverlappingActionsEndInTheStateAskedForLast) {
    struct Case {
        const char* name;
        mode channels;
        std::function<void(OrvoViewController&)> actions;
        bool playing;
    };
    auto seekTo = [](OrvoViewController& p, double fraction) {
        p.videoSlider->setDoubleValue(fraction);
        p.onVideoSliderDidChange();
    };
    const std::vector<Case> cases{
        {"seek+seek", mode::multiple_ch,
         [](OrvoViewController& p) { p.onRewindBtnTap(), p.onRewindBtnTap(); }, true},
        {"seek+seek", mode::ch1, [&](OrvoViewController& p) { seekTo(p, 0.1), seekTo(p, 0.2); }, true},
        {"slider drag", mode::multiple_ch,
         [&](OrvoViewController& p) {
             for (double f : {0.1, 0.15, 0.2, 0.25, 0.3})
                 seekTo(p, f);
         },
         true},
        {"seek+pause", mode::multiple_ch, [&](OrvoViewController& p) { seekTo(p, 0.2), p.playPause(); },
         false},
        {"seek+pause", mode::ch1, [&](OrvoViewController& p) { seekTo(p, 0.2), p.playPause(); }, false},
        {"pause+play+pause", mode::multiple_ch,
         [](OrvoViewController& p) { p.playPause(), p.playPause(), p.playPause(); }, false},
        {"next+pause", mode::multiple_ch,
         [](OrvoViewController& p) { p.playNext(), p.playPrev(), p.playPause(); }, false},
        {"pause+seek+play", mode::multiple_ch,
         [&](OrvoViewController& p) { p.playPause(), seekTo(p, 0.1), p.playPause(); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.channels == mode::ch1 ? " (1CH)" : " (ALL)"));
        player().stopPlayback();
        ASSERT_TRUE(w.playThreeChannels(c.channels, 0.3));
        c.actions(player());
        EXPECT_EQ(playState, c.playing ? 1 : 2);
        EXPECT_EQ(player().playPauseBtn->imageName(),
                  QLatin1String(c.playing ? "btn_all_pause" : "btn_all_play"));
        // Whatever was pending has settled.
        waitFor([&] { return !player().channelSync().isCoordinating(); });
        playbacktest::waitFor([] { return false; }, 300);
        ASSERT_TRUE(player().orvoPlayer);
        const double before = player().orvoPlayer->currentSeconds();
        if (c.playing) {
            // Playing goes on, however slowly a loaded machine lets it.
            EXPECT_TRUE(waitFor([&] { return player().orvoPlayer->currentSeconds() > before + 0.2; }))
                << "the pictures stopped";
            EXPECT_TRUE(everyLoadedPlayer(player(), [](Player* p) { return p->rate() > 0.0; }));
        } else {
            playbacktest::waitFor([] { return false; }, 500);
            EXPECT_NEAR(player().orvoPlayer->currentSeconds(), before, 0.01) << "a pause was undone";
            EXPECT_TRUE(everyLoadedPlayer(player(), [](Player* p) { return p->rate() == 0.0; }));
        }
    }
}

TEST_F(TransportTest, TheEndPlaysTheNextRecordingOrRepeatsAndNextAndPreviousWrap) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 0.2));
    // Repeat one: the same recording again from the start.
    player().onRepeatBtnTap();
    player().videoSlider->setDoubleValue(0.9);
    player().onVideoSliderDidChange();
    ASSERT_TRUE(waitFor([&] { return player().orvoPlayer->currentSeconds() > 5.7; }));
    ASSERT_TRUE(waitFor([&] {
        return player().orvoPlayer && player().orvoPlayer->currentItem() &&
               player().orvoPlayer->currentSeconds() > 0.1 && player().orvoPlayer->currentSeconds() < 2.0;
    }));
    EXPECT_EQ(currentIndex, 0);
    EXPECT_EQ(playState, 1);

    // Repeat all: the next recording.
    player().onRepeatBtnTap();
    player().videoSlider->setDoubleValue(0.9);
    player().onVideoSliderDidChange();
    ASSERT_TRUE(waitFor([&] { return currentIndex == 1; }));
    EXPECT_EQ(channelCount, 1);
    EXPECT_EQ(playMode, mode::ch1);

    // Next on the last entry plays the first, previous on the first the last.
    player().onNextBtnTap();
    EXPECT_EQ(currentIndex, 0);
    EXPECT_EQ(zoomIndex, 0);
    EXPECT_EQ(speedIndex, 1);
    player().onPrevBtnTap();
    EXPECT_EQ(currentIndex, 1);
    player().onStopBtnTap();
    EXPECT_EQ(playState, 0);
    EXPECT_FALSE(player().orvoPlayer);
}

TEST_F(TransportTest, DataPanelWindowAndWebPageButtons) {
    player().onSpeedBtnTap();
    EXPECT_EQ(dataPanelIndex, 1);
    EXPECT_TRUE(player().speedView->isVisibleTo(player().dataView));
    EXPECT_FALSE(player().motionView->isVisibleTo(player().dataView));
    player().onMotionBtnTap();
    EXPECT_EQ(dataPanelIndex, 0);
    EXPECT_TRUE(player().motionView->isVisibleTo(player().dataView));

    player().onFullScreenBtnTap();
    EXPECT_TRUE(player().isMaximizing);
    EXPECT_TRUE(w.window()->windowState().testFlag(Qt::WindowMaximized));
    EXPECT_FALSE(w.window()->windowState().testFlag(Qt::WindowFullScreen));
    player().onFullScreenBtnTap();
    EXPECT_FALSE(w.window()->windowState().testFlag(Qt::WindowMaximized));

    UserDefaults& defaults = UserDefaults::standard();
    const QString key = QLatin1String(DefaultsKey::kAppleLanguages);
    const std::optional<QStringList> saved = defaults.stringArray(key);
    for (const auto& [languages, domestic] : std::vector<std::pair<QStringList, bool>>{
             {{"en"}, false}, {{"ja"}, false}, {{"ko", "en"}, false}, {{"ko"}, true}, {{"zh"}, true}}) {
        defaults.set(key, languages);
        const QUrl url = OrvoViewController::makerWebPageUrl();
        EXPECT_EQ(url.path() == QLatin1String("/defaults/index.do"), domestic)
            << languages.join(',').toStdString();
        EXPECT_TRUE(url.isValid());
    }
    defaults.set(key, saved ? QVariant(*saved) : QVariant());
}

TEST(TransportPacketIndexTest, PositionToPacketStaysInsideTheList) {
    struct Case {
        double seconds, total;
        qint64 count, expected;
    };
    for (const Case& c : std::vector<Case>{{3, 6, 6, 3},
                                           {6, 6, 6, 5},  // the end: the last packet
                                           {16, 6, 6, 5}, // past the end
                                           {-7, 6, 6, 0}, // before the start
                                           {2.9, 6, 60, 29},
                                           {3, 0, 6, 0},  // no length
                                           {3, 6, 0, 0}}) // no packets
        EXPECT_EQ(OrvoViewController::packetIndexAt(c.seconds, c.total, c.count), c.expected)
            << c.seconds << " of " << c.total << " over " << c.count;
}
