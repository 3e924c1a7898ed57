// Still-capture figures of the window player, driven through the real controller with a
// generated three-channel 1080p recording with GPS (software renderer, no sound device):
// - latency: from the capture button (onCaptureBtnTap while playing) to the capture screen
//   shown, REPEAT times at different positions; median and spread, and beside it the
//   median of each grab taken alone at the same positions (the band image of the three
//   channels, the window, the map page's snapshot) with its share of the median latency;
// - frame grab: one channel's exact frame at a time inside a group of pictures, from a
//   fresh generator (file opened each time, as a capture does), beside
//   `ffmpeg -ss T -i FILE -frames:v 1` decoding the same frame to raw RGB in the same run.
//
// usage: capture_bench WORK_DIR [--repeat N]
// The system's diagnostics go to standard output; the figures go to standard error.

#include "SampleGen.h"
#include "common/RecordingEntry.h"

#include "capture/CaptureViewController.h"
#include "platform/media/AssetImageGenerator.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/system/LogCategories.h"
#include "platform/ui/Storyboard.h"
#include "platform/web/WebView.h"
#include "player/window/OrvoViewController.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QThread>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

void runFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    waitFor([&] { return timer.elapsed() >= ms; }, ms + 1000);
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double low(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

double high(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

double msSince(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

struct Recording {
    QString front, rear, inside;
};

Recording writeRecording(const QString& dir) {
    samplegen::RecordingOptions options;
    options.seconds = 40;
    options.width = 1920;
    options.height = 1080;
    options.fps = 30;
    Recording r;
    const auto write = [&](const char* name, samplegen::Look look, bool audio) {
        samplegen::RecordingOptions o = options;
        o.look = look;
        o.audio = audio;
        const QString path = dir + QLatin1Char('/') + QLatin1String(name);
        if (!QFile::exists(path))
            samplegen::writeRecording(path.toStdString(), o);
        return path;
    };
    r.front = write("20241108-120000_F_N.mp4", samplegen::Look::Front, true);
    r.rear = write("20241108-120000_R_N.mp4", samplegen::Look::Rear, false);
    r.inside = write("20241108-120000_I_N.mp4", samplegen::Look::Interior, false);
    return r;
}

// Wall time of the ffmpeg tool decoding the frame at `seconds` to raw RGB (process start to exit).
double ffmpegFrame(const QString& path, double seconds) {
    QElapsedTimer timer;
    timer.start();
    QProcess ffmpeg;
    ffmpeg.setStandardOutputFile(QProcess::nullDevice());
    ffmpeg.setStandardErrorFile(QProcess::nullDevice());
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                  QStringLiteral("-ss"), QString::number(seconds, 'f', 6), QStringLiteral("-i"), path,
                  QStringLiteral("-frames:v"), QStringLiteral("1"), QStringLiteral("-pix_fmt"),
                  QStringLiteral("bgra"), QStringLiteral("-f"), QStringLiteral("rawvideo"),
                  QStringLiteral("-y"), QStringLiteral("/dev/null")});
    if (!ffmpeg.waitForStarted() || !ffmpeg.waitForFinished(30000) || ffmpeg.exitCode() != 0)
        return -1;
    return msSince(timer);
}

void latencyBench(const Recording& r, int repeat) {
    recordingList = {entry(r.front, r.rear, r.inside)};
    displayedRecordingList = recordingList;
    currentIndex = -1;
    playMode = mode::multiple_ch;
    isNetworkConnected = true;

    auto vc = std::make_unique<OrvoViewController>();
    vc->resize(1280, 800);
    vc->loadViewIfNeeded();
    vc->setWindowTitle(QStringLiteral("Kavrin Player"));
    vc->show();
    if (vc->players.isEmpty())
        vc->setupPlayerViews(4);
    if (!vc->currentTrackTimer)
        vc->startPlayTimer();
    vc->playNext();
    const auto playing = [&] {
        for (int i = 0; i < 3; ++i)
            if (!(vc->players[i]->rate() > 0) || vc->players[i]->currentSeconds() < 0.5)
                return false;
        return true;
    };
    if (!waitFor(playing, 60000)) {
        std::fprintf(stderr, "latency: the recording did not start\n");
        return;
    }
    const bool mapLoaded = vc->mapWebView && waitFor([&] { return !vc->mapWebView->isLoading(); }, 60000) &&
                           vc->mapWebView->isLoaded();
    runFor(1000);

    std::vector<double> total, frames, window, map;
    int withMap = 0;
    for (int i = 0; i < repeat; ++i) {
        // A capture while playing, from the button to the screen on show.
        QElapsedTimer timer;
        timer.start();
        vc->onCaptureBtnTap();
        CaptureViewController* screen = nullptr;
        const bool shown = waitFor(
            [&] {
                screen = vc->findChild<CaptureViewController*>();
                return screen && screen->isVisible() && screen->isAppeared();
            },
            10000);
        if (!shown) {
            std::fprintf(stderr, "latency: no capture screen (run %d)\n", i);
            return;
        }
        total.push_back(msSince(timer));
        if (screen->captureData && screen->captureData->imgs.size() == 3)
            ++withMap;

        // Each grab alone at the same (paused) position.
        const MediaTime time = vc->orvoPlayer->presentedTime();
        timer.restart();
        const QImage bands = vc->captureChannelFrames(time);
        frames.push_back(msSince(timer));
        timer.restart();
        const std::optional<QImage> grabbed = OrvoViewController::captureAppWindowImage();
        window.push_back(msSince(timer));
        if (bands.isNull() || !grabbed)
            std::fprintf(stderr, "latency: a grab failed (run %d)\n", i);
        if (mapLoaded) {
            bool done = false;
            timer.restart();
            vc->mapWebView->takeSnapshot([&](const QImage&, const QString&) { done = true; });
            waitFor([&] { return done; }, 10000);
            map.push_back(msSince(timer));
        }

        // Closed as the user closes it; playback resumes and moves on to another position.
        screen->findChild<QPushButton*>(QStringLiteral("cancelBtn"))->click();
        waitFor([&] { return !vc->findChild<CaptureViewController*>() || !screen->isVisible(); }, 5000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        runFor(700);
    }
    vc->stopPlayback();

    const double m = median(total);
    std::fprintf(stderr,
                 "capture latency, three 1080p30 channels with GPS (button to capture screen shown, %d runs, "
                 "%d with the map image): median %.0f ms (min %.0f, max %.0f); goal < 300 ms\n",
                 repeat, withMap, m, low(total), high(total));
    const auto share = [&](const char* label, const std::vector<double>& values) {
        if (values.empty()) {
            std::fprintf(stderr, "  %-44s not measured\n", label);
            return;
        }
        std::fprintf(stderr, "  %-44s median %6.1f ms (min %6.1f, max %6.1f), %3.0f %% of the latency\n",
                     label, median(values), low(values), high(values),
                     m > 0 ? 100.0 * median(values) / m : 0.0);
    };
    share("band image (three exact frames, in parallel)", frames);
    share("window grab (1280 x 800)", window);
    share("map page snapshot", map);
}

void frameBench(const Recording& r, int repeat) {
    // Deep inside a group of pictures (key frames every second): the worst case for an exact
    // frame, 29 frames decoded before it.
    const double seconds = 12.0 + 29.0 / 30.0 - 0.0001;
    std::vector<double> ours[3], theirs[3];
    const QString files[3] = {r.front, r.rear, r.inside};
    for (int i = 0; i < repeat; ++i) {
        for (int c = 0; c < 3; ++c) {
            QElapsedTimer timer;
            timer.start();
            AssetImageGenerator generator(Asset::assetWithUrl(QUrl::fromLocalFile(files[c])));
            generator.appliesPreferredTrackTransform = true;
            const QImage image = generator.copyCGImageAtTime(MediaTime::makeWithSeconds(seconds, 1000000));
            if (image.isNull()) {
                std::fprintf(stderr, "frame grab failed on %s\n", qPrintable(files[c]));
                return;
            }
            ours[c].push_back(msSince(timer));
            theirs[c].push_back(ffmpegFrame(files[c], seconds));
        }
    }
    std::fprintf(
        stderr,
        "frame grab, one 1080p30 H.264 channel at %.3f s (frame 29 of its group, file opened each time), "
        "%d runs:\n",
        seconds, repeat);
    const char* names[3] = {"front", "rear", "inside"};
    for (int c = 0; c < 3; ++c) {
        const double a = median(ours[c]);
        const double b = median(theirs[c]);
        std::fprintf(
            stderr,
            "  %-6s AssetImageGenerator median %5.1f ms (min %5.1f); ffmpeg -ss T -frames:v 1 median %5.1f "
            "ms (min %5.1f); ratio %.2f\n",
            names[c], a, low(ours[c]), b, low(theirs[c]), b > 0 ? a / b : 0.0);
    }
}

} // namespace

int main(int argc, char** argv) {
    platform::installLogLineHandler();
    if (argc < 2) {
        std::fprintf(stderr, "usage: capture_bench WORK_DIR [--repeat N]\n");
        return 2;
    }
    int repeat = 10;
    for (int i = 2; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--repeat") == 0)
            repeat = std::max(1, std::atoi(argv[i + 1]));

    // Settings and the desktop folder of the run live in the work folder: the user's own
    // stay untouched.
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir + QStringLiteral("/config"));
    qputenv("XDG_CONFIG_HOME", (dir + QStringLiteral("/config")).toLocal8Bit());
    QFile dirs(dir + QStringLiteral("/config/user-dirs.dirs"));
    if (dirs.open(QIODevice::WriteOnly))
        dirs.write("XDG_DESKTOP_DIR=\"" + dir.toLocal8Bit() + "/Desktop\"\n");
    dirs.close();

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    av_log_set_level(AV_LOG_QUIET);

    Storyboard& main = Storyboard::named(QString::fromLatin1(StoryboardName::kMain));
    main.registerController(QString::fromLatin1(ControllerIdentifier::kCaptureViewController),
                            [] { return new CaptureViewController; });
    main.registerSegue(QString::fromLatin1(SegueIdentifier::kOrvoToCapture),
                       QString::fromLatin1(ControllerIdentifier::kOrvoViewController),
                       QString::fromLatin1(ControllerIdentifier::kCaptureViewController),
                       SeguePresentation::Sheet);

    const Recording r = writeRecording(dir);
    latencyBench(r, repeat);
    frameBench(r, repeat);
    return 0;
}
