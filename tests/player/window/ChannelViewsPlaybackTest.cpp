// Switching channels of a playing or paused three-channel recording keeps
// the position, and the window player looks right while it plays.

#include "common/ChannelViewsTestSupport.h"

#include "controls/CustomButton.h"
#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "platform/media/PlayerView.h"
#include "playback/ChannelSync.h"

#include <QDir>
#include <QImage>

#include <cstdlib>

using namespace channeltest;

namespace {

// Players with an item, and whether each of them plays.
QList<bool> playingStates(const OrvoViewController& player) {
    QList<bool> states;
    for (Player* p : player.players) {
        if (p->currentItem())
            states << (p->timeControlStatus() != Player::TimeControlStatus::Paused);
    }
    return states;
}

double lastSeconds() {
    return lastPlayTime ? lastPlayTime->seconds() : -1.0;
}

} // namespace

class ChannelSwitchTest : public ::testing::Test {
protected:
    PlayerWindow w;
    OrvoViewController& player() { return *w.player; }
};

TEST_F(ChannelSwitchTest, AllChannelsPlayInStepWithSoundFromTheSoundChannel) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 1.0));
    EXPECT_EQ(playState, 1);
    EXPECT_EQ(channelCount, 3);
    EXPECT_EQ(visibleChannelCount(player()), 4); // the grid; the fourth quarter stays black
    EXPECT_EQ(player().orvoPlayer.data(), player().players[0]);
    EXPECT_EQ(player().multipleModeBtn->imageName(), QStringLiteral("btn_ch_3_s"));
    EXPECT_EQ(player().ch4Btn->imageName(), QStringLiteral("btn_ch_2_d"));
    EXPECT_EQ(playingStates(player()), (QList<bool>{true, true, true}));
    EXPECT_FALSE(player().players[0]->isMuted());
    EXPECT_TRUE(player().players[1]->isMuted() ||
                !player().players[1]->currentItem()->asset()->playbackAudioTrack());
    // In step: every channel within a few frames of the sound channel.
    ASSERT_TRUE(waitFor([&] { return player().channelSync().estimatedSpread() < 0.1; }, 30000))
        << player().channelSync().estimatedSpread();
}

TEST_F(ChannelSwitchTest, SwitchingWhilePlayingGoesOnFromTheSamePosition) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 1.0));
    ASSERT_TRUE(waitFor([] { return lastSeconds() > 1.0; }));

    const double before = lastSeconds();
    player().onTouchCh2Btn();
    EXPECT_EQ(playMode, mode::ch2);
    EXPECT_EQ(player().videoNameText->text(), QStringLiteral("20241108-083000_R_N.mp4"));
    EXPECT_EQ(visibleChannelCount(player()), 1);
    EXPECT_TRUE(player().scrollViews[1]->isVisibleTo(player().videoContentView));
    EXPECT_EQ(player().scrollViews[1]->geometry(), player().videoContentView->rect());
    EXPECT_EQ(player().orvoPlayer.data(), player().players[1]);
    EXPECT_EQ(player().ch2Btn->imageName(), QStringLiteral("btn_ch_2_s"));
    EXPECT_EQ(player().multipleModeBtn->imageName(), QStringLiteral("btn_ch_3_n"));
    // The new channel plays on from where the recording was, not from the start.
    ASSERT_TRUE(waitFor([&] {
        Player* p = player().players[1];
        return p->timeControlStatus() == Player::TimeControlStatus::Playing &&
               p->currentSeconds() > before + 0.2;
    }));
    EXPECT_EQ(playState, 1);

    // Back to all channels: every channel goes on together from the same place.
    ASSERT_TRUE(waitFor([&] { return lastSeconds() > before + 0.3; }));
    const double again = lastSeconds();
    player().onMultipleModeBtnTap();
    EXPECT_EQ(playMode, mode::multiple_ch);
    EXPECT_EQ(player().videoNameText->text(), QString());
    ASSERT_TRUE(waitFor([&] {
        return playingStates(player()) == QList<bool>{true, true, true} &&
               player().players[0]->currentSeconds() > again + 0.2;
    }));
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(player().players[i]->currentSeconds(), again - 0.1) << i;
    EXPECT_EQ(player().orvoPlayer.data(), player().players[0]);
}

TEST_F(ChannelSwitchTest, SwitchingWhilePausedShowsTheSamePositionAndStaysPaused) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 1.5));
    player().playPause();
    ASSERT_EQ(playState, 2);
    // The tick keeps storing the paused position.
    ASSERT_TRUE(waitFor([&] {
        return lastPlayTime && std::abs(lastSeconds() - player().orvoPlayer->currentSeconds()) < 0.01;
    }));
    const double paused = lastSeconds();

    player().onTouchCh3Btn();
    EXPECT_EQ(playMode, mode::ch3);
    EXPECT_FALSE(player().defaultImgBtn->isVisible());
    EXPECT_EQ(player().orvoPlayer.data(), player().players[2]);
    ASSERT_TRUE(w.playersNear(paused));
    EXPECT_EQ(playState, 2);
    EXPECT_EQ(playingStates(player()), QList<bool>{false});

    player().onMultipleModeBtnTap();
    ASSERT_TRUE(waitFor([&] { return playingStates(player()).size() == 3; }));
    ASSERT_TRUE(w.playersNear(paused));
    EXPECT_EQ(playState, 2);
    EXPECT_EQ(playingStates(player()), (QList<bool>{false, false, false}));

    // Play resumes every channel at the chosen speed from there.
    player().playPause();
    EXPECT_EQ(playState, 1);
    ASSERT_TRUE(waitFor([&] { return playingStates(player()) == QList<bool>{true, true, true}; }));
    for (Player* p : player().players) {
        if (p->currentItem()) {
            EXPECT_GE(p->currentSeconds(), paused - 0.05);
        }
    }
}

