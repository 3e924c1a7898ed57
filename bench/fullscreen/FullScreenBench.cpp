// Full-screen hand-over figures, driven through the real window controller as a
// person toggles full screen (F11), with a generated three-channel 720p recording
// playing in the software renderer without sound:
// - enter: from toggleFullScreen() to the first new picture of the recording in
//   the full-screen player's view;
// - leave: from toggleFullScreen() to the first new picture in every view the
//   window player shows again: one channel, as full screen hands it back, and in
//   a second series three, the benchmark setting the shared play mode back to all
//   channels before leaving (the full-screen controls choose single channels only);
// - continuity: |lastPlayTime handed over at the toggle - the position of the new player
//   when its first picture appears|, and how far that picture lies behind the
//   position the outgoing player had reached;
// - beside them the window player's own start: from the double action (playNext
//   onto the recording) to the first picture in each of the three views, counted
//   as the playback benchmark counts it (the coordinated start has finished and
//   every channel runs) and with a picture new since the action.
// A picture counts when the view holds an image it did not hold at the toggle and
// that image is not black (a view paints black before its player has a frame).
//
// usage: fullscreen_bench WORK_DIR [--toggles N] [--starts N] [--all-channel-toggles N]
// The system's diagnostics go to /dev/null; the figures go to standard error.

#include "SampleGen.h"

#include "metadata/RecordingList.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/media/PlayerView.h"
#include "platform/media/SoftwarePlayerView.h"
#include "platform/ui/Storyboard.h"
#include "playback/ChannelComposition.h"
#include "playback/ChannelSync.h"
#include "player/fullscreen/FullScreenPlayer.h"
#include "player/fullscreen/MainViewController.h"
#include "player/window/OrvoViewController.h"
#include "player/window/OrvoWindowController.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMainWindow>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

// Runs the event loop until `condition` holds (checked every millisecond) or `timeoutMs` have
// passed. A real event loop, as in the application: the controllers a toggle lets go of are
// deleted by it (deleteLater) while the new one starts.
bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    if (condition())
        return true;
    QElapsedTimer timer;
    timer.start();
    bool held = false;
    QEventLoop loop;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition()) {
            held = true;
            loop.quit();
        } else if (timer.elapsed() > timeoutMs) {
            loop.quit();
        }
    });
    poll.start();
    loop.exec();
    return held;
}

void runFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    waitFor([&] { return timer.elapsed() >= ms; }, ms + 1000);
}

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return std::nan("");
    std::sort(values.begin(), values.end());
    const std::size_t index = std::min(
        values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5));
    return values[index];
}

QImage pictureOf(const PlayerView* view) {
    auto* surface = view ? dynamic_cast<SoftwarePlayerView*>(view->surface()) : nullptr;
    return surface ? surface->currentImage() : QImage();
}

// Whether `image` shows a picture rather than the black of a view without a frame.
bool showsVideo(const QImage& image) {
    if (image.isNull())
        return false;
    for (int y = 1; y < 10; ++y)
        for (int x = 1; x < 16; ++x) {
            const QRgb pixel = image.pixel(image.width() * x / 16, image.height() * y / 10);
            if (qRed(pixel) + qGreen(pixel) + qBlue(pixel) > 90)
                return true;
        }
    return false;
}

// A view's picture that shows video and differs from `before` (a view redrawing the
// last picture of an earlier item after a layout change does not count).
bool newPicture(const PlayerView* view, const QImage& before = QImage()) {
    const QImage image = pictureOf(view);
    return image.cacheKey() != before.cacheKey() && showsVideo(image) && image != before;
}

// Each toggle's figures, with FULLSCREEN_BENCH_TRACE set.
void trace(const char* direction, double elapsedMs, double handedOver, double outgoing, double shownAt) {
    if (std::getenv("FULLSCREEN_BENCH_TRACE"))
        std::fprintf(stderr,
                     "trace %s: %.0f ms, lastPlayTime %.3f, outgoing at %.3f, first picture at %.3f\n",
                     direction, elapsedMs, handedOver, outgoing, shownAt);
}

