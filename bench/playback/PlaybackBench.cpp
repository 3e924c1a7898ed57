// Playback figures of the window player, driven through the real controller
// with generated recordings (software renderer, no sound device):
// - channels in step: a three-channel recording plays for N seconds at 1.0x and
//   at 2.0x; every 0.1 s (the play timer's tick) the spread between the
//   channels' positions is sampled, both as the players report them (whole
//   frames) and as estimated between their frame reports; a thread on each processor notes when
//   it was held up (a virtual machine's host taking the processor away), and the samples taken
//   just after one are counted apart as well;
// - start: from the double action (playNext onto the recording) to the first
//   picture of every channel, for a three-channel MP4 recording and a
//   two-stream AVI (rewrap included), beside the wall time `mpv` itself takes
//   to decode the first frame of the same file (`--vo=null --frames=1`);
// - load: CPU time (getrusage) per second of playback of four 1080p channels.
//
// usage: playback_bench WORK_DIR [--seconds N] [--repeat N] [--skip-sync] [--sync-only] [--screenshot PNG]
// The system's diagnostics go to /dev/null; the figures go to standard error.

#include "SampleGen.h"
#include "common/RecordingEntry.h"

#include "metadata/RecordingList.h"
#include "platform/media/MutableComposition.h"
#include "platform/media/Player.h"
#include "platform/media/PlayerItem.h"
#include "platform/media/PlayerView.h"
#include "platform/media/SoftwarePlayerView.h"
#include "playback/ChannelComposition.h"
#include "playback/ChannelSync.h"
#include "player/window/OrvoViewController.h"
#include "shared/PlayerState.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr double kFrame = 1.0 / 30.0;

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

void runFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    waitFor([&] { return timer.elapsed() >= ms; }, ms + 1000);
}

struct Recording {
    QString front, rear, inside;
};

Recording writeThreeChannels(const QString& dir, const QString& stamp, double seconds, int width,
                             int height) {
    samplegen::RecordingOptions options;
    options.seconds = seconds;
    options.width = width;
    options.height = height;
    options.fps = 30;
    Recording r;
    const auto write = [&](const char* channel, samplegen::Look look, bool audio) {
        samplegen::RecordingOptions o = options;
        o.look = look;
        o.audio = audio;
        const QString path = dir + QStringLiteral("/%1_%2_N.mp4").arg(stamp, QLatin1String(channel));
        if (!QFile::exists(path))
            samplegen::writeRecording(path.toStdString(), o);
        return path;
    };
    r.front = write("F", samplegen::Look::Front, true);
    r.rear = write("R", samplegen::Look::Rear, false);
    r.inside = write("I", samplegen::Look::Interior, false);
    return r;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t index =
        std::min(values.size() - 1, static_cast<std::size_t>(p * (values.size() - 1) + 0.5));
    return values[index];
}