TEST_F(ChannelSwitchTest, ChannelButtonWhileStoppedChangesOnlyModeNameLayoutAndPictures) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 0.3));
    // A stop that keeps the asset and the player (the full-screen player's stop: state 3).
    player().playPause();
    playState = 0;
    const QList<bool> before = playingStates(player());
    player().onTouchCh2Btn();
    EXPECT_EQ(playMode, mode::ch2);
    EXPECT_EQ(player().videoNameText->text(), QStringLiteral("20241108-083000_R_N.mp4"));
    EXPECT_EQ(visibleChannelCount(player()), 1);
    EXPECT_EQ(player().ch2Btn->imageName(), QStringLiteral("btn_ch_2_s"));
    EXPECT_EQ(playingStates(player()), before);
    EXPECT_EQ(playState, 0);

    playState = 3;
    player().defaultImgBtn->hide();
    player().onTouchCh1Btn();
    EXPECT_EQ(playMode, mode::ch1);
    EXPECT_TRUE(player().defaultImgBtn->isVisibleTo(player().videoView));
}

TEST_F(ChannelSwitchTest, OneChannelRecordingKeepsChannelOne) {
    w.listRecordings();
    currentIndex = 1; // the one-channel recording
    playMode = mode::multiple_ch;
    player().playPause();
    ASSERT_TRUE(waitFor([&] { return player().orvoPlayer && player().orvoPlayer->currentSeconds() > 0.2; }));
    EXPECT_EQ(playMode, mode::ch1);
    EXPECT_EQ(player().ch1Btn->imageName(), QStringLiteral("btn_ch_1_s"));
    EXPECT_FALSE(player().ch2Btn->isActivated());
    EXPECT_EQ(visibleChannelCount(player()), 1);
    // Its other channel buttons do nothing.
    player().updateChannelButtonImages(1, 2);
    player().onTouchCh2Btn();
    EXPECT_EQ(playMode, mode::ch1);
}

// Renders the window player while the recording plays in the one-, two- and
// four-channel layouts, zoomed 2x and grey; each shown channel has a picture.
// With KAVRIN_SCREENSHOT_DIR set the renders are kept there as PNG files.
TEST_F(ChannelSwitchTest, RendersTheLayoutsZoomedAndGrey) {
    ASSERT_TRUE(w.playThreeChannels(mode::multiple_ch, 1.0));
    zoomIndex = 2;
    player().setZoom(2);
    isMono = true;
    player().setMonoFilter(true);
    ASSERT_TRUE(player().avplayerViews[0]->isMono());
    ASSERT_TRUE(player().players[0]->isMonochrome());

    const QString dir = QString::fromLocal8Bit(qgetenv("KAVRIN_SCREENSHOT_DIR"));
    const auto render = [&](const QString& name, const QList<int>& shown) {
        // Let a few frames through the new layout.
        const double from = player().orvoPlayer->currentSeconds();
        waitFor([&] { return player().orvoPlayer->currentSeconds() > from + 0.4; }, 30000);
        const QImage window = w.window()->grab().toImage();
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            window.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
        }
        for (int channel : shown) {
            PlayerView* view = player().avplayerViews[channel];
            const QImage picture = view->grab().toImage();
            // The middle of a shown channel is picture, not black, and grey.
            const QColor middle = picture.pixelColor(picture.width() / 2, picture.height() / 2);
            int lit = 0;
            int coloured = 0;
            for (int y = picture.height() / 4; y < picture.height() * 3 / 4; y += 7) {
                for (int x = picture.width() / 4; x < picture.width() * 3 / 4; x += 7) {
                    const QColor c = picture.pixelColor(x, y);
                    lit += c.lightness() > 40 ? 1 : 0;
                    coloured += std::abs(c.red() - c.green()) + std::abs(c.green() - c.blue()) > 24 ? 1 : 0;
                }
            }
            EXPECT_GT(lit, 10) << name.toStdString() << " channel " << channel << " "
                               << middle.name().toStdString();
            EXPECT_EQ(coloured, 0) << name.toStdString() << " channel " << channel;
        }
    };
    render(QStringLiteral("channels-four"), {0, 1, 2});
    player().onTouchCh2Btn();
    ASSERT_TRUE(waitFor([&] { return player().players[1]->currentSeconds() > 0.5; }));
    player().setZoom(2);
    player().setMonoFilter(true);
    render(QStringLiteral("channels-one"), {1});
    player().onMultipleModeBtnTap();
    ASSERT_TRUE(waitFor([&] { return playingStates(player()).size() == 3; }));
    player().setZoom(2);
    player().setMonoFilter(true);
    // Two channels side by side or stacked, as the container's shape asks.
    channelCount = 2;
    player().layoutChannelViews(2);
    render(QStringLiteral("channels-two"), {0, 1});
}
