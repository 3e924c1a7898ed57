#include "ClipCache.h"

#include "ProcessRunner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace samplegen {

namespace {

// Bump when the clips change so old cache entries are not reused.
constexpr const char* kCacheVersion = "v5";
constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

const char* lookName(Look look) {
    switch (look) {
    case Look::Front:
        return "front";
    case Look::Rear:
        return "rear";
    case Look::Interior:
        return "interior";
    }
    return "front";
}

std::string tailOfLog(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    if (s.size() > 600)
        s = "..." + s.substr(s.size() - 600);
    return s;
}

std::mutex s_mutex;
std::map<std::string, std::shared_ptr<const Mp4Reader>> s_loaded;

} // namespace

std::string ClipKey::name() const {
    std::ostringstream s;
    s << lookName(look) << '-' << codecName(codec) << '-' << width << 'x' << height << '-' << fps << "fps-"
      << seconds << "s-" << kCacheVersion;
    return s.str();
}

std::string ClipCache::directory() {
    fs::path dir;
    if (const char* own = std::getenv("KAVRIN_SAMPLEGEN_CACHE"); own && *own)
        dir = own;
    else if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg)
        dir = fs::path(xdg) / "kavrin-samplegen";
    else if (const char* home = std::getenv("HOME"); home && *home)
        dir = fs::path(home) / ".cache" / "kavrin-samplegen";
    else
        dir = fs::temp_directory_path() / "kavrin-samplegen";
    std::error_code error;
    fs::create_directories(dir, error);
    if (!fs::is_directory(dir))
        throw SampleGenError("cannot create the clip cache folder " + dir.string());
    return dir.string();
}

std::string ClipCache::mp4Path(const ClipKey& key) {
    return (fs::path(directory()) / (key.name() + ".mp4")).string();
}

std::string ClipCache::aviPath(const ClipKey& key) {
    return (fs::path(directory()) / (key.name() + ".avi")).string();
}

std::vector<std::string> ClipCache::encodeArguments(const ClipKey& key, const std::string& out) {
    const std::string size = std::to_string(key.width) + "x" + std::to_string(key.height);
    const std::string rate = std::to_string(key.fps);
    const std::string duration = std::to_string(key.seconds);
    std::string video;
    std::string label;
    std::string audio;
    switch (key.look) {
    case Look::Front:
        video = "testsrc2=s=" + size + ":r=" + rate + ":d=" + duration;
        label = "FRONT";
        audio = "0.04*(random(0)*2-1)+0.25*sin(2*PI*660*t)*lt(mod(t,5),0.12)";
        break;
    case Look::Rear:
        video = "testsrc=s=" + size + ":r=" + rate + ":d=" + duration;
        label = "REAR";
        audio = "0.04*(random(0)*2-1)+0.2*sin(2*PI*440*t)*lt(mod(t+2.5,5),0.12)";
        break;
    case Look::Interior:
        video = "testsrc2=s=" + size + ":r=" + rate + ":d=" + duration +
                ",hflip,hue=H=2*PI*t/20:s=0.7,eq=brightness=-0.12:contrast=0.9";
        label = "INTERIOR";
        audio = "0.03*(random(0)*2-1)+0.12*sin(2*PI*220*t)*(0.5+0.5*sin(2*PI*0.5*t))";
        break;
    }
    if (fs::exists(kFontFile)) {
        const int big = std::max(12, key.height / 12);
        const int small = std::max(10, key.height / 16);
        const std::string font = std::string("fontfile=") + kFontFile;
        video += ",drawtext=" + font + ":text=" + label + ":x=" + std::to_string(big / 2) +
                 ":y=" + std::to_string(big / 2) + ":fontsize=" + std::to_string(big) +
                 ":fontcolor=white:box=1:boxcolor=black@0.55:boxborderw=6";
        video += ",drawtext=" + font + ":text='%{pts\\:hms}':x=w-tw-" + std::to_string(big / 2) + ":y=h-th-" +
                 std::to_string(big / 2) + ":fontsize=" + std::to_string(small) +
                 ":fontcolor=white:box=1:boxcolor=black@0.55:boxborderw=6";
    }
    std::vector<std::string> args = {ProcessRunner::ffmpegProgram(),
                                     "-nostdin",
                                     "-hide_banner",
                                     "-v",
                                     "error",
                                     "-y",
                                     "-f",
                                     "lavfi",
                                     "-i",
                                     video,
                                     "-f",
                                     "lavfi",
                                     "-i",
                                     "aevalsrc='" + audio + "':s=48000:d=" + duration,
                                     "-map",
                                     "0:v",
                                     "-map",
                                     "1:a"};
    if (key.codec == Codec::H264) {
        args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "30", "-bf", "0", "-g",
                                 rate, "-keyint_min", rate, "-sc_threshold", "0", "-profile:v", "high"});
    } else {
        args.insert(args.end(),
                    {"-c:v", "libx265", "-preset", "veryfast", "-crf", "32", "-tag:v", "hvc1", "-x265-params",
                     "bframes=0:keyint=" + rate + ":min-keyint=" + rate + ":scenecut=0:log-level=error"});
    }
    args.insert(args.end(),
                {"-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "64k", "-ac", "1", "-ar", "48000", "-t",
                 duration, "-map_metadata", "-1", "-fflags", "+bitexact", "-f", "mp4", out});
    return args;
}