struct Series {
    std::vector<double> firstFrameMs; // toggle to the first new picture (every view shown)
    std::vector<double> continuityMs; // |lastPlayTime - position at the first picture|
    std::vector<double> jumpBackMs;   // outgoing position - position at the first picture
    std::vector<int> views;           // views waited for
    std::vector<double> callMs;       // until toggleFullScreen() returned (the content swapped)
    std::vector<double> goneMs;       // toggle to the old controller's deletion
    int failures = 0;
};

class Bench {
public:
    explicit Bench(const QString& dir) : m_dir(dir) {}

    bool setUp() {
        samplegen::RecordingOptions options;
        options.seconds = 120;
        options.width = 1280;
        options.height = 720;
        options.fps = 30;
        const auto write = [&](const char* channel, samplegen::Look look, bool audio) {
            samplegen::RecordingOptions o = options;
            o.look = look;
            o.audio = audio;
            const QString path =
                m_dir + QStringLiteral("/20241108-120000_%1_N.mp4").arg(QLatin1String(channel));
            if (!QFile::exists(path))
                samplegen::writeRecording(path.toStdString(), o);
            return path;
        };
        orvoTableModel model;
        model.url = QUrl::fromLocalFile(write("F", samplegen::Look::Front, true));
        model.row.merge = QUrl::fromLocalFile(write("R", samplegen::Look::Rear, false));
        model.row.merge2 = QUrl::fromLocalFile(write("I", samplegen::Look::Interior, false));
        recordingList = {model};
        displayedRecordingList = recordingList;
        currentIndex = -1;
        playState = 0;
        playMode = mode::multiple_ch;

        Storyboard& main = Storyboard::named(QString::fromLatin1(StoryboardName::kMain));
        main.registerController(QString::fromLatin1(ControllerIdentifier::kOrvoViewController),
                                [] { return new OrvoViewController; });
        main.registerController(QString::fromLatin1(ControllerIdentifier::kMainViewController),
                                [] { return new MainViewController; });
        m_window = std::make_unique<OrvoWindowController>();
        m_window->setContentViewController(
            main.instantiateController(QString::fromLatin1(ControllerIdentifier::kOrvoViewController)));
        m_window->showWindow();
        m_window->window()->resize(1280, 800);
        m_window->window()->activateWindow();
        waitFor([this] { return QApplication::activeWindow() == m_window->window(); }, 3000);
        return windowPlayer() != nullptr;
    }

