#include "app/AppDelegate.h"
#include "app/AppMain.h"

#include "platform/ui/Storyboard.h"
#include "platform/ui/ViewController.h"
#include "player/window/OrvoWindowController.h"
#include "shared/SegueIdentifiers.h"

#include <QApplication>
#include <QMainWindow>
#include <QPalette>
#include <QStyle>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

class StubScreen : public ViewController {};

// The storyboard "Main" as the shell builds it, with stand-ins for the two players.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        Storyboard& main = Storyboard::named(StoryboardName::kMain);
        main.clear();
        main.registerController(ControllerIdentifier::kOrvoViewController, [] { return new StubScreen; });
        main.registerController(ControllerIdentifier::kMainViewController, [] { return new StubScreen; });
        registerShellStoryboard();
    }
    void TearDown() override {
        Storyboard::named(StoryboardName::kMain).clear();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

TEST_F(ShellTest, StoryboardMakesTheWindowWithTheWindowPlayer) {
    std::unique_ptr<WindowController> controller(
        Storyboard::named(StoryboardName::kMain).instantiateInitialWindowController());
    ASSERT_NE(controller, nullptr);
    EXPECT_NE(dynamic_cast<OrvoWindowController*>(controller.get()), nullptr);
    ASSERT_NE(controller->contentViewController(), nullptr);
    EXPECT_EQ(controller->contentViewController()->storyboardIdentifier(),
              ControllerIdentifier::kOrvoViewController);
    EXPECT_EQ(controller->window()->windowTitle(), "Kavrin Player");

    // A second registration keeps the first initial controller.
    registerShellStoryboard();
    EXPECT_EQ(Storyboard::named(StoryboardName::kMain).initialControllerIdentifier(),
              ControllerIdentifier::kOrvoWindowController);
}

TEST_F(ShellTest, ClosingTheWindowQuitsTheApplication) {
    QApplication::setQuitOnLastWindowClosed(false); // only the window controller may end it
    std::unique_ptr<WindowController> controller(
        Storyboard::named(StoryboardName::kMain).instantiateInitialWindowController());
    ASSERT_NE(controller, nullptr);
    controller->showWindow();

    bool timedOut = false;
    QTimer::singleShot(0, controller->window(), [&] { controller->window()->close(); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(7);
    });
    watchdog.start(5000);
    const int status = QApplication::exec();
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(controller->window()->isVisible());
}

TEST(AppDelegate, SetsTheDarkAppearanceOnTheWholeApplication) {
    AppDelegate delegate;
    EXPECT_TRUE(delegate.window.isNull());
    delegate.applicationDidFinishLaunching();
    EXPECT_EQ(QApplication::style()->name().toLower(), "fusion");
    const QPalette palette = QApplication::palette();
    EXPECT_LT(palette.color(QPalette::Window).lightness(), 80);
    EXPECT_GT(palette.color(QPalette::WindowText).lightness(), 180);
    EXPECT_LT(palette.color(QPalette::Base).lightness(), palette.color(QPalette::Text).lightness());
    // New widgets get it too.
    QWidget widget;
    EXPECT_EQ(widget.palette().color(QPalette::Window), palette.color(QPalette::Window));
}