double median(std::vector<double> values) {
    return percentile(std::move(values), 0.5);
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

struct Screen {
    std::unique_ptr<OrvoViewController> vc;

    Screen() {
        vc = std::make_unique<OrvoViewController>();
        vc->resize(1280, 800);
        vc->loadViewIfNeeded();
        if (vc->players.isEmpty())
            vc->setupPlayerViews(4);
        if (!vc->currentTrackTimer)
            vc->startPlayTimer();
        vc->show();
    }

    QImage picture(int i) const {
        auto* surface = dynamic_cast<SoftwarePlayerView*>(vc->avplayerViews.at(i)->surface());
        return surface ? surface->currentImage() : QImage();
    }
};

void setList(const QList<orvoTableModel>& list) {
    recordingList = list;
    displayedRecordingList = list;
}

// Spread statistics of one run.
struct SpreadRun {
    std::vector<double> estimated;
    std::vector<double> reported;
    std::vector<qint64> sampledNs;
    // The samples over 10 ms (estimated) or over one frame (reported): their time in the recording,
    // estimated spread, and when they were taken.
    struct Over {
        double at, spread;
        qint64 sampledNs;
    };
    std::vector<Over> over;
};

qint64 steadyNowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One thread per processor, each held to its processor, sleeping 2 ms at a time and keeping the
// times it woke well late: the processor ran nothing of this process meanwhile (a virtual
// machine's processor taken away by its host shows as this, even on an idle guest). A sample
// over the limit is then told apart from the channels' own doing.
class HoldUpWatch {
public:
    struct HoldUp {
        int processor;
        qint64 fromNs, untilNs;
    };

    HoldUpWatch() {
        const int processors = std::max(1, QThread::idealThreadCount());
        for (int cpu = 0; cpu < processors; ++cpu)
            m_threads.emplace_back([this, cpu] { watch(cpu); });
    }
    ~HoldUpWatch() {
        m_stop = true;
        for (std::thread& thread : m_threads)
            thread.join();
    }
    // The longest hold-up, in seconds, overlapping [fromNs, untilNs], and its processor.
    std::pair<double, int> longest(qint64 fromNs, qint64 untilNs) {
        std::lock_guard lock(m_mutex);
        std::pair<double, int> found{0.0, -1};
        for (const HoldUp& h : m_holdUps)
            if (h.untilNs >= fromNs && h.fromNs <= untilNs && (h.untilNs - h.fromNs) / 1e9 > found.first)
                found = {(h.untilNs - h.fromNs) / 1e9, h.processor};
        return found;
    }

private:
    void watch(int cpu) {
        cpu_set_t set;
        CPU_ZERO(&set);
        CPU_SET(cpu, &set);
        pthread_setaffinity_np(pthread_self(), sizeof(set), &set);
        while (!m_stop) {
            const qint64 before = steadyNowNs();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            const qint64 after = steadyNowNs();
            if (after - before > 8'000'000) {
                std::lock_guard lock(m_mutex);
                m_holdUps.push_back({cpu, before + 2'000'000, after});
            }
        }
    }

    std::vector<std::thread> m_threads;
    std::atomic_bool m_stop{false};
    std::mutex m_mutex;
    std::vector<HoldUp> m_holdUps;
};

// A sample is put down to a held-up processor when one was held this long within this time
// before it (the channels' frames come late for about as long again after it).
constexpr double kHeldUpAbove = 0.015;
constexpr qint64 kHeldUpBeforeNs = 250'000'000;

HoldUpWatch* holdUpWatch = nullptr;

// One line per channel of a sample over the limit: what it reports and since when, its
// estimate, its rate (a nudge), the model's residuals, the gaps between its latest reports,
// and its view's render thread.
void describeSample(Screen& screen, double spread, double reported) {
    OrvoViewController& vc = *screen.vc;
    const auto states = vc.channelSync().trackStates();
    const qint64 now = steadyNowNs();
    std::fprintf(stderr, "  over: at %.3f s, estimated %.1f ms, reported %.1f ms\n",
                 states.empty() ? 0.0 : states.front().reported, spread * 1000, reported * 1000);
    if (holdUpWatch) {
        const auto [held, processor] = holdUpWatch->longest(now - kHeldUpBeforeNs, now);
        if (processor >= 0)
            std::fprintf(stderr, "    processor %d held up %.1f ms in the last %lld ms\n", processor,
                         held * 1000, static_cast<long long>(kHeldUpBeforeNs / 1'000'000));
    }
    for (const auto& state : states) {
        int index = static_cast<int>(vc.players.indexOf(state.player));
        std::fprintf(
            stderr,
            "    ch%d: reported %.4f seen %.1f ms ago%s, estimated %.4f (%+.1f ms), rate %.4f%s trim "
            "%.4f, %s residual %.1f ms, last %+.1f ms; gaps",
            index, state.reported, state.reportAge * 1000, state.stalled ? " (held up)" : "", state.estimated,
            (state.estimated - states.front().estimated) * 1000, state.rate, state.nudged ? " (nudged)" : "",
            state.trim, state.steady ? "steady" : "unsteady", state.residual * 1000,
            state.lastResidual * 1000);
        for (double gap : state.intervals)
            std::fprintf(stderr, " %.1f", gap * 1000);
        auto* surface = index >= 0 && index < vc.avplayerViews.size()
                            ? dynamic_cast<SoftwarePlayerView*>(vc.avplayerViews.at(index)->surface())
                            : nullptr;
        if (surface) {
            const auto render = surface->renderState();
            std::fprintf(stderr,
                         "; render %s%s, %llu pictures, last begun %.1f ms ago took %.1f ms (longest %.1f), "
                         "asked %.1f ms ago",
                         render.rendering ? "busy" : "idle", render.pending ? " +pending" : "",
                         static_cast<unsigned long long>(render.pictures), (now - render.lastStartNs) / 1e6,
                         render.lastDurationNs / 1e6, render.longestDurationNs / 1e6,
                         (now - render.lastRequestNs) / 1e6);
        }
        std::fprintf(stderr, "\n");
    }
}

SpreadRun sampleSpread(Screen& screen, int seconds) {
    SpreadRun run;
    OrvoViewController& vc = *screen.vc;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        // What libmpv has signalled but the loop has not yet got to is read too: the players show it.
        vc.channelSync().takeInReports();
        const QList<Player*> active = vc.channelSync().activePlayers();
        // Why a tick takes no sample (a channel missing or failed to open), on request.
        if (std::getenv("PLAYBACK_BENCH_WHY")) {
            std::fprintf(stderr, "why: %lld active, coordinating %d, rates",
                         static_cast<long long>(active.size()), vc.channelSync().isCoordinating());
            for (Player* player : active)
                std::fprintf(stderr, " %.3f@%.2f", player->rate(), player->currentSeconds());
            for (int i = 0; i < 3; ++i) {
                const auto item = vc.players[i]->currentItem();
                std::fprintf(stderr, " [%d: %d %s]", i, item ? static_cast<int>(item->status()) : -1,
                             item ? qPrintable(item->errorString()) : "no item");
            }
            std::fprintf(stderr, "\n");
        }
        if (active.size() < 3 || vc.channelSync().isCoordinating())
            return;
        for (Player* player : active)
            if (!(player->rate() > 0.0))
                return;
        run.estimated.push_back(vc.channelSync().estimatedSpread());
        if (std::getenv("PLAYBACK_BENCH_RATES") && run.estimated.size() % 20 == 0)
            std::fprintf(stderr, "rates: %.3f %.3f %.3f at %.2f\n", active[0]->rate(), active[1]->rate(),
                         active[2]->rate(), active[0]->currentSeconds());
        if (std::getenv("PLAYBACK_BENCH_TRACE")) {
            const auto positions = vc.channelSync().estimatedPositions();
            std::fprintf(stderr, "trace:");
            for (std::size_t i = 0; i < positions.size(); ++i)
                std::fprintf(stderr, " %.4f/%.4f", positions[i],
                             active[static_cast<qsizetype>(i)]->currentSeconds());
            std::fprintf(stderr, "\n");
        }
        double low = 1e9, high = -1e9;
        for (Player* player : active) {
            low = std::min(low, player->currentSeconds());
            high = std::max(high, player->currentSeconds());
        }
        run.reported.push_back(high - low);
        run.sampledNs.push_back(steadyNowNs());
        const double spread = run.estimated.back();
        if (spread > 0.010 || high - low > kFrame + 0.001) {
            run.over.push_back({active[0]->currentSeconds(), spread, run.sampledNs.back()});
            if (std::getenv("PLAYBACK_BENCH_EXPLAIN"))
                describeSample(screen, spread, high - low);
        }
    });
    tick.start(100);
    runFor(seconds * 1000);
    tick.stop();
    return run;
}

