#include "platform/ui/WindowController.h"
#include "platform/ui/ViewController.h"

#include "common/EventLoopWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using namespace looptest;

namespace {

class Content : public ViewController {
public:
    explicit Content(QStringList* journal) : m_journal(journal) {}

protected:
    void viewDidLoad() override { m_journal->append("content viewDidLoad"); }
    void viewWillAppear() override { m_journal->append("content viewWillAppear"); }
    void viewWillDisappear() override { m_journal->append("content viewWillDisappear"); }
    void viewDidLayout() override { ++layouts; }

public:
    int layouts = 0;

private:
    QStringList* m_journal;
};

class RecordingWindowController : public WindowController {
public:
    // Declared before the controller: the content reports into it while the window goes.
    explicit RecordingWindowController(QStringList& lines) : journal(lines) {}
    QStringList& journal;
    bool allowClose = true;

protected:
    void windowDidLoad() override { journal.append("windowDidLoad"); }
    bool windowShouldClose() override {
        journal.append("windowShouldClose");
        return allowClose;
    }
    void windowWillEnterFullScreen() override { journal.append("windowWillEnterFullScreen"); }
    void windowDidEnterFullScreen() override { journal.append("windowDidEnterFullScreen"); }
    void windowWillExitFullScreen() override { journal.append("windowWillExitFullScreen"); }
    void windowDidExitFullScreen() override { journal.append("windowDidExitFullScreen"); }
    void windowDidEndLiveResize() override { journal.append("windowDidEndLiveResize"); }
    void windowDidMiniaturize() override { journal.append("windowDidMiniaturize"); }
    void windowDidDeminiaturize() override { journal.append("windowDidDeminiaturize"); }
};

} // namespace

