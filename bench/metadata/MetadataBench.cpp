// Metadata benchmarks.
//
//   metadata_bench --recording=LAYOUT:FILE ... --card=DIR [Google Benchmark flags]
//
// For each --recording: the full parse (CParserWrapper, all samples), the first
// fix (getFirstGPS) and `ffprobe -show_streams` of the same file. With --card:
// the first fix of every .mp4/.avi under DIR, the work of the recording list's
// location column (the FFmpeg reader's first packet when no parser reads a
// file), reported as files per second after one warm-up pass.

#include "metadata/CParserWrapper.h"
#include "metadata/FFmpeg.h"
#include "platform/system/LogCategories.h"
#include "platform/system/SystemLog.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Runs `ffprobe -v error -show_streams FILE` with its output discarded; false when it failed.
bool runFfprobe(const std::string& file) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string args[] = {"ffprobe", "-v", "error", "-show_streams", file};
    char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data(), args[4].data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "ffprobe", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void fullParse(benchmark::State& state, QString path) {
    for (auto _ : state) {
        CParserWrapper wrapper(false);
        if (!wrapper.parse(path)) {
            state.SkipWithError("no parser reads the file");
            break;
        }
        benchmark::DoNotOptimize(wrapper.getGpsDatas());
    }
}

void firstFix(benchmark::State& state, QString path) {
    for (auto _ : state) {
        const std::optional<GpsData> fix = CParserWrapper().getFirstGPS(path);
        if (!fix) {
            state.SkipWithError("no first fix");
            break;
        }
        benchmark::DoNotOptimize(fix);
    }
}

void ffprobe(benchmark::State& state, std::string path) {
    for (auto _ : state) {
        if (!runFfprobe(path)) {
            state.SkipWithError("ffprobe failed");
            break;
        }
    }
}

// The first fix of one file as the recording list's location column gets it.
bool locationFix(const QString& path, FFmpeg& reader) {
    if (const auto fix = CParserWrapper().getFirstGPS(path)) {
        benchmark::DoNotOptimize(fix->getLat());
        return true;
    }
    return reader.getFirstGPSForFile(path) == 0;
}

void cardFirstFix(benchmark::State& state, std::vector<QString> files) {
    FFmpeg reader;
    for (const QString& file : files) // warm the page cache
        locationFix(file, reader);
    int64_t withFix = 0;
    for (auto _ : state) {
        withFix = 0;
        for (const QString& file : files)
            withFix += locationFix(file, reader) ? 1 : 0;
    }
    state.SetItemsProcessed(state.iterations() * int64_t(files.size()));
    state.counters["files"] = double(files.size());
    state.counters["files_with_fix"] = double(withFix);
}

std::vector<QString> cardFiles(const std::string& dir) {
    std::vector<QString> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".mp4" || ext == ".avi"))
            files.push_back(QString::fromStdString(entry.path().string()));
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv) {
    platform::installLogLineHandler();
    platform::setSystemLogSink([](const std::string&) {});
    std::vector<char*> rest;
    std::vector<std::pair<std::string, std::string>> recordings;
    std::string card;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--recording=", 0) == 0) {
            const std::string value = arg.substr(12);
            const auto colon = value.find(':');
            if (colon == std::string::npos) {
                std::fprintf(stderr, "--recording needs LAYOUT:FILE\n");
                return 2;
            }
            recordings.emplace_back(value.substr(0, colon), value.substr(colon + 1));
        } else if (arg.rfind("--card=", 0) == 0) {
            card = arg.substr(7);
        } else {
            rest.push_back(argv[i]);
        }
    }
    // The parsers print diagnostics on standard output; the figures go to standard error then.
    for (const auto& [layout, file] : recordings) {
        const QString path = QString::fromStdString(file);
        benchmark::RegisterBenchmark(("FullParse/" + layout).c_str(), fullParse, path)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("FirstFix/" + layout).c_str(), firstFix, path)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Ffprobe/" + layout).c_str(), ffprobe, file)
            ->Unit(benchmark::kMicrosecond);
    }
    if (!card.empty()) {
        const std::vector<QString> files = cardFiles(card);
        benchmark::RegisterBenchmark("CardFirstFix", cardFirstFix, files)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    int restCount = int(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