std::string loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return "?";
    const QList<QByteArray> fields = file.readAll().split(' ');
    return fields.size() >= 3 ? (fields[0] + ' ' + fields[1] + ' ' + fields[2]).toStdString() : "?";
}

// One speed of one run: its spread figures, corrections and the load beside it.
struct SyncRow {
    int run = 0;
    double speed = 1.0;
    SpreadRun spread;
    int nudges = 0;
    int resyncs = 0;
    std::string load;
};

// The longest hold-up of a processor over kHeldUpAbove just before `sampledNs`; 0 when none.
double heldUpBefore(qint64 sampledNs) {
    if (!holdUpWatch)
        return 0.0;
    const double held = holdUpWatch->longest(sampledNs - kHeldUpBeforeNs, sampledNs).first;
    return held > kHeldUpAbove ? held : 0.0;
}

// The estimated spreads of the samples no processor hold-up came just before.
std::vector<double> spreadsClearOfHoldUps(const SpreadRun& run) {
    std::vector<double> clear;
    for (std::size_t i = 0; i < run.estimated.size(); ++i)
        if (heldUpBefore(run.sampledNs[i]) == 0.0)
            clear.push_back(run.estimated[i]);
    return clear;
}

std::size_t overCount(const SpreadRun& run) {
    return static_cast<std::size_t>(
        std::count_if(run.estimated.begin(), run.estimated.end(), [](double v) { return v > 0.010; }));
}

