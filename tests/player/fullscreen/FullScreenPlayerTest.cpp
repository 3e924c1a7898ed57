// The full-screen player driven through the window controller as a person
// toggles full screen, with the three-channel recording of the playback
// fixtures playing in the software renderer without sound.

#include "common/KeyInput.h"
#include "common/PlaybackTestFixtures.h"

#include "controls/BackgroundView.h"
#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoImgBtnCell.h"
#include "metadata/DistrictTable.h"
#include "metadata/RecordingList.h"
#include "platform/media/Asset.h"
#include "platform/media/AssetTrack.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/media/ScrollView.h"
#include "platform/ui/KeyMonitor.h"
#include "platform/ui/Storyboard.h"
#include "playback/RecordingPlayback.h"
#include "player/fullscreen/FullScreenPlayer.h"
#include "player/fullscreen/MainViewController.h"
#include "player/window/OrvoViewController.h"
#include "player/window/OrvoWindowController.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QTableView>
#include <QToolTip>
#include <QWindow>

#include <gtest/gtest.h>

// The window system's way in, as the platform reports a pointer movement to a window. Exported by
// Qt GUI for tests.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

using playbacktest::entry;
using playbacktest::files;
using playbacktest::waitFor;

namespace {

void pause(int ms) {
    waitFor([] { return false; }, ms);
}

int mouseClock = 1000;

// The pointer over `view` (its middle unless `at` is given), as the window system reports it to
// the window, which hands it to the view under the pointer.
void mouseTo(QWidget* view, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint at) {
    QWindow* window = view->window()->windowHandle();
    ASSERT_TRUE(window);
    const QPointF global = view->mapToGlobal(QPointF(at.isNull() ? view->rect().center() : at));
    qt_handleMouseEvent(window, window->mapFromGlobal(global), global, buttons, button, type, Qt::NoModifier,
                        mouseClock += 20);
}

void moveOver(QWidget* view, QPoint at = {}) {
    mouseTo(view, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at);
}

void clickOn(QWidget* view) {
    ASSERT_TRUE(view && view->isVisible());
    mouseTo(view, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {});
    mouseTo(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {});
    mouseTo(view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {});
    mouseClock += 1000; // no double click with the next one
}

// The share of lit points in the middle of `view` as the window shows it (0 for a black picture).
double litShare(QWidget* view) {
    const QImage shown = view->window()->grab().toImage();
    const QRect area(view->mapTo(view->window(), QPoint(0, 0)), view->size());
    int lit = 0;
    int all = 0;
    for (int y = area.top() + area.height() / 4; y < area.bottom() - area.height() / 4; y += 5) {
        for (int x = area.left() + area.width() / 4; x < area.right() - area.width() / 4; x += 5) {
            lit += shown.pixelColor(x, y).lightness() > 40 ? 1 : 0;
            ++all;
        }
    }
    return all ? static_cast<double>(lit) / all : 0.0;
}

QImage videoArea(QWidget* view) {
    const QImage shown = view->window()->grab().toImage();
    return shown.copy(QRect(view->mapTo(view->window(), QPoint(0, 0)), view->size()));
}

// The file whose video track the player shows.
QString shownFile(const Player* player) {
    if (!player || !player->currentItem() || !player->currentItem()->asset())
        return {};
    const auto track = player->currentItem()->asset()->playbackVideoTrack();
    return track ? track->sourcePath() : QString();
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
    QWidget* control(const char* name) const {
        return fullScreen() ? fullScreen()->findChild<QWidget*>(QLatin1String(name)) : nullptr;
    }
    // The full-screen player shows `file` from past `seconds` on, with a picture.
    bool showsPictureOf(const QString& file, double seconds = 0.0) const {
        const MainViewController* screen = fullScreen();
        return screen && screen->player && shownFile(screen->player) == file &&
               fullScreenSeconds() > seconds && screen->videoScrollView->isVisible() &&
               litShare(screen->singlePlayerView) > 0.3;
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
    if (districtTable().isEmpty())
        loadAdminDistrictInfo();
    const qsizetype districts = districtTable().size();
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
    // The new window player finds the district table loaded and adds no second copy.
    EXPECT_EQ(districtTable().size(), districts);

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
    const auto ticks = [&](int count) {
        for (int tick = 0; tick < count; ++tick)
            screen->mouseTimerInterval();
    };
    // Nothing plays: the default picture lies over the background view.
    ticks(4);
    EXPECT_FALSE(screen->menuView->isHidden());
    ticks(1);
    EXPECT_TRUE(screen->menuView->isHidden());
    moveOver(screen->defaultImgBtn);
    EXPECT_FALSE(screen->menuView->isHidden()) << "over the default picture";
    EXPECT_EQ(screen->mouseTemp, 0);

    // Movements over the bar keep it shown, each one counting the five ticks afresh.
    for (const char* name : {"playPauseBtn", "videoSlider", "volumeSlider", "playModeBtn"}) {
        ticks(4);
        moveOver(control(name));
        EXPECT_EQ(screen->mouseTemp, 0) << name;
    }
    ticks(4);
    EXPECT_FALSE(screen->menuView->isHidden());
    ticks(1);
    EXPECT_TRUE(screen->menuView->isHidden());

    // Playing: the bar comes back over the video, and the bar's buttons are in reach again.
    moveOver(screen->backgroundView, QPoint(10, 10));
    ticks(1);
    clickOn(control("playPauseBtn"));
    ASSERT_TRUE(waitFor([&] { return fullScreenSeconds() > 0.3; }));
    ticks(5);
    ASSERT_TRUE(screen->menuView->isHidden());
    moveOver(screen->singlePlayerView, QPoint(40, 40));
    EXPECT_FALSE(screen->menuView->isHidden()) << "over the video";
    ticks(1);
    clickOn(control("playPauseBtn"));
    EXPECT_EQ(playState, 2);

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
    keyboard::type(window->window(), Qt::Key_Right);
    keyboard::type(window->window(), Qt::Key_Right);
    EXPECT_TRUE(waitFor([&] {
        return currentIndex == 1 && playState == 1 && screen->player &&
               screen->player->currentItem() != ended && fullScreenSeconds() > 0.2;
    })) << "index "
        << currentIndex << " state " << int(playState);
}

// The window player's channel goes on in full screen (channel 1 after all channels), with a
// picture, and comes back to the window player the same way.
TEST_F(FullScreenPlayerTest, EveryChannelOfTheWindowPlayerPlaysInFullScreen) {
    const playbacktest::Files& f = files();
    const struct {
        mode shown;
        QString file;
        mode back;
    } cases[] = {{mode::ch2, f.rear, mode::ch2},
                 {mode::ch3, f.inside, mode::ch3},
                 {mode::multiple_ch, f.front, mode::ch1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(modeName(c.shown));
        playInWindow(c.shown, 0.5);
        keyboard::type(window->window(), Qt::Key_Return, QStringLiteral("\r"), Qt::ControlModifier);
        ASSERT_NE(fullScreen(), nullptr);
        const double handedOver = lastPlayTime ? lastPlayTime->seconds() : 0.0;
        EXPECT_TRUE(waitFor([&] { return showsPictureOf(c.file, handedOver + 0.3); }))
            << shownFile(fullScreen()->player).toStdString() << " at " << fullScreenSeconds();
        EXPECT_EQ(fullScreen()->playModeTag(), modeIndex(c.back));
        EXPECT_EQ(playMode, c.back);

        keyboard::type(window->window(), Qt::Key_F11);
        ASSERT_NE(windowPlayer(), nullptr);
        EXPECT_TRUE(waitFor([&] {
            return playMode == c.back && windowPlayer()->orvoPlayer &&
                   shownFile(windowPlayer()->orvoPlayer) == c.file;
        }));
        windowPlayer()->stopPlayback();
    }
}

// Paused before full screen: the same channel shows its still picture at the same place.
TEST_F(FullScreenPlayerTest, PausedHandOverShowsTheStillPicture) {
    const playbacktest::Files& f = files();
    for (const auto& [shown, file] : {std::pair{mode::ch1, f.front}, std::pair{mode::ch2, f.rear}}) {
        SCOPED_TRACE(modeName(shown));
        playInWindow(shown, 1.0);
        keyboard::type(window->window(), Qt::Key_Space, QStringLiteral(" "));
        ASSERT_TRUE(waitFor([] { return playState == 2; }));
        keyboard::type(window->window(), Qt::Key_F11);
        ASSERT_NE(fullScreen(), nullptr);
        const double pausedAt = lastPlayTime ? lastPlayTime->seconds() : -1.0;
        EXPECT_TRUE(waitFor([&] {
            return showsPictureOf(file) && std::abs(fullScreenSeconds() - pausedAt) < 0.1;
        })) << fullScreenSeconds()
            << " for " << pausedAt;
        EXPECT_EQ(playState, 2);
        // The picture comes to rest there.
        EXPECT_TRUE(waitFor([&] {
            const QImage first = videoArea(fullScreen()->singlePlayerView);
            pause(300);
            return videoArea(fullScreen()->singlePlayerView) == first;
        }));
        EXPECT_GT(litShare(fullScreen()->singlePlayerView), 0.3);
        keyboard::type(window->window(), Qt::Key_F11);
        ASSERT_NE(windowPlayer(), nullptr);
        windowPlayer()->stopPlayback();
    }
}

// The channel button steps 1 -> 2 -> 3 -> 1 with the picture following, playing and paused;
// next and previous go back to channel 1, and the end of a recording goes on to the next.
TEST_F(FullScreenPlayerTest, ChannelButtonPictureFollowsAndTheRecordingGoesOn) {
    const playbacktest::Files& f = files();
    keyboard::type(window->window(), Qt::Key_F11);
    ASSERT_NE(fullScreen(), nullptr);
    clickOn(control("playPauseBtn"));
    ASSERT_TRUE(waitFor([&] { return showsPictureOf(f.front, 0.3); }));

    const struct {
        bool paused;
        QString file;
        int tag;
    } steps[] = {{false, f.rear, 1}, {false, f.inside, 2}, {false, f.front, 0}, {true, f.rear, 1}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.tag);
        if (step.paused && playState == 1)
            clickOn(control("playPauseBtn"));
        const double before = fullScreenSeconds();
        clickOn(control("playModeBtn"));
        EXPECT_TRUE(waitFor([&] { return showsPictureOf(step.file, before - 0.3); }))
            << shownFile(fullScreen()->player).toStdString() << " at " << fullScreenSeconds();
        EXPECT_EQ(fullScreen()->playModeTag(), step.tag);
        EXPECT_EQ(playMode, static_cast<mode>(step.tag));
        EXPECT_EQ(playState, step.paused ? 2 : 1);
    }

    // Next from channel 2 plays channel 1 of the next recording.
    clickOn(control("nextBtn"));
    EXPECT_EQ(playMode, mode::ch1);
    EXPECT_EQ(fullScreen()->playModeTag(), 0);
    EXPECT_TRUE(waitFor([&] { return currentIndex == 1 && showsPictureOf(f.single, 0.3); }));

    // Back to the three channels with "."; channel 2 pressed, then the recording ends by itself.
    keyboard::type(window->window(), Qt::Key_Period, QStringLiteral("."));
    ASSERT_TRUE(waitFor([&] { return currentIndex == 0 && showsPictureOf(f.front, 0.3); }));
    clickOn(control("playModeBtn"));
    ASSERT_TRUE(waitFor([&] { return showsPictureOf(f.rear, 0.5); }));
    EXPECT_TRUE(waitFor([&] { return currentIndex == 1 && showsPictureOf(f.single, 0.5); }, 30000))
        << "index " << currentIndex << " " << shownFile(fullScreen()->player).toStdString();
    EXPECT_EQ(playMode, mode::ch1);
    const QImage earlier = videoArea(fullScreen()->singlePlayerView);
    EXPECT_TRUE(waitFor([&] { return videoArea(fullScreen()->singlePlayerView) != earlier; }))
        << "the picture stands still";
}

// However quickly full screen is toggled, the window ends at the frame it had before, or covers
// the screen when the last toggle entered full screen.
TEST_F(FullScreenPlayerTest, QuickTogglesComeBackToTheEarlierFrame) {
    const QRect earlier = window->window()->geometry();
    ASSERT_NE(earlier, window->window()->screen()->geometry());
    const struct {
        int toggles;
        int gapMs;
    } cases[] = {{2, 0}, {2, 40}, {3, 40}, {30, 40}, {31, 0}, {2, 500}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.toggles) + " toggles " + std::to_string(c.gapMs) + " ms apart");
        for (int i = 0; i < c.toggles; ++i) {
            keyboard::type(window->window(), Qt::Key_F11);
            if (c.gapMs)
                pause(c.gapMs);
        }
        const bool full = c.toggles % 2 == 1;
        const QRect expected = full ? window->window()->screen()->geometry() : earlier;
        EXPECT_EQ(window->isFullScreen(), full);
        EXPECT_TRUE(waitFor([&] { return window->window()->geometry() == expected; }));
        // A restore still on its way must not move the window afterwards.
        EXPECT_FALSE(waitFor([&] { return window->window()->geometry() != expected; }, 500))
            << "moved to " << window->window()->geometry().width() << "x"
            << window->window()->geometry().height();
        if (full) {
            keyboard::type(window->window(), Qt::Key_F11);
            EXPECT_TRUE(waitFor([&] { return window->window()->geometry() == earlier; }));
        }
    }
}

