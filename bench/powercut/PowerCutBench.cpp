// The start of an AVI recording left by a power cut in a camera that reserves its files: a 4 s
// recording followed by a long run of zeros (a sparse file), beside the same recording without
// the tail, the peer. For each: the rewrap (HEVC test and aviToMov), the metadata parse
// (getUserData on an empty cache) and the first picture through the real window player (from
// playNext onto the recording to a picture on screen, rewrap and parse included).
//
// usage: powercut_bench WORK_DIR [--repeat N] [--tail-mib N]
// The system's diagnostics go to /dev/null; the figures go to standard error.

#include "SampleGen.h"
#include "common/RecordingEntry.h"

#include "metadata/FFmpeg.h"
#include "metadata/PacketCache.h"
#include "metadata/RecordingList.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/media/PlayerView.h"
#include "platform/media/SoftwarePlayerView.h"
#include "platform/system/LogCategories.h"
#include "playback/ChannelComposition.h"
#include "playback/ChannelSync.h"
#include "player/window/OrvoViewController.h"
#include "shared/PlayerState.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return true;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double milliseconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

struct Timings {
    std::vector<double> rewrap, parse, picture;
};

// Rewrap and parse alone, each on a cold start of its own (no earlier result to reuse).
void measureSteps(const QString& path, Timings& t) {
    QElapsedTimer timer;
    timer.start();
    FFmpeg reader;
    const bool hevc = reader.isH265(path);
    const auto asset = aviToMov(QUrl::fromLocalFile(path), hevc);
    t.rewrap.push_back(asset ? milliseconds(timer) : -1);

    packetCache.clear();
    timer.restart();
    getUserData(path, reader);
    t.parse.push_back(packetModelForURL(QUrl::fromLocalFile(path)) ? milliseconds(timer) : -1);
}

// From playNext onto the recording to its picture on screen.
void measurePicture(OrvoViewController& vc, const QString& path, Timings& t) {
    vc.stopPlayback();
    packetCache.clear();
    recordingList = {entry(path)};
    displayedRecordingList = recordingList;
    currentIndex = -1;
    auto* surface = dynamic_cast<SoftwarePlayerView*>(vc.avplayerViews.at(0)->surface());
    // The view keeps the last picture of the previous recording: wait for a new one.
    const qint64 previous = surface ? surface->currentImage().cacheKey() : 0;
    QElapsedTimer timer;
    timer.start();
    vc.playNext();
    const bool shown = waitFor(
        [&] {
            if (vc.channelSync().isCoordinating())
                return false;
            const auto item = vc.players[0]->currentItem();
            if (!item || item->status() != PlayerItem::Status::ReadyToPlay || !(vc.players[0]->rate() > 0.0))
                return false;
            return surface && !surface->currentImage().isNull() &&
                   surface->currentImage().cacheKey() != previous;
        },
        300000);
    t.picture.push_back(shown ? milliseconds(timer) : -1);
}

void report(const char* what, const Timings& clean, const Timings& cut) {
    const auto line = [&](const char* step, const std::vector<double>& a, const std::vector<double>& b) {
        const double peer = median(a);
        const double value = median(b);
        std::fprintf(stderr, "%s %-28s power cut %6.0f ms, finished recording %6.0f ms, ratio %.2f\n", what,
                     step, value, peer, peer > 0 ? value / peer : 0.0);
    };
    line("rewrap (HEVC test + ffmpeg)", clean.rewrap, cut.rewrap);
    line("metadata parse", clean.parse, cut.parse);
    line("first picture (playNext)", clean.picture, cut.picture);
}

} // namespace

int main(int argc, char** argv) {
    platform::installLogLineHandler();
    if (argc < 2) {
        std::fprintf(stderr, "usage: powercut_bench WORK_DIR [--repeat N] [--tail-mib N]\n");
        return 2;
    }
    int repeat = 5;
    qint64 tailMib = 2048;
    for (int i = 2; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "--repeat"))
            repeat = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--tail-mib"))
            tailMib = std::max(1, std::atoi(argv[++i]));
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
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
    channelCompositionEnvironment().alert = [](const QString& title, const QString& message) {
        std::fprintf(stderr, "alert: %s: %s\n", qPrintable(title), qPrintable(message));
    };

    const QString finished = dir + QStringLiteral("/20241108-083000_F_N.avi");
    const QString powerCut = dir + QStringLiteral("/20241108-084000_F_N.avi");
    try {
        samplegen::RecordingOptions o;
        o.layout = samplegen::Layout::Avi;
        o.seconds = 4;
        o.width = 1280;
        o.height = 720;
        samplegen::writeRecording(finished.toStdString(), o);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "failed: %s\n", error.what());
        return 1;
    }
    QFile::remove(powerCut);
    if (!QFile::copy(finished, powerCut) ||
        !QFile::resize(powerCut, QFileInfo(finished).size() + (tailMib << 20))) {
        std::fprintf(stderr, "failed: cannot make %s\n", qPrintable(powerCut));
        return 1;
    }
    std::fprintf(stderr, "recording %lld bytes; power-cut file %lld bytes (%lld MiB of zeros, sparse)\n",
                 static_cast<long long>(QFileInfo(finished).size()),
                 static_cast<long long>(QFileInfo(powerCut).size()), static_cast<long long>(tailMib));

    // A recording list held at load: the window player schedules no start-up step.
    recordingList = {entry(finished)};
    displayedRecordingList = recordingList;
    std::fflush(stdout);
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;

    OrvoViewController vc;
    vc.resize(1280, 800);
    vc.loadViewIfNeeded();
    if (vc.players.isEmpty())
        vc.setupPlayerViews(4);
    if (!vc.currentTrackTimer)
        vc.startPlayTimer();
    vc.show();
    playMode = mode::ch1;

    Timings clean, cut;
    for (int i = 0; i < repeat; ++i) {
        vc.stopPlayback();
        measureSteps(finished, clean);
        measureSteps(powerCut, cut);
        measurePicture(vc, finished, clean);
        measurePicture(vc, powerCut, cut);
    }
    vc.stopPlayback();
    report("4 s 720p AVI with sound, median:", clean, cut);
    const double picture = median(cut.picture);
    std::fprintf(stderr, "first picture of the power-cut file: %.0f ms (target: within 2000 ms) %s\n",
                 picture, picture >= 0 && picture <= 2000 ? "ok" : "MISSED");
    return 0;
}