void printRowHeader() {
    std::fprintf(stderr, "%-4s %-5s %7s %8s %8s %8s %6s %9s %7s %8s  %s\n", "run", "speed", "samples",
                 "max ms", "p99 ms", "median", ">10ms", "frames ms", "nudges", "re-seeks",
                 "load (1/5/15 min)");
}

void printRow(const SyncRow& row) {
    std::fprintf(stderr, "%-4d %-5.1f %7zu %8.1f %8.1f %8.1f %6zu %9.1f %7d %8d  %s\n", row.run, row.speed,
                 row.spread.estimated.size(), percentile(row.spread.estimated, 1.0) * 1000,
                 percentile(row.spread.estimated, 0.99) * 1000, median(row.spread.estimated) * 1000,
                 overCount(row.spread), percentile(row.spread.reported, 1.0) * 1000, row.nudges, row.resyncs,
                 row.load.c_str());
}

// The samples over the limits, with their time in the recording.
void printOver(const SyncRow& row) {
    if (row.spread.over.empty())
        return;
    std::fprintf(stderr,
                 "     run %d at %.1fx, over 10 ms or one frame at (s in the recording: ms):", row.run,
                 row.speed);
    for (const SpreadRun::Over& over : row.spread.over) {
        std::fprintf(stderr, " %.2f: %.1f", over.at, over.spread * 1000);
        const double held = heldUpBefore(over.sampledNs);
        if (held > 0.0)
            std::fprintf(stderr, " (processor held %.0f ms)", held * 1000);
    }
    std::fprintf(stderr, "\n");
}

