// The window player's main road, driven through the real controller with
// generated recordings (software renderer, no sound device).

#include "common/PlaybackTestFixtures.h"
#include "player/window/OrvoViewController.h"

#include "controls/OrvoSliderCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "platform/media/PlayerItem.h"
#include "platform/system/Bundle.h"
#include "playback/ChannelSync.h"
#include "player/dataviews/OrvoLineChartView.h"

#include <QFile>

#include <cmath>
#include <memory>

using namespace playbacktest;

namespace {

constexpr double kFrame = 1.0 / 30.0;

class PlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetPlayerState();
        const Files& f = files();
        threeChannels = entry(f.front, f.rear, f.inside);
        single = entry(f.single);
        shortClip = entry(f.shortClip);
        silent = entry(f.frontSilent);
        setList({threeChannels, single, shortClip});
        guard = std::make_unique<MediaEnvironmentGuard>(movies.path());
        vc = std::make_unique<OrvoViewController>();
        vc->resize(1280, 800);
        vc->loadViewIfNeeded();
        if (vc->players.isEmpty())
            vc->setupPlayerViews(4);
        if (!vc->currentTrackTimer)
            vc->startPlayTimer();
        ASSERT_EQ(vc->players.size(), 4);
    }

    void TearDown() override {
        if (vc)
            vc->stopPlayback();
        vc.reset();
        guard.reset();
        resetPlayerState();
    }

    static void setList(const QList<orvoTableModel>& list) {
        recordingList = list;
        displayedRecordingList = list;
    }

    Player* player(int i) const { return vc->players.at(i); }
    bool hasItem(int i) const { return player(i)->currentItem() != nullptr; }
    bool hasSound(int i) const {
        auto item = player(i)->currentItem();
        return item && !item->asset()->tracksWithMediaType(MediaType::Audio).isEmpty();
    }
    bool playing(int i, double after = 0.2) const {
        return hasItem(i) && player(i)->rate() > 0.0 && player(i)->currentSeconds() > after;
    }
    // Waits until the given players are paused at `seconds` (within one frame).
    bool pausedAt(std::initializer_list<int> channels, double seconds) {
        return waitFor([&] {
            for (int i : channels)
                if (!hasItem(i) || player(i)->rate() != 0.0 ||
                    std::abs(player(i)->currentSeconds() - seconds) > kFrame ||
                    player(i)->currentItem()->status() != PlayerItem::Status::ReadyToPlay)
                    return false;
            return true;
        });
    }

    QTemporaryDir movies;
    std::unique_ptr<MediaEnvironmentGuard> guard;
    std::unique_ptr<OrvoViewController> vc;
    orvoTableModel threeChannels, single, shortClip, silent;
};

} // namespace

TEST_F(PlaybackTest, ThreeChannelsPlayInStepAndSwitchChannelsAtTheSamePosition) {
    vc->playNext(); // from no current recording: the first entry
    ASSERT_TRUE(waitFor([&] { return playing(0) && playing(1) && playing(2); }));
    EXPECT_EQ(currentIndex, 0);
    EXPECT_EQ(selectedRow, 0);
    EXPECT_EQ(playState, 1);
    EXPECT_EQ(channelCount, 3);
    EXPECT_EQ(playMode, mode::multiple_ch);
    EXPECT_EQ(vc->orvoPlayer, player(0));
    EXPECT_TRUE(hasSound(0));
    EXPECT_FALSE(hasSound(1));
    EXPECT_FALSE(hasSound(2));
    EXPECT_FALSE(hasItem(3)) << "the fourth quarter stays black";
    ASSERT_TRUE(currentRecording);
    EXPECT_EQ(currentRecording->url, threeChannels.url);

    // Paused and seeked together: every channel shows the same frame.
    vc->playPause();
    EXPECT_EQ(playState, 2);
    bool arrived = false;
    vc->channelSync().seekAll(MediaTime(2000, 1000), 0.0, [&](bool finished) { arrived = finished; });
    ASSERT_TRUE(waitFor([&] { return arrived; }));
    ASSERT_TRUE(pausedAt({0, 1, 2}, 2.0));
    ASSERT_TRUE(waitFor([&] { return lastPlayTime && std::abs(lastPlayTime->seconds() - 2.0) <= kFrame; }))
        << "the tick stores the paused position";

    // One channel while paused: prepared at the same position, still paused, with the sound.
    playMode = mode::ch2;
    vc->ready(currentAsset, currentIndex, true);
    ASSERT_TRUE(pausedAt({1}, 2.0));
    EXPECT_EQ(vc->orvoPlayer, player(1));
    EXPECT_TRUE(hasSound(1));
    EXPECT_FALSE(hasItem(0));
    EXPECT_FALSE(hasItem(2));
    EXPECT_EQ(playState, 2);

    // Back to all channels while paused.
    playMode = mode::multiple_ch;
    vc->ready(currentAsset, currentIndex, true);
    ASSERT_TRUE(pausedAt({0, 1, 2}, 2.0));
    EXPECT_EQ(vc->orvoPlayer, player(0));
    EXPECT_EQ(playState, 2);

    // Playing on, then one channel while playing: it goes on from the stored position.
    vc->playPause();
    ASSERT_TRUE(waitFor([&] { return playing(0, 2.3) && playing(1, 2.3) && playing(2, 2.3); }));
    const double before = lastPlayTime ? lastPlayTime->seconds() : 0.0;
    EXPECT_GT(before, 2.0);
    playMode = mode::ch3;
    vc->play(currentAsset, currentIndex, true);
    ASSERT_TRUE(waitFor([&] { return playing(2, before); }));
    EXPECT_EQ(vc->orvoPlayer, player(2));
    EXPECT_TRUE(hasSound(2));
    EXPECT_FALSE(hasItem(0));
    EXPECT_FALSE(hasItem(1));
    EXPECT_EQ(playState, 1);
}

