// The screens the window player opens, met with the keyboard as a person meets them: opened with
// a click on their button, Tab through every control, Escape to close, and the player's window
// taking the keys again at once.

#include "common/KeyInput.h"
#include "common/PlaybackTestFixtures.h"
#include "common/PointerInput.h"

#include "app/AppMain.h"
#include "app/MainStoryboard.h"
#include "platform/Storyboard.h"
#include "platform/WindowController.h"
#include "player/window/OrvoViewController.h"
#include "shared/SegueIdentifiers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QRadioButton>
#include <QSet>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <memory>

using playbacktest::entry;
using playbacktest::files;
using playbacktest::waitFor;

namespace {

class ScreenKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        playbacktest::resetPlayerState();
        registerMainStoryboard();
        registerShellStoryboard();
        // A held list keeps the window player from its start-up step.
        const playbacktest::Files& f = files();
        recordingList = {entry(f.front, f.rear, f.inside), entry(f.single)};
        displayedRecordingList = recordingList;
        window.reset(Storyboard::named(StoryboardName::kMain).instantiateInitialWindowController());
        ASSERT_TRUE(window);
        window->showWindow();
        ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == window->window(); }));
    }
    void TearDown() override {
        if (OrvoViewController* shown = player())
            shown->stopPlayback();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        playbacktest::resetPlayerState();
    }

    OrvoViewController* player() const {
        return window ? qobject_cast<OrvoViewController*>(window->contentViewController()) : nullptr;
    }
    QWidget* control(const char* name) const { return player()->findChild<QWidget*>(QLatin1String(name)); }

    // Every control a person can use on `screen`: enabled, shown buttons and pop-ups.
    static QSet<QWidget*> controlsOf(QWidget* screen) {
        QSet<QWidget*> controls;
        for (QWidget* child : screen->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(child) || qobject_cast<QComboBox*>(child);
            if (control && child->isVisibleTo(screen) && child->isEnabled())
                controls.insert(child);
        }
        return controls;
    }

    std::unique_ptr<WindowController> window;
};

} // namespace

TEST_F(ScreenKeysTest, EveryScreenTabsThroughItsControlsClosesOnEscapeAndGivesTheKeysBack) {
    ASSERT_TRUE(player());
    keyboard::press(Qt::Key_Space, QStringLiteral(" "));
    ASSERT_TRUE(
        waitFor([&] { return player()->orvoPlayer && player()->orvoPlayer->currentSeconds() > 0.2; }));
    keyboard::press(Qt::Key_Space, QStringLiteral(" "));
    ASSERT_EQ(playState, 2);

    const struct {
        const char* button;
        const char* screen;
    } screens[] = {
        {"helpBtn", "HelpViewController"},
        {"settingBtn", "SettingViewController"},
        {"captureBtn", "CaptureViewController"},
        {"saveBtn", "BackupViewController"},
    };
    for (const auto& row : screens) {
        SCOPED_TRACE(row.screen);
        QWidget* button = control(row.button);
        ASSERT_TRUE(button);
        pointer::click(button, button->rect().center());
        ASSERT_TRUE(waitFor([&] {
            QWidget* active = QApplication::activeWindow();
            return active && QLatin1String(active->metaObject()->className()) == QLatin1String(row.screen);
        }));
        QPointer<QWidget> screen = QApplication::activeWindow();

        // Tab reaches every control, the focus visible on each in turn.
        const QSet<QWidget*> controls = controlsOf(screen);
        QSet<QWidget*> reached;
        for (int tab = 0; tab < 2 * controls.size() + 2; ++tab) {
            keyboard::press(Qt::Key_Tab);
            reached.insert(QApplication::focusWidget());
        }
        for (QWidget* missed : controls - reached) {
            // A group of radio buttons is one stop, at its checked button; arrows choose in it.
            const bool groupReached = qobject_cast<QRadioButton*>(missed) &&
                                      std::any_of(reached.begin(), reached.end(), [&](QWidget* stop) {
                                          return qobject_cast<QRadioButton*>(stop) &&
                                                 stop->parentWidget() == missed->parentWidget();
                                      });
            if (!groupReached)
                ADD_FAILURE() << "Tab never reaches " << missed->objectName().toStdString();
        }

        keyboard::press(Qt::Key_Escape);
        ASSERT_TRUE(waitFor([&] { return !screen || !screen->isVisible(); }));
        EXPECT_TRUE(waitFor([&] { return QApplication::activeWindow() == window->window(); }));
        EXPECT_EQ(QGuiApplication::focusWindow(), window->window()->windowHandle());
        const int zoom = zoomIndex;
        keyboard::press(zoom == 0 ? Qt::Key_BracketRight : Qt::Key_BracketLeft,
                        QString::fromLatin1(zoom == 0 ? "]" : "["));
        EXPECT_NE(zoomIndex, zoom) << "the player's window has no keys";
    }
}

TEST_F(ScreenKeysTest, AnAlertGivesTheKeysBackWhenItCloses) {
    // A row that is no recording: double-clicked, it ends in an alert, closed with Return.
    const playbacktest::Files& f = files();
    recordingList = {entry(f.notMedia)};
    displayedRecordingList = recordingList;
    player()->reloadTableData();
    bool alertShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* alert = QApplication::activeModalWidget(); alert && alert->isActiveWindow()) {
            alertShown = true;
            keyboard::press(Qt::Key_Return, QStringLiteral("\r"));
        }
    });
    watch.start(50);
    QTableView* table = player()->orvoTableView;
    pointer::doubleClick(table->viewport(), QPoint(20, table->rowViewportPosition(0) + 5));
    ASSERT_TRUE(waitFor([&] { return alertShown && !QApplication::activeModalWidget(); }));
    watch.stop();
    EXPECT_TRUE(waitFor([&] { return QApplication::activeWindow() == window->window(); }));
    keyboard::press(Qt::Key_BracketRight, QStringLiteral("]"));
    EXPECT_EQ(zoomIndex, 1) << "the player's window has no keys";
}