// Plays a three-channel recording from its start for `seconds` at 1.0x, then for `seconds`
// at 2.0x; `runs` times, one after another, each run reported.
void syncBench(const QString& dir, int seconds, int runs) {
    const Recording r =
        writeThreeChannels(dir, QStringLiteral("20241108-07%1").arg(seconds, 4, 10, QLatin1Char('0')),
                           seconds * 3 + 30, 1280, 720);
    playMode = mode::multiple_ch;
    Screen screen;
    std::vector<SyncRow> rows;
    std::fprintf(stderr, "sync: %d runs of %d s at 1.0x then %d s at 2.0x, three 720p30 channels\n", runs,
                 seconds, seconds);
    printRowHeader();
    for (int run = 1; run <= runs; ++run) {
        setList({entry(r.front, r.rear, r.inside)});
        currentIndex = -1;
        screen.vc->playNext();
        if (!waitFor(
                [&] {
                    const auto& p = screen.vc->players;
                    return p[0]->rate() > 0 && p[1]->rate() > 0 && p[2]->rate() > 0 &&
                           p[0]->currentSeconds() > 0.5;
                },
                30000)) {
            std::fprintf(stderr, "sync: the recording did not start\n");
            return;
        }
        for (const double speed : {1.0, 2.0}) {
            if (speed == 2.0) {
                speedIndex = 3;
                screen.vc->setPlaySpeed(3);
                // The channels start together again at the new speed (a coordinated start).
                waitFor(
                    [&] {
                        const auto& p = screen.vc->players;
                        return !screen.vc->channelSync().isCoordinating() && p[0]->rate() > 0 &&
                               p[1]->rate() > 0 && p[2]->rate() > 0;
                    },
                    30000);
                runFor(1500);
            }
            SyncRow row;
            row.run = run;
            row.speed = speed;
            const auto before = screen.vc->channelSync().stats();
            row.spread = sampleSpread(screen, seconds);
            const auto after = screen.vc->channelSync().stats();
            row.nudges = after.nudges - before.nudges;
            row.resyncs = after.resyncs - before.resyncs;
            row.load = loadAverage();
            printRow(row);
            rows.push_back(std::move(row));
        }
        screen.vc->stopPlayback();
        runFor(500);
    }
    std::fprintf(stderr, "\nsync, every run:\n");
    printRowHeader();
    for (const SyncRow& row : rows)
        printRow(row);
    for (const SyncRow& row : rows)
        printOver(row);
    for (const double speed : {1.0, 2.0}) {
        double worst = 0.0, worstP99 = 0.0, worstFrames = 0.0, clearWorst = 0.0, clearP99 = 0.0;
        std::size_t over = 0, held = 0, clearOver = 0;
        int resyncs = 0;
        for (const SyncRow& row : rows) {
            if (std::abs(row.speed - speed) > 0.01)
                continue;
            const std::vector<double> clear = spreadsClearOfHoldUps(row.spread);
            held += row.spread.estimated.size() - clear.size();
            clearWorst = std::max(clearWorst, percentile(clear, 1.0));
            clearP99 = std::max(clearP99, percentile(clear, 0.99));
            clearOver += static_cast<std::size_t>(
                std::count_if(clear.begin(), clear.end(), [](double v) { return v > 0.010; }));
            worst = std::max(worst, percentile(row.spread.estimated, 1.0));
            worstP99 = std::max(worstP99, percentile(row.spread.estimated, 0.99));
            worstFrames = std::max(worstFrames, percentile(row.spread.reported, 1.0));
            over += overCount(row.spread);
            resyncs += row.resyncs;
        }
        std::fprintf(stderr,
                     "sync %.1fx, all runs: max %.1f ms, largest p99 %.1f ms, %zu samples over 10 ms, whole "
                     "frames at most %.1f ms apart, %d re-seeks\n",
                     speed, worst * 1000, worstP99 * 1000, over, worstFrames * 1000, resyncs);
        std::fprintf(
            stderr,
            "  without the %zu samples taken within %lld ms after a processor was held up over %.0f ms: "
            "max %.1f ms, largest p99 %.1f ms, %zu samples over 10 ms\n",
            held, static_cast<long long>(kHeldUpBeforeNs / 1'000'000), kHeldUpAbove * 1000, clearWorst * 1000,
            clearP99 * 1000, clearOver);
    }
}

// Wall time of mpv decoding the first frame of `path` (process start to exit).
double mpvFirstFrame(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    QProcess mpv;
    mpv.setStandardOutputFile(QProcess::nullDevice());
    mpv.setStandardErrorFile(QProcess::nullDevice());
    mpv.start(QStringLiteral("mpv"),
              {QStringLiteral("--no-config"), QStringLiteral("--vo=null"), QStringLiteral("--ao=null"),
               QStringLiteral("--frames=1"), QStringLiteral("--load-scripts=no"), QStringLiteral("--osc=no"),
               QStringLiteral("--really-quiet"), path});
    if (!mpv.waitForStarted() || !mpv.waitForFinished(30000))
        return -1;
    return timer.nsecsElapsed() / 1e6;
}

