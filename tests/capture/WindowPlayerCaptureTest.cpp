// Still capture from the real window player playing a generated three-channel recording
// with GPS (software renderer, no sound device): the capture button pauses, shows the
// capture screen with the window, the band image and the map, and playback resumes when
// the screen closes; the right-click border; the context-menu capture writing the window
// image (grey with the mono filter, replacing the earlier file); faults shown to the user.

#include "CaptureTestSupport.h"
#include "common/PlaybackTestFixtures.h"
#include "common/WebViewTestSupport.h"
#include "player/window/OrvoViewController.h"

#include "capture/CaptureViewController.h"
#include "common/EventLoopWait.h"
#include "controls/OrvoVerticalAlignText.h"
#include "platform/media/PlayerItem.h"
#include "platform/system/Bookmark.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/Storyboard.h"
#include "platform/web/WebView.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include <samplegen/SampleGen.h>

#include <string>

using namespace capturetest;
using namespace playbacktest;

namespace {

const QString kBookmarkKey = QString::fromLatin1(DefaultsKey::kCaptureBookMark);

struct Recording {
    QString front, rear, inside;
};

class WindowPlayerCapture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<QTemporaryDir>();
        samplegen::RecordingOptions options;
        options.seconds = 30;
        options.width = 320;
        options.height = 180;
        options.fps = 30;
        const auto write = [&](const char* name, samplegen::Look look, bool audio) {
            samplegen::RecordingOptions o = options;
            o.look = look;
            o.audio = audio;
            const QString path = s_dir->filePath(QString::fromLatin1(name));
            samplegen::writeRecording(path.toStdString(), o);
            return path;
        };
        s_recording.front = write("20241108-083000_F_N.mp4", samplegen::Look::Front, true);
        s_recording.rear = write("20241108-083000_R_N.mp4", samplegen::Look::Rear, false);
        s_recording.inside = write("20241108-083000_I_N.mp4", samplegen::Look::Interior, false);

        Storyboard& main = Storyboard::named(QString::fromLatin1(StoryboardName::kMain));
        main.registerController(QString::fromLatin1(ControllerIdentifier::kCaptureViewController),
                                [] { return new CaptureViewController; });
        main.registerSegue(QString::fromLatin1(SegueIdentifier::kOrvoToCapture),
                           QString::fromLatin1(ControllerIdentifier::kOrvoViewController),
                           QString::fromLatin1(ControllerIdentifier::kCaptureViewController),
                           SeguePresentation::Sheet);
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override {
        resetPlayerState();
        ASSERT_TRUE(home.isValid());
        setDesktopFolder(home.filePath(QStringLiteral("Desktop")));
        UserDefaults::standard().removeObject(kBookmarkKey);
        UserDefaults::standard().set(QStringLiteral("AppleLanguages"), QStringList{QStringLiteral("en")});
        isNetworkConnected = true;
        guard = std::make_unique<MediaEnvironmentGuard>(home.filePath(QStringLiteral("Movies")));
    }
    void TearDown() override {
        if (vc)
            vc->stopPlayback();
        vc.reset();
        guard.reset();
        UserDefaults::standard().removeObject(kBookmarkKey);
        resetPlayerState();
    }

    // The window player, playing `list`'s first entry in `channelMode` until every
    // channel shows a picture past `seconds`.
    void play(const QList<orvoTableModel>& list, mode channelMode, int channels, double seconds = 1.0) {
        recordingList = list;
        displayedRecordingList = list;
        playMode = channelMode;
        vc = std::make_unique<OrvoViewController>();
        // Off screen nothing is mapped anyway; under a display server (xvfb-run) the window is
        // shown for real, so that OpenGL channel views paint and their players keep going.
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            vc->setAttribute(Qt::WA_DontShowOnScreen);
        vc->resize(1280, 800);
        vc->loadViewIfNeeded();
        vc->setWindowTitle(QStringLiteral("Kavrin Player"));
        vc->show();
        if (vc->players.isEmpty())
            vc->setupPlayerViews(4);
        if (!vc->currentTrackTimer)
            vc->startPlayTimer();
        vc->playNext();
        ASSERT_TRUE(looptest::waitUntil(
            [&] {
                QList<Player*> shown = vc->players.mid(0, channels);
                if (channelMode != mode::multiple_ch)
                    shown = {vc->orvoPlayer.data()};
                for (Player* p : shown) {
                    if (!p || !(p->rate() > 0) || p->currentSeconds() < seconds)
                        return false;
                }
                return true;
            },
            60000))
            << "the recording did not start";
    }