TEST(WindowController, ContentAppearsAndIsReplaced) {
    QStringList journal;
    RecordingWindowController controller(journal);
    auto* first = new Content(&controller.journal);
    controller.setContentViewController(first);
    EXPECT_TRUE(first->isViewLoaded());
    controller.showWindow();
    EXPECT_EQ(controller.window()->centralWidget(), first);

    EXPECT_EQ(first->windowController(), &controller);
    EXPECT_EQ(WindowController::controllerOf(controller.window()), &controller);
    QWidget loose;
    EXPECT_EQ(WindowController::controllerOf(&loose), nullptr);
    EXPECT_EQ(WindowController::controllerOf(nullptr), nullptr);
    QPointer<Content> old = first;
    auto* second = new Content(&controller.journal);
    controller.journal.clear();
    controller.setContentViewController(second);
    EXPECT_EQ(controller.contentViewController(), second);
    EXPECT_EQ(controller.window()->centralWidget(), second);
    EXPECT_EQ(controller.journal,
              (QStringList{"content viewWillDisappear", "content viewDidLoad", "content viewWillAppear"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());
}

TEST(WindowController, FullScreenToggleCallsTheHooksAroundTheChange) {
    QStringList journal;
    RecordingWindowController controller(journal);
    controller.showWindow();
    controller.journal.clear();
    controller.toggleFullScreen();
    EXPECT_TRUE(controller.isFullScreen());
    controller.toggleFullScreen();
    EXPECT_FALSE(controller.isFullScreen());
    EXPECT_EQ(controller.journal, (QStringList{"windowWillEnterFullScreen", "windowDidEnterFullScreen",
                                               "windowWillExitFullScreen", "windowDidExitFullScreen"}));

    // The desktop's own full-screen button goes through the same hooks, once each way, and the
    // window covers its screen (no window manager sizes it here).
    controller.journal.clear();
    controller.window()->showFullScreen();
    EXPECT_TRUE(controller.isFullScreen());
    EXPECT_EQ(controller.window()->geometry(), controller.window()->screen()->geometry());
    controller.window()->showNormal();
    EXPECT_FALSE(controller.isFullScreen());
    EXPECT_EQ(controller.journal, (QStringList{"windowWillEnterFullScreen", "windowDidEnterFullScreen",
                                               "windowWillExitFullScreen", "windowDidExitFullScreen"}));
}

TEST(WindowController, LiveResizeEndsOnceAfterTheLastResize) {
    QStringList journal;
    RecordingWindowController controller(journal);
    controller.window()->resize(600, 400);
    controller.showWindow();
    spinUntil([] { return false; }, WindowController::kLiveResizeSettleMs + 100);
    controller.journal.clear();

    QElapsedTimer clock;
    clock.start();
    qint64 lastResize = 0;
    qint64 longestGap = 0; // a loaded machine may hold the test back between two resizes
    for (int i = 0; i < 5; ++i) {
        const qint64 now = clock.elapsed();
        if (i > 0)
            longestGap = std::max(longestGap, now - lastResize);
        controller.window()->resize(620 + 10 * i, 420);
        lastResize = clock.elapsed();
        spinUntil([] { return false; }, 50);
    }
    ASSERT_TRUE(spinUntil([&] { return controller.journal.contains("windowDidEndLiveResize"); }));
    EXPECT_GE(clock.elapsed() - lastResize, WindowController::kLiveResizeSettleMs - 20);
    spinUntil([] { return false; }, 300);
    // Resizes closer together than the settling time end the resize once.
    if (longestGap < WindowController::kLiveResizeSettleMs) {
        EXPECT_EQ(controller.journal.count("windowDidEndLiveResize"), 1);
    }
}

TEST(WindowController, MiniaturiseAndRestoreOrderTheContentAppearance) {
    QStringList journal;
    RecordingWindowController controller(journal);
    controller.setContentViewController(new Content(&controller.journal));
    controller.showWindow();
    QCoreApplication::processEvents();
    controller.journal.clear();

    controller.window()->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller.isMiniaturized());
    controller.window()->showNormal();
    QCoreApplication::processEvents();
    EXPECT_FALSE(controller.isMiniaturized());
    EXPECT_EQ(controller.journal, (QStringList{"content viewWillDisappear", "windowDidMiniaturize",
                                               "windowDidDeminiaturize", "content viewWillAppear"}));
}

TEST(WindowController, CloseAsksTheController) {
    QStringList journal;
    RecordingWindowController controller(journal);
    controller.showWindow();
    controller.allowClose = false;
    EXPECT_FALSE(controller.window()->close());
    EXPECT_TRUE(controller.window()->isVisible());
    controller.allowClose = true;
    EXPECT_TRUE(controller.window()->close());
    EXPECT_FALSE(controller.window()->isVisible());
    EXPECT_EQ(controller.journal.count("windowShouldClose"), 2);
}

TEST(WindowController, FrameRoundTripsAndMissingWindowIsHarmless) {
    QStringList journal;
    RecordingWindowController controller(journal);
    controller.showWindow();
    const QRect frame(50, 60, 700, 500);
    controller.setFrame(frame);
    EXPECT_EQ(controller.frame(), frame);

    delete controller.window();
    EXPECT_EQ(controller.window(), nullptr);
    EXPECT_FALSE(controller.frame().isValid());
    controller.setFrame(frame);
    controller.toggleFullScreen();
    controller.setContentViewController(new ViewController);
    EXPECT_NE(controller.contentViewController(), nullptr);
}

TEST(WindowController, WindowDidLoadOnce) {
    QStringList journal;
    RecordingWindowController controller(journal);
    controller.loadWindow();
    controller.showWindow();
    EXPECT_EQ(controller.journal.count("windowDidLoad"), 1);
}

TEST(WindowPlacement, TheFirstShowFitsTheWindowOnItsScreenAndCentresIt) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize large = area.size() + QSize(480, 200);
    // Requested size, minimum size, and the window's width once shown.
    const std::tuple<QSize, QSize, int> cases[] = {
        {area.size() / 2, QSize(100, 100), area.width() / 2},
        {large, QSize(100, 100), -1}, // as wide as the area, frame included
        {large, QSize(area.width() + 200, 100), area.width() + 200},
    };
    for (const auto& [size, minimum, width] : cases) {
        WindowController controller;
        controller.window()->setMinimumSize(minimum);
        controller.window()->resize(size);
        controller.showWindow();
        const QRect outer = controller.window()->frameGeometry();
        EXPECT_EQ(width < 0 ? outer.width() : controller.frame().width(), width < 0 ? area.width() : width);
        EXPECT_EQ(area.contains(outer), width <= area.width());
        EXPECT_EQ(outer.left(), area.left() + std::max(0, (area.width() - outer.width()) / 2));
        EXPECT_EQ(outer.top(), area.top() + std::max(0, (area.height() - outer.height()) / 2));
        // Shown again later, it stays where it was put.
        const QRect moved(area.topLeft() + QPoint(10, 10), minimum.expandedTo(QSize(150, 120)));
        controller.setFrame(moved);
        controller.showWindow();
        EXPECT_EQ(controller.frame(), moved);
    }
}