// From playNext onto entry 0 to a picture in each of the first `channels` views.
double startTime(Screen& screen, int channels) {
    OrvoViewController& vc = *screen.vc;
    vc.stopPlayback();
    runFor(300);
    currentIndex = -1;
    QElapsedTimer timer;
    timer.start();
    vc.playNext();
    // Every channel's coordinated seek to the start has finished (mpv has shown its first
    // frame), the players run, and each view holds a picture.
    const bool shown = waitFor(
        [&] {
            if (vc.channelSync().isCoordinating())
                return false;
            for (int i = 0; i < channels; ++i) {
                const auto item = vc.players[i]->currentItem();
                if (!item || item->status() != PlayerItem::Status::ReadyToPlay ||
                    !(vc.players[i]->rate() > 0.0) || screen.picture(i).isNull())
                    return false;
            }
            return true;
        },
        30000);
    return shown ? timer.nsecsElapsed() / 1e6 : -1;
}

void startBench(const QString& dir, int repeat) {
    std::vector<double> mp4, avi, mpvMp4, mpvAvi;
    Screen screen;
    playMode = mode::multiple_ch;
    for (int i = 0; i < repeat; ++i) {
        // A recording not seen before each time: its metadata is parsed as on first play.
        const Recording r = writeThreeChannels(
            dir, QStringLiteral("20241108-09%1").arg(i, 4, 10, QLatin1Char('0')), 20, 1280, 720);
        setList({entry(r.front, r.rear, r.inside)});
        mp4.push_back(startTime(screen, 3));
        mpvMp4.push_back(mpvFirstFrame(r.front));

        const QString aviPath = dir + QStringLiteral("/20241108-10%1_N.avi").arg(i, 4, 10, QLatin1Char('0'));
        if (!QFile::exists(aviPath)) {
            samplegen::RecordingOptions o;
            o.layout = samplegen::Layout::Avi;
            o.videoStreams = 2;
            o.seconds = 20;
            o.width = 1280;
            o.height = 720;
            samplegen::writeRecording(aviPath.toStdString(), o);
        }
        setList({entry(aviPath)});
        avi.push_back(startTime(screen, 2));
        mpvAvi.push_back(mpvFirstFrame(aviPath));
    }
    screen.vc->stopPlayback();
    std::fprintf(
        stderr,
        "start, three-channel MP4 (720p, 20 s): median %.0f ms, min %.0f ms; mpv first frame of the front "
        "file: median %.0f ms, min %.0f ms\n",
        median(mp4), percentile(mp4, 0.0), median(mpvMp4), percentile(mpvMp4, 0.0));
    std::fprintf(
        stderr,
        "start, two-stream AVI (720p, 20 s, rewrap included): median %.0f ms, min %.0f ms; mpv first frame "
        "of the AVI: median %.0f ms, min %.0f ms\n",
        median(avi), percentile(avi, 0.0), median(mpvAvi), percentile(mpvAvi, 0.0));
}

