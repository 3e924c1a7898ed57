// The backup screen: its folder and radios when it opens, the radio rules,
// Save, Cancel and the keys, "requestPlay" on every ending, and the window
// player's segue that hands it the recording.

#include "BackupTestSupport.h"
#include "CaptureTestSupport.h"

#include "capture/BackupViewController.h"
#include "common/EventLoopWait.h"
#include "platform/system/Bookmark.h"
#include "platform/system/NotificationCenter.h"
#include "platform/ui/Storyboard.h"
#include "player/window/OrvoViewController.h"
#include "shared/NotificationNames.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using backuptest::BackupEnvironmentGuard;
using backuptest::entry;
using backuptest::recordings;

// Counts "requestPlay" while it lives.
class RequestPlayCounter {
public:
    RequestPlayCounter() {
        token = NotificationCenter::defaultCenter().addObserver(
            QString::fromLatin1(NotificationName::kRequestPlay), nullptr,
            [this](const Notification&) { ++count; });
    }
    ~RequestPlayCounter() { NotificationCenter::defaultCenter().removeObserver(token); }
    int count = 0;

private:
    NotificationCenter::ObserverToken token = 0;
};

// A backup screen presented over a host screen, as a segue shows it.
struct PresentedScreen {
    ViewController host;
    QPointer<BackupViewController> screen = new BackupViewController;
    PresentedScreen() {
        host.resize(640, 400);
        host.show();
        host.presentViewController(screen, SeguePresentation::Sheet);
    }
    bool closed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return screen.isNull();
    }
};

void storeBackupFolder(const QString& folder) {
    QDir().mkpath(folder);
    const std::optional<QByteArray> data = Bookmark::create(QUrl::fromLocalFile(folder));
    ASSERT_TRUE(data);
    UserDefaults::standard().set(QString::fromLatin1(DefaultsKey::kBackupBookMark), *data);
}

void pressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

TEST(BackupScreen, FolderAndRadiosWhenItOpens) {
    const auto& r = recordings();
    struct OpenCase {
        const char* label;
        const char* storedFolder; // below the test folder; "" none, "?" data that does not resolve
        std::optional<QString> recording;
        QString shownFolder; // "" none; "desktop" the Desktop folder
        bool audioEnabled, audioOn, videoOn;
    };
    const QList<OpenCase> cases = {
        {"no folder stored, sound", "", r.dataTrack, "desktop", true, true, false},
        {"no folder stored, no sound", "", r.silentAvi, "desktop", false, false, true},
        {"folder stored, no sound", "chosen", r.silentAvi, "chosen", false, false, true},
        {"folder stored, sound in the front file", "chosen", r.front, "chosen", true, true, false},
        {"stored data does not resolve", "?", r.silentAvi, "", false, false, true},
        {"nothing playing", "", std::nullopt, "desktop", true, true, false},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.label);
        BackupEnvironmentGuard guard;
        const QString chosen = guard.folder.path() + QLatin1Char('/') + QLatin1String(c.storedFolder);
        if (QLatin1String(c.storedFolder) == QLatin1String("?"))
            UserDefaults::standard().set(QString::fromLatin1(DefaultsKey::kBackupBookMark),
                                         QByteArray("junk"));
        else if (*c.storedFolder)
            storeBackupFolder(chosen);
        currentRecording.reset();
        if (c.recording)
            currentRecording = entry(*c.recording);
        BackupViewController screen;
        screen.loadViewIfNeeded();
        currentRecording.reset();
        const QString expected = c.shownFolder == QLatin1String("desktop") ? guard.desktop
                                 : c.shownFolder.isEmpty()                 ? QString()
                                                                           : chosen;
        EXPECT_EQ(screen.urlTextField->text(), expected);
        EXPECT_EQ(screen.directoryURL.has_value(), !expected.isEmpty());
        EXPECT_EQ(screen.audioRadioBtn->isEnabled(), c.audioEnabled);
        EXPECT_EQ(screen.audioRadioBtn->isChecked(), c.audioOn);
        EXPECT_EQ(screen.videoRadioBtn->isChecked(), c.videoOn);
    }
}

TEST(BackupScreen, ChosenFolderIsRememberedAndFollowedWhenRenamed) {
    BackupEnvironmentGuard guard;
    currentRecording.reset();
    const QString chosen = guard.folder.path() + QStringLiteral("/chosen");
    QDir().mkpath(chosen);
    {
        BackupViewController screen;
        screen.loadViewIfNeeded();
        // The panel: the folder is picked and Set.
        QTimer::singleShot(0, [&chosen] {
            auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(panel);
            panel->selectUrl(QUrl::fromLocalFile(chosen));
            QMetaObject::invokeMethod(panel, "accept");
        });
        screen.onURLBtnTap();
        EXPECT_EQ(screen.urlTextField->text(), chosen);
        EXPECT_EQ(screen.directoryURL, QUrl::fromLocalFile(chosen));
    }
    // Renamed since: the bookmark is stale, is stored again, and the screen shows the new path.
    const QString renamed = guard.folder.path() + QStringLiteral("/renamed");
    ASSERT_TRUE(QDir().rename(chosen, renamed));
    BackupViewController screen;
    screen.loadViewIfNeeded();
    EXPECT_EQ(screen.urlTextField->text(), renamed);
    const std::optional<QByteArray> stored =
        UserDefaults::standard().data(QString::fromLatin1(DefaultsKey::kBackupBookMark));
    ASSERT_TRUE(stored);
    const std::optional<Bookmark::Resolution> resolved = Bookmark::resolve(*stored);
    ASSERT_TRUE(resolved);
    EXPECT_FALSE(resolved->isStale);
    EXPECT_EQ(resolved->url, QUrl::fromLocalFile(renamed));
}

