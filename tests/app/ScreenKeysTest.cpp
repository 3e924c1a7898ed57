// The screens and alerts of the window player met with the keyboard: opened with a click, Tab
// through every control, Escape or Return to close, and the player's window taking the keys
// again at once.

#include "common/KeyInput.h"
#include "common/PlaybackTestFixtures.h"
#include "common/PointerInput.h"

#include "app/AppMain.h"
#include "app/MainStoryboard.h"
#include "platform/ui/Storyboard.h"
#include "platform/ui/WindowController.h"
#include "player/window/OrvoViewController.h"
#include "shared/SegueIdentifiers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <memory>

using playbacktest::entry;
using playbacktest::files;
using playbacktest::waitFor;

class ScreenKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        playbacktest::resetPlayerState();
        registerMainStoryboard();
        registerShellStoryboard();
        // A held list keeps the window player from its start-up step.
        const playbacktest::Files& f = files();
        recordingList = {entry(f.front, f.rear, f.inside), entry(f.notMedia)};
        displayedRecordingList = recordingList;
        window.reset(Storyboard::named(StoryboardName::kMain).instantiateInitialWindowController());
        window->showWindow();
        ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == window->window(); }));
        player = qobject_cast<OrvoViewController*>(window->contentViewController());
    }
    void TearDown() override {
        player->stopPlayback();
        window.reset();
        playbacktest::resetPlayerState();
    }
    // The player's window takes the keys: ] or [ changes the zoom.
    void expectThePlayerHasTheKeys() {
        EXPECT_TRUE(waitFor([&] { return QApplication::activeWindow() == window->window(); }));
        const int zoom = zoomIndex;
        keyboard::press(zoom == 0 ? Qt::Key_BracketRight : Qt::Key_BracketLeft);
        EXPECT_NE(zoomIndex, zoom);
    }

    std::unique_ptr<WindowController> window;
    OrvoViewController* player = nullptr;
};

TEST_F(ScreenKeysTest, EveryScreenTabsThroughItsControlsClosesOnEscapeAndGivesTheKeysBack) {
    keyboard::press(Qt::Key_Space, QStringLiteral(" "));
    ASSERT_TRUE(waitFor([&] { return player->orvoPlayer && player->orvoPlayer->currentSeconds() > 0.2; }));
    for (const char* button : {"helpBtn", "settingBtn", "captureBtn", "saveBtn"}) {
        SCOPED_TRACE(button);
        QWidget* opener = player->findChild<QWidget*>(QLatin1String(button));
        pointer::click(opener, opener->rect().center());
        ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() != window->window(); }));
        QPointer<QWidget> screen = QApplication::activeWindow();
        QSet<QWidget*> reached;
        for (int tab = 0; tab < 12; ++tab) {
            keyboard::press(Qt::Key_Tab);
            reached.insert(QApplication::focusWidget());
        }
        for (QWidget* control : screen->findChildren<QWidget*>()) {
            const bool usable =
                (qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control)) &&
                control->isVisible() && control->isEnabled();
            // A group of radio buttons is one stop; arrows choose in it.
            const bool groupReached = qobject_cast<QRadioButton*>(control) &&
                                      std::any_of(reached.begin(), reached.end(), [&](QWidget* stop) {
                                          return qobject_cast<QRadioButton*>(stop) &&
                                                 stop->parentWidget() == control->parentWidget();
                                      });
            if (usable && !reached.contains(control) && !groupReached)
                ADD_FAILURE() << "Tab never reaches " << control->objectName().toStdString();
        }
        keyboard::press(Qt::Key_Escape);
        ASSERT_TRUE(waitFor([&] { return !screen || !screen->isVisible(); }));
        expectThePlayerHasTheKeys();
    }
    // Return confirms: the help screen closes on its default button.
    pointer::click(player->findChild<QWidget*>("helpBtn"), QPoint(5, 5));
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() != window->window(); }));
    keyboard::press(Qt::Key_Return, QStringLiteral("\r"));
    expectThePlayerHasTheKeys();
}

TEST_F(ScreenKeysTest, AnAlertGivesTheKeysBackWhenItCloses) {
    // A row that is no recording ends in an alert, closed with Return.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (QWidget* alert = QApplication::activeModalWidget(); alert && alert->isActiveWindow())
            keyboard::press(Qt::Key_Return, QStringLiteral("\r"));
    });
    answer.start(50);
    QTableView* table = player->orvoTableView;
    pointer::doubleClick(table->viewport(), QPoint(20, table->rowViewportPosition(1) + 5));
    answer.stop();
    expectThePlayerHasTheKeys();
}