TEST_F(PlaybackTest, StopEmptiesEveryPlayerAndTheScreen) {
    vc->playNext();
    ASSERT_TRUE(waitFor([&] { return playing(0); }));
    vc->stopPlayback();
    EXPECT_EQ(playState, 0);
    EXPECT_EQ(vc->orvoPlayer, nullptr);
    EXPECT_EQ(currentAsset, nullptr);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(hasItem(i)) << i;
    EXPECT_EQ(vc->videoCurrentText->text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(vc->videoTotalText->text(), QStringLiteral("00:00:00"));
    EXPECT_TRUE(vc->videoNameText->text().isEmpty());
    EXPECT_TRUE(vc->videoContentView->isHidden());
    EXPECT_FALSE(vc->motionChartView->orvoPacket.has_value());
    // A stopped player's tick changes nothing.
    lastPlayTime.reset();
    vc->timerInterval();
    EXPECT_FALSE(lastPlayTime);
}

TEST_F(PlaybackTest, NextAndPreviousWrapAndResetThePlaySettings) {
    setList({single, shortClip, silent});
    playMode = mode::ch1;
    struct Step {
        const char* what;
        qint64 from;
        bool next;
        qint64 expected; // -1: nothing plays
    };
    const Step steps[] = {
        {"next from none plays the first", -1, true, 0},
        {"next on the last plays the first", 2, true, 0},
        {"previous on the first plays the last", 0, false, 2},
        {"previous from none does nothing", -1, false, -1},
        {"next in the middle", 0, true, 1},
        {"previous in the middle", 2, false, 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        vc->stopPlayback();
        currentIndex = step.from;
        speedIndex = 3;
        zoomIndex = 2;
        isMono = true;
        step.next ? vc->playNext() : vc->playPrev();
        EXPECT_EQ(speedIndex, 1);
        EXPECT_EQ(zoomIndex, 0);
        EXPECT_FALSE(isMono);
        if (step.expected < 0) {
            EXPECT_EQ(currentIndex, step.from);
            EXPECT_EQ(vc->orvoPlayer, nullptr);
            continue;
        }
        EXPECT_EQ(currentIndex, step.expected);
        EXPECT_EQ(selectedRow, step.expected);
        ASSERT_TRUE(currentRecording);
        EXPECT_EQ(currentRecording->url, displayedRecordingList->at(step.expected).url);
        EXPECT_EQ(vc->videoNameText->text(), displayedRecordingList->at(step.expected).url.fileName());
        ASSERT_TRUE(waitFor([&] { return playing(0, 0.05); }));
    }
    // An empty list: nothing to play.
    vc->stopPlayback();
    setList({});
    currentIndex = -1;
    vc->playNext();
    EXPECT_EQ(vc->orvoPlayer, nullptr);
}

TEST_F(PlaybackTest, AOneChannelRecordingAfterAThreeChannelOnePlaysChannelOne) {
    playMode = mode::ch2;
    currentIndex = -1;
    vc->playNext();
    ASSERT_TRUE(waitFor([&] { return playing(1, 0.05); }));
    EXPECT_EQ(playMode, mode::ch2);
    vc->playNext(); // the one-channel recording
    EXPECT_EQ(playMode, mode::ch1);
    EXPECT_EQ(channelCount, 1);
    ASSERT_TRUE(waitFor([&] { return playing(0, 0.05); }));
    EXPECT_EQ(vc->orvoPlayer, player(0));
    EXPECT_TRUE(hasSound(0));
}

TEST_F(PlaybackTest, TheEndOfARecordingPlaysTheNextOrTheSameAgain) {
    setList({shortClip, single});
    playMode = mode::ch1;
    vc->playNext();
    ASSERT_EQ(currentIndex, 0);
    ASSERT_TRUE(waitFor([&] { return currentIndex == 1; }, 30000)) << "the next recording follows";
    ASSERT_TRUE(waitFor([&] { return playing(0, 0.05); }));

    vc->stopPlayback();
    currentIndex = -1;
    isRepeatOne = true;
    vc->playNext();
    ASSERT_EQ(currentIndex, 0);
    const auto firstItem = player(0)->currentItem();
    const auto asset = currentAsset;
    ASSERT_TRUE(waitFor([&] { return player(0)->currentItem() != firstItem && playing(0, 0.05); }, 30000))
        << "the same recording starts again";
    EXPECT_EQ(currentIndex, 0);
    EXPECT_EQ(currentAsset, asset) << "the same asset is replayed";
    EXPECT_LT(player(0)->currentSeconds(), 1.4);
}

TEST_F(PlaybackTest, AnAviRecordingIsRewrappedAndPlaysItsTwoChannels) {
    if (!Bundle::ffmpegPath())
        GTEST_SKIP() << "no ffmpeg";
    setList({entry(files().twoStreamAvi)});
    vc->playNext();
    ASSERT_TRUE(guard->alerts.isEmpty()) << guard->alerts.join('\n').toStdString();
    EXPECT_TRUE(QFile::exists(movies.path() + QStringLiteral("/temp.mov")));
    EXPECT_EQ(channelCount, 2);
    ASSERT_TRUE(waitFor([&] { return playing(0) && playing(1); }));
    EXPECT_FALSE(hasItem(2));
}

TEST_F(PlaybackTest, AnAviRecordingThatCannotBeRewrappedIsReported) {
    channelCompositionEnvironment().ffmpegPath = [] { return std::optional<QString>(); };
    setList({entry(files().twoStreamAvi)});
    vc->playNext();
    EXPECT_EQ(guard->alerts, (QStringList{QStringLiteral("Video Playback Error | ffmpeg path : nil"),
                                          QStringLiteral("Can't Play File | FilePath : ") +
                                              QUrl::fromLocalFile(files().twoStreamAvi).toString()}));
    EXPECT_EQ(vc->orvoPlayer, nullptr);
    EXPECT_EQ(playState, 0);
}

TEST_F(PlaybackTest, TheTimeDisplayFollowsOnlyPastTheFirstHundredth) {
    vc->videoCurrentText->setText(QStringLiteral("keep"));
    vc->videoTotalText->setText(QStringLiteral("keep"));
    struct Case {
        qint64 current, total;
        QString currentText, totalText;
    };
    const Case cases[] = {
        {0, 0, "keep", "keep"},   // a recording shorter than a second
        {1, 200, "keep", "keep"}, // 0.005 of it
        {2, 200, "keep", "keep"}, // exactly a hundredth
        {50, 100, "00:00:50", "00:01:40"},
        {3725, 36000, "01:02:05", "10:00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        vc->updateTimeDisplay(c.current, c.total);
        EXPECT_EQ(vc->videoCurrentText->text(), c.currentText);
        EXPECT_EQ(vc->videoTotalText->text(), c.totalText);
    }
    EXPECT_NEAR(vc->videoSlider->doubleValue(), 3725.0 / 36000.0, 0.01);

    // A player whose item is at exactly zero leaves the texts alone.
    setList({single});
    playMode = mode::ch1;
    vc->ready(Asset::assetWithUrl(single.url), 0, false);
    ASSERT_TRUE(pausedAt({0}, 0.0));
    vc->updateTimeDisplay(50, 100);
    EXPECT_EQ(vc->videoCurrentText->text(), QStringLiteral("01:02:05"));
    // The tick queues the display for the main queue.
    vc->updatePlayTime(2, 4);
    EXPECT_EQ(vc->videoCurrentText->text(), QStringLiteral("01:02:05"));
}