    orvoTableModel threeChannels() const {
        return entry(s_recording.front, s_recording.rear, s_recording.inside);
    }

    // The rectangle of `view` in the window player.
    QRect frameOf(QWidget* view) const { return QRect(view->mapTo(vc.get(), QPoint(0, 0)), view->size()); }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static Recording s_recording;
    QTemporaryDir home;
    std::unique_ptr<MediaEnvironmentGuard> guard;
    std::unique_ptr<OrvoViewController> vc;
};

std::unique_ptr<QTemporaryDir> WindowPlayerCapture::s_dir;
Recording WindowPlayerCapture::s_recording;

TEST_F(WindowPlayerCapture, ButtonPausesShowsEveryImageAndClosingResumes) {
    play({threeChannels()}, mode::multiple_ch, 3);
    const bool mapLoaded = vc->mapWebView && webtest::waitForLoad(*vc->mapWebView);
    if (!mapLoaded)
        std::fprintf(stderr, "the map page did not load: the capture is checked without it\n");
    ASSERT_TRUE(hasGps);
    looptest::spinFor(500); // the views show pictures of the position, the map its route

    vc->onCaptureBtnTap();
    EXPECT_EQ(playState, 1); // kept, so that closing the screen resumes
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(vc->players[i]->rate(), 0.0) << "channel " << i;
    QPointer<CaptureViewController> screen;
    ASSERT_TRUE(
        looptest::waitUntil([&] { return (screen = vc->findChild<CaptureViewController*>()) != nullptr; }));
    ASSERT_TRUE(screen->captureData);
    const captureData& data = *screen->captureData;
    EXPECT_EQ(data.playMode, mode::multiple_ch);
    EXPECT_TRUE(data.isMultipleVideo);
    EXPECT_EQ(data.name, QStringLiteral("20241108-083000_F_N.mp4"));
    EXPECT_TRUE(data.time.contains(QRegularExpression(QStringLiteral("^00h00m0\\ds$"))))
        << data.time.toStdString();
    ASSERT_EQ(data.imgs.size(), mapLoaded ? 3 : 2);

    // The window as a person sees it: its own size, moving pictures in the video area and
    // the map page in its place, neither blank.
    const QImage& window = data.imgs[0];
    EXPECT_EQ(window.size(), vc->size());
    EXPECT_GT(colourCount(window, frameOf(vc->videoContentView)), 30);
    if (mapLoaded) {
        EXPECT_GT(colourCount(window, frameOf(vc->mapWebView)), 3);
        EXPECT_GT(colourCount(data.imgs[2], data.imgs[2].rect()), 3);
    }

    // The band image: 640 x 1080, each band the frame of its own channel at the paused
    // position (channel 1 on top). The pause is asked for just before the grab, so on a busy
    // machine the players may come to rest a frame after the position the grab read.
    const QImage& bands = data.imgs[1];
    ASSERT_EQ(bands.size(), QSize(640, 1080));
    const MediaTime presented = vc->orvoPlayer->presentedTime();
    const MediaTime oneFrame(1, 30);
    for (int band = 0; band < 3; ++band) {
        const QImage part = bands.copy(0, band * 360, 640, 360);
        double best = 1e9;
        int bestChannel = -1;
        for (const MediaTime& time : {presented, presented - oneFrame}) {
            for (int channel = 0; channel < 3; ++channel) {
                const QImage frame =
                    OrvoViewController::captureAssetFrame(vc->players[channel]->currentItem()->asset(), time,
                                                          vc->players[channel]->demuxerStartTime());
                const double difference = meanDifference(
                    part, frame.scaled(640, 360, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
                if (difference < best) {
                    best = difference;
                    bestChannel = channel;
                }
            }
        }
        EXPECT_EQ(bestChannel, band);
        EXPECT_LT(best, 2.0) << "band " << band;
    }

    clickButton(screen->findChild<QPushButton*>(QStringLiteral("cancelBtn")));
    ASSERT_TRUE(looptest::waitUntil([&] { return screen.isNull(); }));
    EXPECT_TRUE(looptest::waitUntil([&] {
        return vc->players[0]->rate() > 0 && vc->players[1]->rate() > 0 && vc->players[2]->rate() > 0;
    }));
    EXPECT_EQ(playState, 1);

    // Paused by the user before: the screen's closing leaves it paused.
    vc->playPause();
    ASSERT_EQ(playState, 2);
    vc->onCaptureBtnTap();
    ASSERT_TRUE(
        looptest::waitUntil([&] { return (screen = vc->findChild<CaptureViewController*>()) != nullptr; }));
    clickButton(screen->findChild<QPushButton*>(QStringLiteral("cancelBtn")));
    ASSERT_TRUE(looptest::waitUntil([&] { return screen.isNull(); }));
    looptest::spinFor(300);
    EXPECT_EQ(playState, 2);
    EXPECT_EQ(vc->players[0]->rate(), 0.0);

    // A sender that is no capture: the screen still comes, with nothing to save.
    screen = qobject_cast<CaptureViewController*>(vc->performSegue(
        QString::fromLatin1(SegueIdentifier::kOrvoToCapture), QStringLiteral("not a capture")));
    ASSERT_TRUE(screen);
    EXPECT_FALSE(screen->captureData);
    clickButton(screen->findChild<QPushButton*>(QStringLiteral("cancelBtn")));
}

TEST_F(WindowPlayerCapture, ContextMenuOpensOnlyStrictlyInsideTheVideoArea) {
    play({threeChannels()}, mode::multiple_ch, 3, 0.2);
    ASSERT_TRUE(vc->playerContextMenu);
    ASSERT_EQ(vc->playerContextMenu->actions().size(), 3);
    const QRect area = frameOf(vc->videoContentView);
    const qreal left = area.x(), top = area.y(), right = area.x() + area.width(),
                bottom = area.y() + area.height();
    const struct {
        const char* label;
        QPointF at;
        bool opens;
    } rows[] = {
        {"centre", QPointF((left + right) / 2, (top + bottom) / 2), true},
        {"just inside the top left", QPointF(left + 0.5, top + 0.5), true},
        {"just inside the bottom right", QPointF(right - 0.5, bottom - 0.5), true},
        {"left border", QPointF(left, (top + bottom) / 2), false},
        {"right border", QPointF(right, (top + bottom) / 2), false},
        {"top border", QPointF((left + right) / 2, top), false},
        {"bottom border", QPointF((left + right) / 2, bottom), false},
        {"outside, on the table side", QPointF((left + right) / 2, bottom + 40), false},
    };
    for (const auto& row : rows) {
        vc->rightMouseDown(row.at);
        EXPECT_EQ(vc->playerContextMenu->isVisible(), row.opens) << row.label;
        vc->playerContextMenu->hide();
    }

    // A right click on a channel's picture reaches the window player.
    QWidget* picture = vc->childAt(area.center());
    ASSERT_TRUE(picture);
    const QPoint local = picture->mapFrom(vc.get(), area.center());
    QContextMenuEvent click(QContextMenuEvent::Mouse, local, picture->mapToGlobal(local));
    QCoreApplication::sendEvent(picture, &click);
    EXPECT_TRUE(vc->playerContextMenu->isVisible());
    vc->playerContextMenu->hide();

    // Nothing loaded: no menu.
    vc->stopPlayback();
    currentRecording.reset();
    vc->rightMouseDown(QPointF((left + right) / 2, (top + bottom) / 2));
    EXPECT_FALSE(vc->playerContextMenu->isVisible());
}

TEST_F(WindowPlayerCapture, ContextMenuCaptureWritesTheWindowAndReplacesIt) {
    const QString folder = home.filePath(QStringLiteral("stills"));
    ASSERT_TRUE(QDir().mkpath(folder));
    UserDefaults::standard().set(kBookmarkKey, *Bookmark::create(QUrl::fromLocalFile(folder)));
    play({threeChannels()}, mode::ch2, 1, 0.5);
    ASSERT_TRUE(vc->mapWebView);
    webtest::waitForLoad(*vc->mapWebView);
    const QString file = folder + QLatin1Char('/') + vc->videoNameText->text() + QStringLiteral(".jpg");
    EXPECT_EQ(QFileInfo(file).fileName(), QStringLiteral("20241108-083000_R_N.mp4.jpg"));

    // A link under the name, to a file outside the folder: replaced, never written through.
    const QString precious = home.filePath(QStringLiteral("precious.txt"));
    QFile kept(precious);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("precious");
    kept.close();
    ASSERT_TRUE(QFile::link(precious, file));

    vc->playerContextMenu->actions().at(0)->trigger(); // the capture command
    ASSERT_TRUE(looptest::waitUntil([&] { return !QFileInfo(file).isSymLink() && QFileInfo::exists(file); }));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("precious"));
    const QImage colour(file);
    EXPECT_EQ(colour.size(), vc->size());
    EXPECT_FALSE(colour.isGrayscale());
    EXPECT_GT(colourCount(colour, frameOf(vc->videoContentView)), 30);
    EXPECT_GT(vc->players[1]->rate(), 0.0); // playback goes on

    // Again with the mono filter: the grey image replaces the first.
    isMono = true;
    const QDateTime first = QFileInfo(file).lastModified();
    vc->captureVideo();
    ASSERT_TRUE(looptest::waitUntil(
        [&] { return QFileInfo(file).lastModified() != first || QImage(file).isGrayscale(); }));
    looptest::spinFor(200);
    EXPECT_TRUE(QImage(file).isGrayscale());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(file).fileName()});
}

