// kavrin-samplegen: writes sample dash-camera recordings and memory cards.
#include "SampleGen.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace samplegen;

namespace {

const char* const kUsage =
    "usage:\n"
    "  kavrin-samplegen recording --layout datatrack|boxes|avi [--codec h264|hevc] [--seconds N]\n"
    "                   [--size WxH] [--fps N] [--streams 1|2] [--no-audio] [--rate SAMPLES_PER_S]\n"
    "                   [--start LAT,LNG] [--seed N] [--look front|rear|interior] [--nmea] OUT\n"
    "  kavrin-samplegen card DIR [--recordings N] [--seconds S] [--size WxH] [--fps N] [--codec h264|hevc]\n"
    "                   [--mixed | --layout datatrack|boxes|avi] [--no-short] [--no-subfolders]\n"
    "                   [--no-audio] [--model TEXT] [--version TEXT] [--seed N]\n"
    "A card without --seconds is the demo card: recordings of 20 to 60 seconds, 1280x720.\n"
    "Clips are cached in $KAVRIN_SAMPLEGEN_CACHE or $XDG_CACHE_HOME/kavrin-samplegen.\n";

[[noreturn]] void usage(const std::string& problem) {
    if (!problem.empty())
        std::fprintf(stderr, "kavrin-samplegen: %s\n", problem.c_str());
    std::fputs(kUsage, stderr);
    std::exit(2);
}

double number(const std::string& text, const char* what) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end)
        usage(std::string("bad number for ") + what + ": " + text);
    return v;
}

int integer(const std::string& text, const char* what) {
    const double v = number(text, what);
    if (v != static_cast<int>(v))
        usage(std::string("not a whole number for ") + what + ": " + text);
    return static_cast<int>(v);
}

void size(const std::string& text, int& w, int& h) {
    const auto x = text.find('x');
    if (x == std::string::npos)
        usage("bad size (WxH): " + text);
    w = integer(text.substr(0, x), "--size");
    h = integer(text.substr(x + 1), "--size");
}

Layout layout(const std::string& text) {
    for (Layout l : {Layout::DataTrack, Layout::Boxes, Layout::Avi}) {
        if (text == layoutName(l))
            return l;
    }
    usage("unknown layout: " + text);
}

Codec codec(const std::string& text) {
    if (text == "h264")
        return Codec::H264;
    if (text == "hevc" || text == "h265")
        return Codec::Hevc;
    usage("unknown codec: " + text);
}

// Walks a command's arguments: `option` is handed each one with a function that takes the value
// after it, and answers whether it was an option of the command; the one other argument that
// does not start with '-' is returned (empty when there is none), `what` names it in the complaint
// about a second one.
template <typename Option>
std::string walkArguments(const std::vector<std::string>& args, const char* what, Option option) {
    std::string operand;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                usage(a + " needs a value");
            return args[++i];
        };
        if (option(a, value))
            continue;
        if (!a.empty() && a[0] == '-')
            usage("unknown option " + a);
        else if (operand.empty())
            operand = a;
        else
            usage(std::string("more than one ") + what);
    }
    return operand;
}

int recording(const std::vector<std::string>& args) {
    RecordingOptions o;
    bool haveLayout = false;
    const std::string out = walkArguments(args, "output file", [&](const std::string& a, auto& value) {
        if (a == "--layout") {
            o.layout = layout(value());
            haveLayout = true;
        } else if (a == "--codec") {
            o.codec = codec(value());
        } else if (a == "--seconds") {
            o.seconds = number(value(), "--seconds");
        } else if (a == "--size") {
            size(value(), o.width, o.height);
        } else if (a == "--fps") {
            o.fps = integer(value(), "--fps");
        } else if (a == "--streams") {
            o.videoStreams = integer(value(), "--streams");
        } else if (a == "--no-audio") {
            o.audio = false;
        } else if (a == "--rate") {
            o.samplesPerSecond = number(value(), "--rate");
        } else if (a == "--start") {
            const std::string v = value();
            const auto comma = v.find(',');
            if (comma == std::string::npos)
                usage("--start needs LAT,LNG");
            o.startLat = number(v.substr(0, comma), "--start");
            o.startLng = number(v.substr(comma + 1), "--start");
        } else if (a == "--seed") {
            o.seed = static_cast<unsigned>(integer(value(), "--seed"));
        } else if (a == "--look") {
            const std::string v = value();
            o.look = v == "rear"       ? Look::Rear
                     : v == "interior" ? Look::Interior
                     : v == "front"    ? Look::Front
                                       : (usage("bad look"), Look::Front);
        } else if (a == "--nmea") {
            o.aviNmeaPositions = true;
        } else {
            return false;
        }
        return true;
    });
    if (out.empty() || !haveLayout)
        usage(out.empty() ? "no output file" : "no --layout");
    const Drive drive = writeRecording(out, o);
    std::printf("%s: %s, %zu metadata samples\n", out.c_str(), layoutName(o.layout), drive.fixes.size());
    return 0;
}

int card(const std::vector<std::string>& args) {
    CardOptions o;
    const std::string dir = walkArguments(args, "card folder", [&](const std::string& a, auto& value) {
        if (a == "--recordings") {
            o.recordings = integer(value(), "--recordings");
        } else if (a == "--seconds") {
            o.seconds = number(value(), "--seconds");
            if (o.seconds > 0 && o.width == 1280) {
                // Test and benchmark cards: small pictures unless a size is given.
                o.width = 640;
                o.height = 360;
            }
        } else if (a == "--size") {
            size(value(), o.width, o.height);
        } else if (a == "--fps") {
            o.fps = integer(value(), "--fps");
        } else if (a == "--codec") {
            o.codec = codec(value());
        } else if (a == "--mixed") {
            o.mixed = true;
        } else if (a == "--layout") {
            o.layout = layout(value());
            o.mixed = false;
        } else if (a == "--no-audio") {
            o.audio = false;
        } else if (a == "--no-short") {
            o.shortForm = false;
        } else if (a == "--no-subfolders") {
            o.subfolders = false;
        } else if (a == "--model") {
            o.model = value();
        } else if (a == "--version") {
            o.version = value();
        } else if (a == "--seed") {
            o.seed = static_cast<unsigned>(integer(value(), "--seed"));
        } else {
            return false;
        }
        return true;
    });
    if (dir.empty())
        usage("no card folder");
    const auto begin = std::chrono::steady_clock::now();
    const CardSummary summary = writeCard(dir, o);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("%s: %zu recordings, %zu files, ver.txt (%.1f s)\n", dir.c_str(), summary.drives.size(),
                summary.files.size(), elapsed);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        usage("");
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "recording")
            return recording(args);
        if (command == "card")
            return card(args);
        if (command == "--help" || command == "-h" || command == "help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        usage("unknown command " + command);
    } catch (const SampleGenError& e) {
        std::fprintf(stderr, "kavrin-samplegen: %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavrin-samplegen: %s\n", e.what());
        return 1;
    }
}
