// The capture screen: its folder from the stored bookmark or the desktop, the three radios,
// Save writing the image of the chosen kind and closing, a failed write keeping it open,
// Escape and Return, and "requestPlay" at every ending.

#include "CaptureTestSupport.h"

#include "capture/CaptureViewController.h"
#include "common/EventLoopWait.h"
#include "platform/system/Bookmark.h"
#include "platform/system/NotificationCenter.h"
#include "platform/system/UserDefaults.h"
#include "shared/DefaultsKeys.h"
#include "shared/NotificationNames.h"
#include "shared/PlayerState.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <string>

using namespace capturetest;

namespace {

const QString kBookmarkKey = QString::fromLatin1(DefaultsKey::kCaptureBookMark);

QImage filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The window image, the frame of three channels and (optionally) the map page.
captureData sampleCapture(bool withMap) {
    captureData data;
    data.imgs = {filled(800, 600, Qt::gray), filled(640, 1080, Qt::red)};
    if (withMap)
        data.imgs.append(filled(1200, 800, Qt::blue));
    data.name = QStringLiteral("20241108-083000_F_N");
    data.playMode = mode::multiple_ch;
    data.time = QStringLiteral("00h00m07s");
    data.isMultipleVideo = true;
    return data;
}

class CaptureScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        desktop = home.filePath(QStringLiteral("Desktop"));
        setDesktopFolder(desktop);
        UserDefaults::standard().removeObject(kBookmarkKey);
        isMono = false;
        token = NotificationCenter::defaultCenter().addObserver(
            nullptr, QString::fromLatin1(NotificationName::kRequestPlay), nullptr,
            [this](const Notification&) { ++requestPlays; });
        host = std::make_unique<ViewController>();
        host->setAttribute(Qt::WA_DontShowOnScreen);
        host->resize(900, 700);
        host->show();
    }
    void TearDown() override {
        NotificationCenter::defaultCenter().removeObserver(token);
        UserDefaults::standard().removeObject(kBookmarkKey);
        host.reset();
        isMono = false;
    }

    // The screen presented over the host with `data`, as the segue presents it.
    CaptureViewController* present(std::optional<captureData> data) {
        auto* screen = new CaptureViewController;
        screen->setAttribute(Qt::WA_DontShowOnScreen);
        if (data)
            screen->receiveCaptureData(*data);
        host->presentViewController(screen, SeguePresentation::Sheet);
        return screen;
    }

    static void key(QWidget* target, int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
    }

    QTemporaryDir home;
    QString desktop;
    int requestPlays = 0;
    NotificationCenter::ObserverToken token = 0;
    std::unique_ptr<ViewController> host;
};

TEST_F(CaptureScreen, ExactlyOneKindIsChosenWhateverIsClicked) {
    QPointer<CaptureViewController> screen = present(sampleCapture(true));
    const auto chosen = [&] {
        return QList<bool>{screen->capturePlayerRadio->isChecked(), screen->captureVideoRadio->isChecked(),
                           screen->captureVideoAndMapRadio->isChecked()};
    };
    EXPECT_EQ(chosen(), (QList<bool>{false, true, false})); // the storyboard's choice
    QRadioButton* radios[] = {screen->capturePlayerRadio, screen->captureVideoRadio,
                              screen->captureVideoAndMapRadio};
    for (const int first : {0, 1, 2, 2, 0, 0, 1}) {
        radios[first]->click();
        QList<bool> expected{false, false, false};
        expected[first] = true;
        EXPECT_EQ(chosen(), expected) << "after clicking radio " << first;
    }
    screen->onCancelBtnTap();
}

