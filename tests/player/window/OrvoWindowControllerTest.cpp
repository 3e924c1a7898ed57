#include "player/window/OrvoWindowController.h"

#include "platform/system/NotificationCenter.h"
#include "platform/ui/Storyboard.h"
#include "platform/ui/ViewController.h"
#include "shared/NotificationNames.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

#include "common/EventLoopWait.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QPointer>

#include <gtest/gtest.h>

using namespace looptest;

namespace {

// Stands in for a player screen: notes what windowTransition was when it disappeared.
class StubPlayer : public ViewController {
public:
    explicit StubPlayer(bool withLogo) {
        if (withLogo) {
            auto* logo = new QWidget(this);
            logo->setObjectName("logoFullScreenView");
            logo->hide();
        }
    }
    int transitionAtDisappear = -1;

protected:
    void viewWillDisappear() override { transitionAtDisappear = windowTransition; }
};

class TestWindowController : public OrvoWindowController {
public:
    using OrvoWindowController::windowWillEnterFullScreen;
};

class OrvoWindowControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Storyboard& main = Storyboard::named(StoryboardName::kMain);
        previousWindowPlayer = main.registerController(ControllerIdentifier::kOrvoViewController,
                                                       [] { return new StubPlayer(true); });
        previousFullScreenPlayer = main.registerController(ControllerIdentifier::kMainViewController,
                                                           [] { return new StubPlayer(false); });
        windowTransition = 0;
    }
    void TearDown() override {
        Storyboard& main = Storyboard::named(StoryboardName::kMain);
        main.registerController(ControllerIdentifier::kOrvoViewController, previousWindowPlayer);
        main.registerController(ControllerIdentifier::kMainViewController, previousFullScreenPlayer);
        windowTransition = 0;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A window controller showing a window player, as the storyboard makes it.
    std::unique_ptr<TestWindowController> makeController() {
        auto controller = std::make_unique<TestWindowController>();
        controller->setContentViewController(
            Storyboard::named(StoryboardName::kMain)
                .instantiateController(ControllerIdentifier::kOrvoViewController));
        controller->showWindow();
        return controller;
    }

    Storyboard::ControllerFactory previousWindowPlayer;
    Storyboard::ControllerFactory previousFullScreenPlayer;
};

} // namespace

TEST_F(OrvoWindowControllerTest, WindowIsTitledAndHasNoEarlierFrame) {
    auto controller = makeController();
    EXPECT_EQ(controller->window()->windowTitle(), "Kavrin Player");
    EXPECT_FALSE(controller->previousWindowFrame().has_value());
}

TEST_F(OrvoWindowControllerTest, FullScreenSwapsThePlayersAndRestoresTheFrame) {
    auto controller = makeController();
    const QRect frame(40, 50, 900, 640);
    controller->setFrame(frame);
    QPointer<ViewController> windowPlayer = controller->contentViewController();
    QPointer<QWidget> logo = windowPlayer->findChild<QWidget*>("logoFullScreenView");
    ASSERT_NE(logo, nullptr);

    controller->toggleFullScreen();
    QCoreApplication::processEvents();
    EXPECT_EQ(windowTransition, 2);
    EXPECT_EQ(controller->previousWindowFrame(), frame);
    ViewController* fullScreenPlayer = controller->contentViewController();
    ASSERT_NE(fullScreenPlayer, nullptr);
    EXPECT_EQ(fullScreenPlayer->storyboardIdentifier(), ControllerIdentifier::kMainViewController);
    EXPECT_EQ(controller->window()->centralWidget(), fullScreenPlayer);
    ASSERT_FALSE(windowPlayer.isNull());
    // The old window player saw "entering full screen" when it went, and its logo was shown.
    EXPECT_EQ(static_cast<StubPlayer*>(windowPlayer.data())->transitionAtDisappear, 2);
    EXPECT_FALSE(logo->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(windowPlayer.isNull());

    controller->toggleFullScreen();
    QCoreApplication::processEvents();
    EXPECT_EQ(windowTransition, 0);
    ViewController* newWindowPlayer = controller->contentViewController();
    ASSERT_NE(newWindowPlayer, nullptr);
    EXPECT_EQ(newWindowPlayer->storyboardIdentifier(), ControllerIdentifier::kOrvoViewController);
    EXPECT_TRUE(newWindowPlayer->isViewLoaded());

    // Moved elsewhere at once, the window gets its frame back 0.1 s after leaving.
    controller->setFrame(QRect(0, 0, 300, 200));
    EXPECT_NE(controller->frame(), frame);
    const bool restored = spinUntil([&] { return controller->frame() == frame; });
    EXPECT_TRUE(restored) << controller->frame().x() << "," << controller->frame().y() << " "
                          << controller->frame().width() << "x" << controller->frame().height();
}

TEST_F(OrvoWindowControllerTest, EnteringWithoutAWindowRemembersNoFrame) {
    auto controller = makeController();
    delete controller->window();
    controller->windowWillEnterFullScreen();
    EXPECT_FALSE(controller->previousWindowFrame().has_value());
    EXPECT_EQ(windowTransition, 2);
}

TEST_F(OrvoWindowControllerTest, MiniaturiseAndRestoreRecordTheTransition) {
    auto controller = makeController();
    QCoreApplication::processEvents();
    controller->window()->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(windowTransition, 1);
    controller->window()->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(windowTransition, 3);
}

TEST_F(OrvoWindowControllerTest, EndOfLiveResizeIsPosted) {
    auto controller = makeController();
    spinFor(WindowController::kLiveResizeSettleMs + 50);
    int posts = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        NotificationName::kWindowDidEndLiveResize, nullptr, [&](const Notification& n) {
            EXPECT_EQ(n.object, nullptr);
            EXPECT_TRUE(n.userInfo.isEmpty());
            ++posts;
        });
    controller->window()->resize(700, 500);
    controller->window()->resize(720, 520);
    EXPECT_TRUE(spinUntil([&] { return posts > 0; }));
    spinFor(100);
    EXPECT_EQ(posts, 1);
    NotificationCenter::defaultCenter().removeObserver(token);
}

TEST_F(OrvoWindowControllerTest, MissingScreenKeepsTheCurrentContent) {
    auto controller = makeController();
    ViewController* windowPlayer = controller->contentViewController();
    Storyboard::named(StoryboardName::kMain)
        .registerController(ControllerIdentifier::kMainViewController, nullptr);
    controller->toggleFullScreen();
    EXPECT_EQ(controller->contentViewController(), windowPlayer);
}