TEST_F(FullScreenPlayerTest, EscapeClosesAnOpenDropDownOfTheBarAndNothingElse) {
    window->toggleFullScreen();
    for (const char* name : {"speedMenu", "zoomMenu", "monoMenu"}) {
        clickOn(control(name));
        ASSERT_TRUE(waitFor([] { return QApplication::activePopupWidget() != nullptr; })) << name;
        keyboard::press(Qt::Key_Escape);
        ASSERT_TRUE(waitFor([] { return !QApplication::activePopupWidget(); }));
        EXPECT_TRUE(window->isFullScreen()) << name;
    }
    // With nothing open it leaves full screen. (The offscreen platform leaves a closed pop-up
    // the active window; a desktop gives the window its keys back.)
    window->window()->activateWindow();
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == window->window(); }));
    keyboard::press(Qt::Key_Escape);
    EXPECT_FALSE(window->isFullScreen());
    // The new window player's list holds the keys, as at start.
    EXPECT_TRUE(waitFor([&] { return windowPlayer() && windowPlayer()->orvoTableView->hasFocus(); }));
}

TEST_F(FullScreenPlayerTest, AToolTipOfTheBarNeverCoversAControlOfIt) {
    const auto expectTipsClear = [&](QWidget* screen, const std::vector<const char*>& bars) {
        for (const char* name : {"videoSlider", "playPauseBtn", "volumeSlider"}) {
            // The pointer rests near the left end of the control, then the tip shows.
            QWidget* rested = screen->findChild<QWidget*>(QLatin1String(name));
            moveOver(rested, QPoint(6, rested->height() / 2));
            QPointer<QWidget> tip;
            ASSERT_TRUE(waitFor([&] {
                for (QWidget* widget : QApplication::topLevelWidgets())
                    if (widget->windowType() == Qt::ToolTip && widget->isVisible())
                        tip = widget;
                return !tip.isNull();
            }));
            for (const char* bar : bars) {
                for (QWidget* control :
                     screen->findChild<QWidget*>(QLatin1String(bar))->findChildren<QWidget*>()) {
                    const QRect area(control->mapToGlobal(QPoint()), control->size());
                    const bool isControl =
                        qobject_cast<QAbstractButton*>(control) || qobject_cast<QAbstractSlider*>(control);
                    EXPECT_FALSE(isControl && control->isVisible() && area.intersects(tip->geometry()))
                        << name << "'s tip covers " << control->objectName().toStdString();
                }
            }
            QToolTip::hideText();
            ASSERT_TRUE(waitFor([&] { return !tip || !tip->isVisible(); }));
        }
    };
    expectTipsClear(windowPlayer(), {"videoSliderView", "orvoFooterView"});
    window->toggleFullScreen();
    expectTipsClear(fullScreen(), {"menuView"});
}