TEST_F(CaptureScreen, SaveWritesTheChosenKindIntoTheStoredFolderAndCloses) {
    const QString chosen = home.filePath(QStringLiteral("stills"));
    ASSERT_TRUE(QDir().mkpath(chosen));
    UserDefaults::standard().set(kBookmarkKey, *Bookmark::create(QUrl::fromLocalFile(chosen)));

    const struct {
        int radio; // 0 window, 1 video, 2 video and map
        bool withMap;
        const char* file;
        QSize size;
    } rows[] = {
        {0, true, "20241108-083000_A_N_player_00h00m07s.jpg", QSize(800, 600)},
        {1, true, "20241108-083000_A_N_video_00h00m07s.jpg", QSize(640, 1080)},
        {2, true, "20241108-083000_A_N_map_00h00m07s.jpg", QSize(640, 1506)},
        {2, false, "20241108-083000_A_N_map_00h00m07s.jpg", QSize(640, 1080)}, // no map: the frame alone
    };
    // Links under the names, to a file and to a folder outside: replaced, never written through.
    const QString precious = home.filePath(QStringLiteral("precious.txt"));
    QFile kept(precious);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("precious");
    kept.close();
    ASSERT_TRUE(QFile::link(precious, chosen + QLatin1Char('/') + QLatin1String(rows[0].file)));
    ASSERT_TRUE(QFile::link(home.path(), chosen + QLatin1Char('/') + QLatin1String(rows[1].file)));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const int before = requestPlays;
        QPointer<CaptureViewController> screen = present(sampleCapture(row.withMap));
        EXPECT_EQ(screen->urlTextField->text(), chosen);
        QRadioButton* radios[] = {screen->capturePlayerRadio, screen->captureVideoRadio,
                                  screen->captureVideoAndMapRadio};
        radios[row.radio]->click();
        clickButton(screen->findChild<QPushButton*>(QStringLiteral("saveBtn")));
        EXPECT_TRUE(looptest::spinUntil([&] { return screen.isNull(); }));
        EXPECT_EQ(requestPlays, before + 1);
        const QImage written(chosen + QLatin1Char('/') + QString::fromLatin1(row.file));
        EXPECT_EQ(written.size(), row.size);
    }
    EXPECT_FALSE(QFileInfo::exists(desktop + QStringLiteral("/20241108-083000_A_N_video_00h00m07s.jpg")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("precious"));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{QStringLiteral("precious.txt")});
    for (const auto& row : rows)
        EXPECT_FALSE(QFileInfo(chosen + QLatin1Char('/') + QLatin1String(row.file)).isSymLink());
}

TEST_F(CaptureScreen, KeysCancelAndSaveAndEveryEndingAsksToPlay) {
    // No folder stored: the desktop, made when the first capture goes into it.
    QPointer<CaptureViewController> screen = present(sampleCapture(false));
    EXPECT_EQ(screen->urlTextField->text(), desktop);
    EXPECT_FALSE(QFileInfo::exists(desktop));
    ASSERT_TRUE(screen->directoryURL);
    EXPECT_EQ(screen->directoryURL->toLocalFile(), desktop);
    key(screen->captureVideoRadio, Qt::Key_Escape); // from the focused radio up to the screen
    EXPECT_TRUE(looptest::spinUntil([&] { return screen.isNull(); }));
    EXPECT_EQ(requestPlays, 1);
    EXPECT_TRUE(QDir(desktop).entryList(QDir::Files).isEmpty());

    screen = present(sampleCapture(false));
    key(screen, Qt::Key_Return);
    EXPECT_TRUE(looptest::spinUntil([&] { return screen.isNull(); }));
    EXPECT_EQ(requestPlays, 2);
    EXPECT_EQ(QDir(desktop).entryList(QDir::Files),
              QStringList{QStringLiteral("20241108-083000_A_N_video_00h00m07s.jpg")});

    // Closed by its window's close button.
    screen = present(sampleCapture(false));
    screen->close();
    EXPECT_TRUE(looptest::spinUntil([&] { return screen.isNull(); }));
    EXPECT_EQ(requestPlays, 3);
}

