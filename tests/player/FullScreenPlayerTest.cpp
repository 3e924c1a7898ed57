// The full-screen player driven through the window controller as a person
// toggles full screen, with the three-channel recording of the playback
// fixtures playing in the software renderer without sound.

#include "PlaybackTestFixtures.h"

#include "OrvoImgBtnCell.h"
#include "controls/DefaultImgBtnCell.h"
#include "metadata/RecordingList.h"
#include "platform/KeyMonitor.h"
#include "platform/Player.h"
#include "platform/PlayerItem.h"
#include "platform/Storyboard.h"
#include "player/MainViewController.h"
#include "player/OrvoViewController.h"
#include "player/OrvoWindowController.h"
#include "player/PlayerState.h"
#include "player/RecordingPlayback.h"
#include "player/SegueIdentifiers.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

using playbacktest::entry;
using playbacktest::files;
using playbacktest::waitFor;

namespace {

void pause(int ms) {
    waitFor([] { return false; }, ms);
}

void typeKey(QWidget* window, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &release);
}

class FullScreenPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        playbacktest::resetPlayerState();
        Storyboard& main = Storyboard::named(StoryboardName::kMain);
        previousWindowPlayer = main.registerController(ControllerIdentifier::kOrvoViewController,
                                                       [] { return new OrvoViewController; });
        previousFullScreenPlayer = main.registerController(ControllerIdentifier::kMainViewController,
                                                           [] { return new MainViewController; });
        const playbacktest::Files& f = files();
        recordingList = {entry(f.front, f.rear, f.inside), entry(f.single)};
        displayedRecordingList = recordingList;
        currentIndex = -1;
        window = std::make_unique<OrvoWindowController>();
        window->setContentViewController(
            main.instantiateController(ControllerIdentifier::kOrvoViewController));
        window->showWindow();
        window->window()->resize(1100, 720);
        window->window()->activateWindow();
        waitFor([this] { return QApplication::activeWindow() == window->window(); });
    }
    void TearDown() override {
        if (auto* player = qobject_cast<OrvoViewController*>(window->contentViewController()))
            player->stopPlayback();
        window.reset();
        Storyboard& main = Storyboard::named(StoryboardName::kMain);
        main.registerController(ControllerIdentifier::kOrvoViewController, previousWindowPlayer);
        main.registerController(ControllerIdentifier::kMainViewController, previousFullScreenPlayer);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        playbacktest::resetPlayerState();
    }

    OrvoViewController* windowPlayer() const {
        return qobject_cast<OrvoViewController*>(window->contentViewController());
    }
    MainViewController* fullScreen() const {
        return qobject_cast<MainViewController*>(window->contentViewController());
    }
    // Plays the three-channel recording in the window player in `channels` until past `seconds`.
    void playInWindow(mode channels, double seconds) {
        playMode = channels;
        windowPlayer()->playPause();
        ASSERT_TRUE(waitFor([&] {
            return windowPlayer()->orvoPlayer && windowPlayer()->orvoPlayer->currentSeconds() > seconds;
        }));
    }
    double fullScreenSeconds() const {
        return fullScreen() && fullScreen()->player ? fullScreen()->player->currentSeconds() : -1.0;
    }

    std::unique_ptr<OrvoWindowController> window;
    Storyboard::ControllerFactory previousWindowPlayer;
    Storyboard::ControllerFactory previousFullScreenPlayer;
};

} // namespace

TEST_F(FullScreenPlayerTest, HandOverBothWaysKeepsPositionChannelAndPlayState) {
    // Playing in all channels: full screen goes on in channel 1 where the window player was.
    playInWindow(mode::multiple_ch, 1.0);
    zoomIndex = 2;
    isMono = true;
    window->toggleFullScreen();
    ASSERT_NE(fullScreen(), nullptr);
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_EQ(window->window()->geometry(), window->window()->screen()->geometry());
    const double handedOver = lastPlayTime ? lastPlayTime->seconds() : 0.0;
    ASSERT_TRUE(waitFor([&] { return fullScreenSeconds() > handedOver + 0.2; }));
    EXPECT_GE(fullScreenSeconds(), handedOver - 0.05) << "jumped back";
    EXPECT_EQ(playMode, mode::ch1);
    EXPECT_EQ(playState, 1);
    EXPECT_EQ(fullScreen()->playModeBtn->imageName(), QStringLiteral("btn_all_1ch"));
    EXPECT_EQ(zoomIndex, 2);
    EXPECT_TRUE(isMono);

    // Paused in full screen: the new window player prepares the same place without playing.
    fullScreen()->onPlayPauseBtnTap();
    EXPECT_EQ(playState, 2);
    pause(200);
    const double pausedAt = fullScreenSeconds();
    window->toggleFullScreen();
    ASSERT_NE(windowPlayer(), nullptr);
    EXPECT_FALSE(window->isFullScreen());
    ASSERT_TRUE(waitFor([&] {
        return windowPlayer()->orvoPlayer && windowPlayer()->orvoPlayer->currentItem() &&
               std::abs(windowPlayer()->orvoPlayer->currentSeconds() - pausedAt) < 0.05;
    }));
    pause(300);
    EXPECT_NEAR(windowPlayer()->orvoPlayer->currentSeconds(), pausedAt, 0.05);
    EXPECT_EQ(playState, 2);

    // Stopped (state 0): full screen plays nothing; Escape leaves it.
    windowPlayer()->stopPlayback();
    currentIndex = -1;
    window->toggleFullScreen();
    ASSERT_NE(fullScreen(), nullptr);
    EXPECT_FALSE(fullScreen()->player);
    EXPECT_TRUE(waitFor([] { return currentIndex == 0; }));
    EXPECT_FALSE(fullScreen()->defaultImgBtn->isHidden());
    for (QAction* action : window->window()->actions())
        if (action->shortcut() == QKeySequence(Qt::Key_Escape))
            action->trigger();
    EXPECT_FALSE(window->isFullScreen());
}