TEST_F(WindowPlayerCapture, AFrameThatCannotBeReadIsShownAndPlaybackResumes) {
    // A one-channel recording whose file is replaced by garbage while it plays (the player
    // keeps the old file open).
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("20241108-100000_F_N.mp4"));
    ASSERT_TRUE(QFile::copy(s_recording.front, path));
    play({entry(path)}, mode::ch1, 1, 0.5);
    ASSERT_TRUE(QFile::rename(path, path + QStringLiteral(".old")));
    QFile garbage(path);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();

    AlertCatcher catcher;
    vc->onCaptureBtnTap();
    ASSERT_TRUE(looptest::waitUntil([&] { return !catcher.alerts.isEmpty(); }));
    EXPECT_TRUE(catcher.alerts.first().startsWith(
        QStringLiteral("Capture Failed | The video frame could not be read.")))
        << catcher.alerts.first().toStdString();
    EXPECT_FALSE(vc->findChild<CaptureViewController*>());
    EXPECT_TRUE(looptest::waitUntil([&] { return vc->players[0]->rate() > 0; }));
    EXPECT_EQ(playState, 1);

    // The window gone (no window with the player's title): the same, for the window grab.
    QFile::remove(path);
    ASSERT_TRUE(QFile::rename(path + QStringLiteral(".old"), path));
    vc->setWindowTitle(QStringLiteral("Another title"));
    vc->captureVideo();
    ASSERT_TRUE(looptest::waitUntil([&] { return catcher.alerts.size() >= 2; }));
    EXPECT_TRUE(catcher.alerts.at(1).startsWith(
        QStringLiteral("Capture Failed | The player window could not be captured.")))
        << catcher.alerts.at(1).toStdString();
}

} // namespace