    void tearDown() {
        if (OrvoViewController* player = windowPlayer())
            player->stopPlayback();
        m_window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    OrvoViewController* windowPlayer() const {
        return qobject_cast<OrvoViewController*>(m_window->contentViewController());
    }
    MainViewController* fullScreen() const {
        return qobject_cast<MainViewController*>(m_window->contentViewController());
    }

    // The window player's views that show a player with an item (a view laid out for a
    // channel the recording does not have stays black).
    QList<PlayerView*> shownViews() const {
        QList<PlayerView*> views;
        if (OrvoViewController* vc = windowPlayer())
            for (PlayerView* view : std::as_const(vc->avplayerViews))
                if (view->player() && view->player()->currentItem() && view->isVisibleTo(m_window->window()))
                    views.append(view);
        return views;
    }

    // What each view of the window player shows, when a picture did not come.
    void describeViews() const {
        OrvoViewController* vc = windowPlayer();
        if (!vc)
            return;
        std::fprintf(stderr, "  playMode %d, channelCount %lld, playState %d\n", static_cast<int>(playMode),
                     static_cast<long long>(channelCount), static_cast<int>(playState));
        for (qsizetype i = 0; i < vc->avplayerViews.size(); ++i) {
            PlayerView* view = vc->avplayerViews.at(i);
            Player* player = view->player();
            const auto item = player ? player->currentItem() : nullptr;
            const QImage image = pictureOf(view);
            std::fprintf(
                stderr, "  view %lld: %s %dx%d, player %s, item %s, at %.2f, picture %s\n",
                static_cast<long long>(i), view->isVisibleTo(m_window->window()) ? "shown" : "hidden",
                view->width(), view->height(), player ? "yes" : "no",
                item ? (item->status() == PlayerItem::Status::ReadyToPlay ? "ready" : "not ready") : "none",
                player ? player->currentSeconds() : -1.0,
                image.isNull() ? "none" : (showsVideo(image) ? "video" : "black"));
        }
    }

    // From the double action onto the recording to a new picture in each of the three views.
    std::vector<double> windowStarts(int count) {
        std::vector<double> times;
        OrvoViewController* vc = windowPlayer();
        for (int i = 0; i < count; ++i) {
            vc->stopPlayback();
            runFor(300);
            playMode = mode::multiple_ch;
            currentIndex = -1;
            std::vector<QImage> before;
            for (int v = 0; v < 3; ++v)
                before.push_back(pictureOf(vc->avplayerViews.at(v)));
            QElapsedTimer timer;
            timer.start();
            vc->playNext();
            const bool shown = waitFor(
                [&] {
                    // As the playback benchmark counts a start: the coordinated start has
                    // finished, every channel runs and shows a picture new since the action.
                    if (vc->channelSync().isCoordinating())
                        return false;
                    for (int v = 0; v < 3; ++v) {
                        Player* player = vc->players.at(v);
                        const auto item = player->currentItem();
                        if (!item || item->status() != PlayerItem::Status::ReadyToPlay ||
                            !(player->rate() > 0.0) ||
                            !newPicture(vc->avplayerViews.at(v), before[static_cast<std::size_t>(v)]))
                            return false;
                    }
                    return true;
                },
                30000);
            times.push_back(shown ? static_cast<double>(timer.nsecsElapsed()) / 1e6 : std::nan(""));
            runFor(500);
        }
        return times;
    }

    // Starts the recording in all channels and lets it play a little.
    bool startPlaying() {
        OrvoViewController* vc = windowPlayer();
        vc->stopPlayback();
        runFor(200);
        playMode = mode::multiple_ch;
        currentIndex = -1;
        vc->playNext();
        return waitFor([&] { return vc->orvoPlayer && vc->orvoPlayer->currentSeconds() > 1.0; }, 30000);
    }

    // Toggles full screen, noting the time the call takes; `goneAt` is set (ms from `timer`)
    // when the old controller is deleted.
    void toggle(Series& series, QElapsedTimer& timer, double& goneAt) {
        goneAt = -1.0;
        QPointer<ViewController> old = m_window->contentViewController();
        if (old)
            QObject::connect(old, &QObject::destroyed, m_window.get(),
                             [&timer, &goneAt] { goneAt = static_cast<double>(timer.nsecsElapsed()) / 1e6; });
        timer.start();
        m_window->toggleFullScreen();
        series.callMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }

    // After a toggle's picture: the old controller's deletion, waited for a little.
    static void noteGone(Series& series, const double& goneAt) {
        waitFor([&] { return goneAt >= 0.0; }, 2000);
        if (goneAt >= 0.0)
            series.goneMs.push_back(goneAt);
    }

    // One toggle into full screen; true when the full-screen player showed a picture.
    bool enter(Series& series) {
        OrvoViewController* vc = windowPlayer();
        const double outgoing = vc && vc->orvoPlayer ? vc->orvoPlayer->currentSeconds() : 0.0;
        QElapsedTimer timer;
        double goneAt = -1.0;
        toggle(series, timer, goneAt);
        // What the outgoing player handed over (it stores the picture's position as it goes).
        const double handedOver = lastPlayTime ? lastPlayTime->seconds() : 0.0;
        MainViewController* screen = fullScreen();
        if (!screen)
            return false;
        const bool shown = waitFor(
            [&] {
                return screen->player && screen->singlePlayerView && newPicture(screen->singlePlayerView);
            },
            10000);
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (!shown) {
            ++series.failures;
            return false;
        }
        const double shownAt = screen->player->currentSeconds();
        trace("enter", elapsed, handedOver, outgoing, shownAt);
        noteGone(series, goneAt);
        series.firstFrameMs.push_back(elapsed);
        series.continuityMs.push_back(std::abs(handedOver - shownAt) * 1000);
        series.jumpBackMs.push_back((outgoing - shownAt) * 1000);
        series.views.push_back(1);
        return true;
    }

    // One toggle back to the window player; true when every view it shows had a picture.
    bool leave(Series& series) {
        MainViewController* screen = fullScreen();
        const double outgoing = screen && screen->player ? screen->player->currentSeconds() : 0.0;
        QElapsedTimer timer;
        double goneAt = -1.0;
        toggle(series, timer, goneAt);
        // What the outgoing player handed over (it stores the picture's position as it goes).
        const double handedOver = lastPlayTime ? lastPlayTime->seconds() : 0.0;
        OrvoViewController* vc = windowPlayer();
        if (!vc)
            return false;
        double shownAt = -1.0;
        qsizetype viewCount = 0;
        const bool shown = waitFor(
            [&] {
                const QList<PlayerView*> views = shownViews();
                if (views.isEmpty() || !vc->orvoPlayer)
                    return false;
                for (PlayerView* view : views)
                    if (!newPicture(view))
                        return false;
                viewCount = views.size();
                return true;
            },
            10000);
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (!shown) {
            describeViews();
            ++series.failures;
            return false;
        }
        shownAt = vc->orvoPlayer->currentSeconds();
        trace("leave", elapsed, handedOver, outgoing, shownAt);
        noteGone(series, goneAt);
        series.firstFrameMs.push_back(elapsed);
        series.continuityMs.push_back(std::abs(handedOver - shownAt) * 1000);
        series.jumpBackMs.push_back((outgoing - shownAt) * 1000);
        series.views.push_back(static_cast<int>(viewCount));
        return true;
    }

    // `rounds` toggles each way, `playMs` of playback between them; with `allChannelsBack`
    // every channel is chosen again before full screen is left.
    void toggles(int rounds, int playMs, bool allChannelsBack, Series& in, Series& out) {
        for (int i = 0; i < rounds; ++i) {
            if (!enter(in)) {
                std::fprintf(stderr, "enter %d: no picture in full screen within 10 s\n", i + 1);
                if (!fullScreen())
                    return;
            }
            runFor(playMs);
            if (allChannelsBack)
                playMode = mode::multiple_ch;
            if (!leave(out)) {
                std::fprintf(stderr, "leave %d: no picture in the window player within 10 s\n", i + 1);
                if (!windowPlayer())
                    return;
            }
            runFor(playMs);
        }
    }

private:
    QString m_dir;
    std::unique_ptr<OrvoWindowController> m_window;
};

// One row of the table; `peer` is the window player's median start, for the ratio.
void printRow(const char* label, const Series& series, double peer) {
    std::vector<double> views(series.views.begin(), series.views.end());
    const double median = percentile(series.firstFrameMs, 0.5);
    std::fprintf(stderr, "%-34s %3zu %7.0f %6.2f %6.0f %6.0f %5.0f %11.1f %11.1f %9.0f %9.0f %6d\n", label,
                 series.firstFrameMs.size(), median, median / peer, percentile(series.firstFrameMs, 0.0),
                 percentile(series.firstFrameMs, 1.0), percentile(views, 0.5),
                 percentile(series.continuityMs, 0.5), percentile(series.continuityMs, 1.0),
                 percentile(series.jumpBackMs, 0.5), percentile(series.jumpBackMs, 1.0), series.failures);
}

// Qt's and the web engine's messages are not part of the figures.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg || std::getenv("FULLSCREEN_BENCH_VERBOSE"))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(
            stderr,
            "usage: fullscreen_bench WORK_DIR [--toggles N] [--starts N] [--all-channel-toggles N]\n");
        return 2;
    }
    int toggles = 20, starts = 10, allChannelToggles = 10, playMs = 800;
    for (int i = 2; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "--toggles"))
            toggles = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--starts"))
            starts = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--all-channel-toggles"))
            allChannelToggles = std::max(0, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--play-ms"))
            playMs = std::max(200, std::atoi(argv[++i]));
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    Player::setAudioOutput(QStringLiteral("null"));
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    const QString movies = dir + QStringLiteral("/Movies");
    channelCompositionEnvironment().moviesFolder = [movies] {
        QDir().mkpath(movies);
        return movies;
    };

    std::fflush(stdout);
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    Bench bench(dir);
    try {
        if (!bench.setUp()) {
            std::fprintf(stderr, "failed: no window player\n");
            return 1;
        }
        const std::vector<double> start = bench.windowStarts(starts);
        if (!bench.startPlaying()) {
            std::fprintf(stderr, "failed: the recording did not start\n");
            return 1;
        }
        Series in, out, inAll, outAll;
        bench.toggles(toggles, playMs, false, in, out);
        if (allChannelToggles > 0) {
            if (!bench.startPlaying()) {
                std::fprintf(stderr, "failed: the recording did not start again\n");
                return 1;
            }
            bench.toggles(allChannelToggles, playMs, true, inAll, outAll);
        }
        bench.tearDown();

        std::fprintf(stderr,
                     "three-channel 1280x720 30 fps H.264 recording, window 1280x800, software renderer, "
                     "%d processors\n",
                     QThread::idealThreadCount());
        std::fprintf(stderr, "%-34s %3s %7s %6s %6s %6s %5s %11s %11s %9s %9s %6s\n", "", "n", "median",
                     "ratio", "min", "max", "views", "contin.med", "contin.max", "back.med", "back.max",
                     "failed");
        std::fprintf(stderr, "%-34s %3s %7s %6s %6s %6s %5s %11s %11s %9s %9s %6s\n", "", "", "ms", "", "ms",
                     "ms", "", "ms", "ms", "ms", "ms", "");
        Series startSeries;
        for (double t : start) {
            if (std::isnan(t)) {
                ++startSeries.failures;
                continue;
            }
            startSeries.firstFrameMs.push_back(t);
            startSeries.views.push_back(3);
        }
        const double peer = percentile(startSeries.firstFrameMs, 0.5);
        Series firstStart;
        if (!start.empty() && !std::isnan(start.front())) {
            firstStart.firstFrameMs.push_back(start.front());
            firstStart.views.push_back(3);
        }
        printRow("window player start (3 views)", startSeries, peer);
        printRow("  of which the first (cold)", firstStart, peer);
        printRow("enter full screen", in, peer);
        printRow("leave full screen (as handed back)", out, peer);
        if (allChannelToggles > 0) {
            printRow("enter (window showed 3 views)", inAll, peer);
            printRow("leave (all channels set, 3 views)", outAll, peer);
        }
        std::fprintf(
            stderr,
            "median/min/max: from the toggle (the double action for the start) to a new picture, not "
            "black, in every view shown;\n"
            "ratio: median / the window player's median start in this run (its players and the "
            "recording's asset already made; the first start makes them; a toggle makes a new "
            "controller with new views and players);\n"
            "contin.: |lastPlayTime handed over at the toggle - the new player's position at that picture|;\n"
            "back: the outgoing player's own position at the toggle - that position (positive: the "
            "new player shows an earlier moment).\n"
            "Goals: median under 150 ms each way; contin. at most 33 ms (one frame).\n");

        std::fprintf(stderr, "\n%-34s %8s %8s %8s\n", "medians, ms", "swap", "old gone", "picture");
        const auto breakdown = [](const char* label, const Series& series) {
            std::fprintf(stderr, "%-34s %8.0f %8.0f %8.0f\n", label, percentile(series.callMs, 0.5),
                         percentile(series.goneMs, 0.5), percentile(series.firstFrameMs, 0.5));
        };
        breakdown("enter full screen", in);
        breakdown("leave full screen (as handed back)", out);
        if (allChannelToggles > 0) {
            breakdown("enter (window showed 3 views)", inAll);
            breakdown("leave (all channels set, 3 views)", outAll);
        }
        std::fprintf(stderr,
                     "swap: until toggleFullScreen() returned (the old controller let go of its players, "
                     "the new one loaded and started);\n"
                     "old gone: until the old controller was deleted (from the event loop);\n"
                     "picture: until the first new picture, as above.\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