TEST_F(FullScreenPlayerTest, ChannelButtonStopAndSteppingInFullScreen) {
    window->toggleFullScreen();
    MainViewController* screen = fullScreen();
    ASSERT_NE(screen, nullptr);

    // The play button with no player starts the current entry from its start, with the resets.
    speedIndex = 3;
    screen->onPlayPauseBtnTap();
    ASSERT_TRUE(screen->player);
    EXPECT_EQ(playState, 1);
    EXPECT_EQ(speedIndex, 1);
    ASSERT_TRUE(waitFor([&] { return fullScreenSeconds() > 0.3; }));

    // The channel button cycles 1 -> 2 -> 3 -> 1 at the same position, playing or paused.
    const std::vector<const char*> images{"btn_all_2ch", "btn_all_3ch", "btn_all_1ch"};
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (i == 1)
            screen->onPlayPauseBtnTap(); // paused for the second step
        const double before = fullScreenSeconds();
        screen->onPlayModeBtnTap();
        EXPECT_EQ(screen->playModeBtn->imageName(), QLatin1String(images[i]));
        EXPECT_EQ(screen->playModeTag(), static_cast<int>((i + 1) % 3));
        ASSERT_TRUE(waitFor([&] { return std::abs(fullScreenSeconds() - before) < 0.3; }));
    }
    EXPECT_EQ(playState, 2);

    // Stop drops the player; the title goes back to the application's.
    screen->onStopBtnTap();
    EXPECT_EQ(playState, 3);
    EXPECT_FALSE(screen->player);
    EXPECT_EQ(window->window()->windowTitle(), QStringLiteral("Kavrin Player"));

    // Next plays the composition (three channels), previous the chosen file's own track.
    currentIndex = 1;
    screen->onNextBtnTap();
    ASSERT_TRUE(screen->player);
    EXPECT_EQ(currentIndex, 0);
    EXPECT_EQ(videoTrackCount(currentAsset), 3);
    screen->onPrevBtnTap();
    screen->onPrevBtnTap();
    EXPECT_EQ(currentIndex, 0);
    EXPECT_EQ(videoTrackCount(currentAsset), 1);
}

TEST_F(FullScreenPlayerTest, ControlBarHidesAtTheFifthIdleTickAndKeysNeedTheKeyWindow) {
    window->toggleFullScreen();
    MainViewController* screen = fullScreen();
    ASSERT_NE(screen, nullptr);
    screen->mouseTimer->stop(); // the test drives the ticks
    for (int tick = 1; tick <= 4; ++tick)
        screen->mouseTimerInterval();
    EXPECT_FALSE(screen->menuView->isHidden());
    screen->mouseTimerInterval();
    EXPECT_TRUE(screen->menuView->isHidden());
    screen->onMouseMoved();
    EXPECT_FALSE(screen->menuView->isHidden());

    // A key acts only while the full-screen window is the key window.
    KeyEvent key;
    key.keyCode = KeyCode::k4;
    EXPECT_TRUE(screen->handleHotKey(key));
    EXPECT_EQ(speedIndex, 3);
    QWidget other;
    other.show();
    other.activateWindow();
    waitFor([&] { return QApplication::activeWindow() == &other; });
    key.keyCode = KeyCode::k1;
    EXPECT_FALSE(screen->handleHotKey(key));
    EXPECT_EQ(speedIndex, 3);
}

TEST_F(FullScreenPlayerTest, ASeekPastTheEndGoesOn) {
    playInWindow(mode::ch1, 0.3);
    window->toggleFullScreen();
    MainViewController* screen = fullScreen();
    ASSERT_TRUE(screen && waitFor([&] { return screen->player && fullScreenSeconds() > 0.3; }));
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == window->window(); }, 20000));
    const std::shared_ptr<PlayerItem> ended = screen->player->currentItem();
    typeKey(window->window(), Qt::Key_Right);
    typeKey(window->window(), Qt::Key_Right);
    EXPECT_TRUE(waitFor([&] {
        return currentIndex == 1 && playState == 1 && screen->player &&
               screen->player->currentItem() != ended && fullScreenSeconds() > 0.2;
    })) << "index "
        << currentIndex << " state " << int(playState);
}