void loadBench(const QString& dir, int seconds) {
    const Recording r = writeThreeChannels(dir, QStringLiteral("20241108-110000"), seconds + 15, 1920, 1080);
    const QString fourth = dir + QStringLiteral("/20241108-110000_X_N.mp4");
    if (!QFile::exists(fourth)) {
        samplegen::RecordingOptions o;
        o.seconds = seconds + 15;
        o.width = 1920;
        o.height = 1080;
        o.audio = false;
        o.look = samplegen::Look::Rear;
        samplegen::writeRecording(fourth.toStdString(), o);
    }
    // A four-channel asset: the composition of the three channel files plus a fourth camera.
    auto composition = MutableComposition::composition();
    std::shared_ptr<Asset> sound;
    for (const QString& path : {r.front, r.rear, r.inside, fourth}) {
        const auto asset = Asset::assetWithUrl(QUrl::fromLocalFile(path));
        const auto video = asset->tracksWithMediaType(MediaType::Video);
        if (video.isEmpty())
            return;
        composition->addMutableTrackWithMediaType(MediaType::Video)
            ->insertTimeRange(MediaTimeRange(MediaTime::zero(), asset->duration()), video.first(),
                              MediaTime::zero());
        if (!sound)
            sound = asset;
    }
    composition->addMutableTrackWithMediaType(MediaType::Audio)
        ->insertTimeRange(MediaTimeRange(MediaTime::zero(), sound->duration()),
                          sound->tracksWithMediaType(MediaType::Audio).first(), MediaTime::zero());

    setList({entry(r.front, r.rear, r.inside)});
    playMode = mode::multiple_ch;
    Screen screen;
    currentAsset = composition;
    channelCount = 4;
    screen.vc->applyPlayModeLayout();
    screen.vc->play(composition, 0, false);
    if (!waitFor(
            [&] {
                for (int i = 0; i < 4; ++i)
                    if (!(screen.vc->players[i]->rate() > 0) || screen.vc->players[i]->currentSeconds() < 1.0)
                        return false;
                return true;
            },
            30000)) {
        std::fprintf(stderr, "load: the four channels did not start\n");
        return;
    }
    const double cpu0 = cpuSeconds();
    const double media0 = screen.vc->players[0]->currentSeconds();
    QElapsedTimer wall;
    wall.start();
    runFor(seconds * 1000);
    const double cpu = cpuSeconds() - cpu0;
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const double media = screen.vc->players[0]->currentSeconds() - media0;
    std::fprintf(
        stderr,
        "load, four 1080p30 H.264 channels (software decoding, software renderer, views of a 1280x800 "
        "window): %.2f CPU-seconds per second of playback (%.1f s CPU over %.1f s wall, %.1f s of media; "
        "%d processors)\n",
        cpu / elapsed, cpu, elapsed, media, QThread::idealThreadCount());
    screen.vc->stopPlayback();
}

// Renders the window player to `path` while a generated card's first three-channel
// recording plays.
int screenshot(const QString& dir, const QString& path) {
    samplegen::CardOptions options;
    options.recordings = 6;
    options.seconds = 20;
    options.width = 640;
    options.height = 360;
    options.mixed = false;
    const QString card = dir + QStringLiteral("/card");
    if (!QFile::exists(card + QStringLiteral("/ver.txt")))
        samplegen::writeCard(card.toStdString(), options);
    recordingList.clear();
    Screen screen;
    QList<QUrl> files;
    for (const QFileInfo& info : QDir(card).entryInfoList(QDir::Files))
        files.append(QUrl::fromLocalFile(info.absoluteFilePath()));
    screen.vc->buildRecordingList(files);
    currentIndex = -1;
    playMode = mode::multiple_ch;
    screen.vc->playNext();
    waitFor(
        [&] {
            const auto& p = screen.vc->players;
            return p[0]->currentSeconds() > 4.0 && p[1]->rate() > 0 && p[2]->rate() > 0;
        },
        30000);
    runFor(500);
    const QImage image = screen.vc->grab().toImage();
    screen.vc->stopPlayback();
    return image.save(path) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(
            stderr,
            "usage: playback_bench WORK_DIR [--seconds N] [--repeat N] [--skip-sync] [--sync-only]\n");
        return 2;
    }
    int seconds = 60, repeat = 5;
    bool skipSync = false, syncOnly = false;
    for (int i = 2; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
            seconds = std::max(5, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--skip-sync"))
            skipSync = true;
        else if (!std::strcmp(argv[i], "--sync-only"))
            syncOnly = true;
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
    // A recording list held at load: the window player schedules no start-up step.
    setList({entry(dir + QStringLiteral("/none.mp4"))});

    // The system's own diagnostics are not part of the figures.
    std::fflush(stdout);
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    try {
        for (int i = 2; i + 1 < argc; ++i)
            if (!std::strcmp(argv[i], "--screenshot"))
                return screenshot(dir, QString::fromLocal8Bit(argv[i + 1]));
        if (!skipSync) {
            HoldUpWatch watch;
            holdUpWatch = &watch;
            syncBench(dir, seconds, repeat);
            holdUpWatch = nullptr;
        }
        if (syncOnly)
            return 0;
        startBench(dir, repeat);
        loadBench(dir, std::min(seconds, 20));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