std::vector<std::string> ClipCache::aviArguments(const ClipKey& key, const std::string& in,
                                                 const std::string& out) {
    return {ProcessRunner::ffmpegProgram(),
            "-nostdin",
            "-hide_banner",
            "-v",
            "error",
            "-y",
            "-i",
            in,
            "-map",
            "0",
            "-c:v",
            "copy",
            "-bsf:v",
            key.codec == Codec::H264 ? "h264_mp4toannexb" : "hevc_mp4toannexb",
            "-r",
            std::to_string(key.fps),
            "-tag:v",
            key.codec == Codec::H264 ? "H264" : "HEVC",
            "-c:a",
            "pcm_s16le",
            "-ar",
            "16000",
            "-map_metadata",
            "-1",
            "-fflags",
            "+bitexact",
            "-f",
            "avi",
            out};
}

void ClipCache::prepare(const std::vector<ClipKey>& keys) {
    const std::string dir = directory();
    const std::string tag = ".part" + std::to_string(getpid());
    // Two rounds: the MP4 encodes (in parallel), then the AVI copies made from them.
    for (int round = 0; round < 2; ++round) {
        struct Job {
            int pid;
            std::string temp, final, log;
        };
        std::vector<Job> jobs;
        std::map<std::string, bool> started;
        for (const ClipKey& key : keys) {
            const std::string final = round == 0 ? mp4Path(key) : aviPath(key);
            if (fs::exists(final) || started[final])
                continue;
            started[final] = true;
            Job job;
            job.temp = final + tag + (round == 0 ? ".mp4" : ".avi");
            job.final = final;
            job.log = final + tag + ".log";
            const auto args =
                round == 0 ? encodeArguments(key, job.temp) : aviArguments(key, mp4Path(key), job.temp);
            job.pid = ProcessRunner::start(args, job.log);
            jobs.push_back(job);
        }
        std::string failure;
        for (const Job& job : jobs) {
            const int rc = ProcessRunner::wait(job.pid);
            std::error_code error;
            if (rc == 0 && fs::file_size(job.temp, error) > 0) {
                fs::rename(job.temp, job.final, error);
                if (error && !fs::exists(job.final))
                    failure = "cannot store " + job.final + ": " + error.message();
            } else if (failure.empty()) {
                failure = "ffmpeg failed (" + std::to_string(rc) + ") making " + job.final + ": " +
                          tailOfLog(job.log);
            }
            fs::remove(job.temp, error);
            fs::remove(job.log, error);
        }
        if (!failure.empty())
            throw SampleGenError(failure);
    }
}

std::shared_ptr<const Mp4Reader> ClipCache::mp4(const ClipKey& key) {
    const std::string path = mp4Path(key);
    {
        std::lock_guard lock(s_mutex);
        if (auto it = s_loaded.find(path); it != s_loaded.end())
            return it->second;
    }
    auto reader = std::make_shared<const Mp4Reader>(path);
    if (!reader->track("vide"))
        throw SampleGenError(path + " holds no video track");
    std::lock_guard lock(s_mutex);
    s_loaded[path] = reader;
    return reader;
}

} // namespace samplegen