TEST(BackupScreen, RadiosAreAlwaysOpposite) {
    BackupEnvironmentGuard guard;
    currentRecording.reset();
    BackupViewController screen;
    screen.loadViewIfNeeded();
    QRadioButton* audio = screen.audioRadioBtn;
    QRadioButton* video = screen.videoRadioBtn;
    const QList<QRadioButton*> taps = {video, video, audio, audio, video, audio};
    for (QRadioButton* tapped : taps) {
        tapped->click();
        EXPECT_TRUE(tapped->isChecked());
        EXPECT_NE(audio->isChecked(), video->isChecked());
    }
}

TEST(BackupScreen, EveryEndingPostsRequestPlayOnce) {
    const auto& r = recordings();
    struct EndingCase {
        const char* label;
        std::function<void(BackupViewController*)> end;
        int runs; // tool runs made by the ending
    };
    const QList<EndingCase> cases = {
        {"Cancel", [](BackupViewController* s) { s->onCancelBtnTap(); }, 0},
        {"Escape", [](BackupViewController* s) { pressKey(s, Qt::Key_Escape); }, 0},
        {"Save", [](BackupViewController* s) { s->onSaveBtnTap(); }, 1},
        {"Return", [](BackupViewController* s) { pressKey(s, Qt::Key_Return); }, 1},
        {"closing the window", [](BackupViewController* s) { s->close(); }, 0},
    };
    for (const EndingCase& c : cases) {
        SCOPED_TRACE(c.label);
        BackupEnvironmentGuard guard;
        RequestPlayCounter requests;
        currentRecording = entry(r.boxes);
        {
            PresentedScreen presented;
            ASSERT_TRUE(presented.screen);
            EXPECT_EQ(requests.count, 0);
            c.end(presented.screen);
            EXPECT_TRUE(presented.closed());
            EXPECT_EQ(requests.count, 1);
        }
        currentRecording.reset();
        EXPECT_EQ(guard.runs.size(), c.runs);
        EXPECT_EQ(guard.desktopFiles().size(), c.runs);
        EXPECT_TRUE(guard.alerts.isEmpty());
    }
}

// A backup under way (a copy that takes its time) is stopped by Escape, the
// Cancel button or closing the screen: the screen closes, says nothing, and
// nothing of the copy, nor of the outputs after it, is left in the folder.
TEST(BackupScreen, ABackupUnderWayIsCancelledAndLeavesNothing) {
    const QList<std::function<void(BackupViewController*)>> cancels = {
        [](BackupViewController* s) { pressKey(s, Qt::Key_Escape); },
        [](BackupViewController* s) { capturetest::clickButton(s->findChild<QPushButton*>("cancelBtn")); },
        [](BackupViewController* s) { s->close(); },
    };
    for (qsizetype i = 0; i < cancels.size(); ++i) {
        SCOPED_TRACE(i);
        BackupEnvironmentGuard guard;
        QDir().mkpath(guard.desktop);
        const QString tool = backuptest::writeSlowTool(guard.folder.path());
        clipBackupEnvironment().ffmpegPath = [tool] { return tool; };
        RequestPlayCounter requests;
        currentRecording = entry(recordings().front, recordings().rear);
        PresentedScreen presented;
        // The copy runs in Save's own wait: the cancel comes from a timer, as a key or click would.
        bool cancelled = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            const QStringList names = guard.desktopFiles();
            if (!cancelled && names.size() == 1 &&
                QFileInfo(guard.desktop + '/' + names[0]).size() == backuptest::kSlowToolBytes) {
                cancelled = true;
                cancels[i](presented.screen);
            }
        });
        watch.start(20);
        QTimer::singleShot(0, presented.screen.data(), [&] {
            capturetest::clickButton(presented.screen->findChild<QPushButton*>(QStringLiteral("saveBtn")));
        });
        EXPECT_TRUE(looptest::waitUntil([&] { return presented.closed(); }, 60000));
        currentRecording.reset();
        EXPECT_TRUE(cancelled);
        EXPECT_EQ(guard.runs.size(), 1);
        EXPECT_TRUE(guard.desktopFiles().isEmpty()) << guard.desktopFiles().join(' ').toStdString();
        EXPECT_TRUE(guard.alerts.isEmpty() && guard.notices.isEmpty());
        EXPECT_EQ(requests.count, 1);
    }
}