TEST_F(CaptureScreen, AFailedWriteIsShownAndTheScreenStaysOpen) {
    // The stored folder was deleted after it was chosen: the capture goes to the desktop.
    const QString chosen = home.filePath(QStringLiteral("stills"));
    ASSERT_TRUE(QDir().mkpath(chosen));
    UserDefaults::standard().set(kBookmarkKey, *Bookmark::create(QUrl::fromLocalFile(chosen)));
    QPointer<CaptureViewController> screen = present(sampleCapture(true));
    ASSERT_TRUE(QDir(chosen).removeRecursively());
    AlertCatcher catcher;
    EXPECT_EQ(screen->saveCapture(*screen->captureData, 1), CaptureViewController::SaveResult::Saved);
    EXPECT_TRUE(QFileInfo::exists(desktop + QStringLiteral("/20241108-083000_A_N_video_00h00m07s.jpg")));

    // A file where the folder was: the write fails, the user is told, the screen stays for
    // another folder, and nothing is left behind.
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    clickButton(screen->findChild<QPushButton*>(QStringLiteral("saveBtn")));
    looptest::spinFor(100);
    ASSERT_FALSE(screen.isNull());
    EXPECT_TRUE(screen->isVisible());
    ASSERT_EQ(catcher.alerts.size(), 1);
    EXPECT_TRUE(catcher.alerts.first().startsWith(QStringLiteral("Unknown error | ")));
    EXPECT_TRUE(catcher.alerts.first().contains(QStringLiteral("20241108-083000_A_N_video_00h00m07s.jpg")));
    EXPECT_EQ(requestPlays, 0);
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{QStringLiteral("stills")});

    // No image for the kind, or no capture at all: Save does nothing.
    captureData empty = sampleCapture(false);
    empty.imgs.clear();
    EXPECT_EQ(screen->saveCapture(empty, 1), CaptureViewController::SaveResult::Nothing);
    EXPECT_EQ(screen->saveCapture(sampleCapture(false), 3), CaptureViewController::SaveResult::Nothing);
    clickButton(screen->findChild<QPushButton*>(QStringLiteral("cancelBtn")));
    EXPECT_TRUE(looptest::spinUntil([&] { return screen.isNull(); }));

    QPointer<CaptureViewController> bare = present(std::nullopt);
    bare->onSaveBtnTap();
    EXPECT_FALSE(bare.isNull());
    bare->onCancelBtnTap();
}

TEST_F(CaptureScreen, ARenamedFolderIsFoundAndStoredAgain) {
    const QString before = home.filePath(QStringLiteral("stills"));
    const QString after = home.filePath(QStringLiteral("stills-renamed"));
    ASSERT_TRUE(QDir().mkpath(desktop));
    ASSERT_TRUE(QDir().mkpath(before));
    const QByteArray stale = *Bookmark::create(QUrl::fromLocalFile(before));
    UserDefaults::standard().set(kBookmarkKey, stale);
    ASSERT_TRUE(QDir().rename(before, after));

    QPointer<CaptureViewController> screen = present(sampleCapture(false));
    EXPECT_EQ(screen->urlTextField->text(), after);
    const std::optional<QByteArray> stored = UserDefaults::standard().data(kBookmarkKey);
    ASSERT_TRUE(stored);
    EXPECT_NE(*stored, stale);
    const std::optional<Bookmark::Resolution> fresh = Bookmark::resolve(*stored);
    ASSERT_TRUE(fresh);
    EXPECT_FALSE(fresh->isStale);
    EXPECT_EQ(fresh->url.toLocalFile(), after);

    // The folder panel: cancelled, nothing changes; a folder chosen is kept and shown.
    const auto answerPanel = [](const QString& folder) {
        QTimer::singleShot(100, [folder] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* panel = qobject_cast<QFileDialog*>(widget);
                if (!panel || !panel->isVisible())
                    continue;
                EXPECT_EQ(panel->fileMode(), QFileDialog::Directory);
                EXPECT_EQ(panel->labelText(QFileDialog::Accept), QStringLiteral("Set"));
                if (folder.isEmpty()) {
                    panel->reject();
                } else {
                    panel->setDirectory(folder);
                    static_cast<QDialog*>(panel)->accept(); // the panel's own accept, through the dialog
                }
            }
        });
    };
    answerPanel(QString());
    screen->onURLBtnTap();
    EXPECT_EQ(screen->urlTextField->text(), after);
    const QString picked = home.filePath(QStringLiteral("picked"));
    ASSERT_TRUE(QDir().mkpath(picked));
    answerPanel(picked);
    screen->onURLBtnTap();
    EXPECT_EQ(screen->urlTextField->text(), picked);
    ASSERT_TRUE(screen->directoryURL);
    EXPECT_EQ(screen->directoryURL->toLocalFile(), picked);
    const std::optional<Bookmark::Resolution> chosen =
        Bookmark::resolve(UserDefaults::standard().data(kBookmarkKey).value_or(QByteArray()));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->url.toLocalFile(), picked);
    screen->onCancelBtnTap();
}

} // namespace