TEST(BackupScreen, SaveCopiesEveryOutputInOrderIntoTheStoredFolder) {
    const auto& r = recordings();
    struct SaveCase {
        const char* label;
        orvoTableModel row;
        bool videoOnly;
        QList<QStringList> runs; // argument lists, the output's name last
    };
    const QString front = r.front, rear = r.rear, inside = r.inside, avi = r.twoStreamAvi;
    // Each copy is written under a hidden name in the folder and renamed when whole; the
    // files without sound (rear, inside) are copied without an extra stream.
    const QList<SaveCase> cases = {
        {"channel files with sound",
         entry(front, rear, inside),
         false,
         {{"-i", front, "-c:v", "copy", "-acodec", "copy", "-map", "0:0", "-map", "0:1", "-y", "-f", "mov",
           "20241108-090000_F_N_backup.mov"},
          {"-i", rear, "-c:v", "copy", "-acodec", "copy", "-map", "0:0", "-y", "-f", "mov",
           "20241108-090000_R_N_backup.mov"},
          {"-i", inside, "-c:v", "copy", "-acodec", "copy", "-map", "0:0", "-y", "-f", "mov",
           "20241108-090000_I_N_backup.mov"}}},
        {"two video streams, video only",
         entry(avi),
         true,
         {{"-i", avi, "-c:v", "copy", "-acodec", "copy", "-map", "0:0", "-y", "-f", "mov",
           "20241108-085000_N_F_backup.mov"},
          {"-i", avi, "-c:v", "copy", "-acodec", "copy", "-map", "0:1", "-y", "-f", "mov",
           "20241108-085000_N_R_backup.mov"}}},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.label);
        BackupEnvironmentGuard guard;
        const QString chosen = guard.folder.path() + QStringLiteral("/chosen");
        storeBackupFolder(chosen);
        currentRecording = c.row;
        PresentedScreen presented;
        // The panel's folder is not what Save reads: the stored one is read again.
        presented.screen->directoryURL = QUrl::fromLocalFile(guard.desktop);
        if (c.videoOnly)
            presented.screen->videoRadioBtn->click();
        presented.screen->onSaveBtnTap();
        currentRecording.reset();
        EXPECT_TRUE(presented.closed());
        ASSERT_EQ(guard.runs.size(), c.runs.size());
        QStringList names;
        for (int i = 0; i < c.runs.size(); ++i) {
            const QString name = c.runs[i].last();
            names.append(name);
            const QFileInfo temporary(guard.runs[i].last());
            EXPECT_EQ(temporary.absolutePath(), chosen);
            EXPECT_TRUE(
                temporary.fileName().startsWith(QLatin1Char('.') + name + QStringLiteral(".partial-")))
                << temporary.fileName().toStdString();
            // The input is read only as a camera's container, from the file alone.
            const QStringList restricted{"-format_whitelist", "mov,mp4,m4a,3gp,3g2,mj2,avi",
                                         "-protocol_whitelist", "file"};
            EXPECT_EQ(guard.runs[i].mid(0, restricted.size() + c.runs[i].size() - 1),
                      restricted + c.runs[i].mid(0, c.runs[i].size() - 1));
        }
        names.sort();
        EXPECT_EQ(QDir(chosen).entryList(QDir::Files | QDir::Hidden, QDir::Name), names);
        EXPECT_TRUE(guard.alerts.isEmpty()) << guard.alerts.join('\n').toStdString();
        ASSERT_EQ(guard.notices.size(), 1);
        EXPECT_TRUE(guard.notices[0].contains(chosen));
    }
}

TEST(BackupScreen, WindowPlayerSegueHandsOverTheRecording) {
    Storyboard& main = Storyboard::named(QString::fromLatin1(StoryboardName::kMain));
    main.registerController(QString::fromLatin1(ControllerIdentifier::kBackupViewController),
                            [] { return new BackupViewController; });
    main.registerSegue(QString::fromLatin1(SegueIdentifier::kOrvoToBackup),
                       QString::fromLatin1(ControllerIdentifier::kOrvoViewController),
                       QString::fromLatin1(ControllerIdentifier::kBackupViewController),
                       SeguePresentation::Sheet);
    BackupEnvironmentGuard guard;
    currentRecording.reset();
    OrvoViewController player;
    const backupData data{nullptr, QUrl::fromLocalFile(recordings().boxes)};

    auto* screen = qobject_cast<BackupViewController*>(
        player.performSegue(QString::fromLatin1(SegueIdentifier::kOrvoToBackup), QVariant::fromValue(data)));
    ASSERT_TRUE(screen);
    ASSERT_TRUE(screen->backupData);
    EXPECT_EQ(screen->backupData->url, data.url);
    screen->onCancelBtnTap();

    // Any other sender: the screen shows without a recording.
    screen = qobject_cast<BackupViewController*>(
        player.performSegue(QString::fromLatin1(SegueIdentifier::kOrvoToBackup), QVariant(data.url)));
    ASSERT_TRUE(screen);
    EXPECT_FALSE(screen->backupData);
    screen->onCancelBtnTap();
}

} // namespace
