#include "CardWriter.h"

#include "ClipCache.h"
#include "DriveGenerator.h"
#include "RecordingWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace samplegen {

namespace {

const char* const kKinds[] = {"N", "E", "P", "M", "C", "I", "my"};
const double kDemoSeconds[] = {45, 30, 60, 20, 35, 50, 25};

struct Place {
    double lat, lng;
};
// Starts of the drives: Seoul and Busan in turn.
const Place kPlaces[] = {
    {37.5665, 126.9780}, // Seoul, city hall
    {35.1796, 129.0756}, // Busan, city hall
    {37.4979, 127.0276}, // Seoul, Gangnam
    {35.1587, 129.1604}, // Busan, Haeundae
    {37.5547, 126.9707}, // Seoul station
    {35.1151, 129.0421}, // Busan station
    {37.5133, 127.1002}, // Seoul, Jamsil
    {35.0979, 129.0305}, // Busan, Nampo
};

const char* subfolderFor(const std::string& kind) {
    if (kind == "E")
        return "Event";
    if (kind == "P")
        return "Parking";
    return nullptr;
}

} // namespace

CardWriter::CardWriter(const CardOptions& options) : m_options(options) {}

std::string CardWriter::fileName(std::time_t localTime, const std::string& channel, const std::string& kind,
                                 Layout layout) {
    std::tm t{};
    gmtime_r(&localTime, &t);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min, t.tm_sec);
    std::string name = stamp;
    if (!channel.empty())
        name += "_" + channel;
    name += "_" + kind + (layout == Layout::Avi ? ".avi" : ".mp4");
    return name;
}

CardSummary CardWriter::write(const std::string& dir) const {
    const CardOptions& o = m_options;
    if (o.recordings < 0 || o.recordings > 100000)
        throw SampleGenError("bad card option: recordings must be 0 to 100000");
    if (o.seconds != 0 && !(o.seconds >= 1 && o.seconds <= 3600))
        throw SampleGenError("bad card option: seconds must be 0 (demo lengths) or 1 to 3600");
    if (o.model.find('\n') != std::string::npos || o.version.find('\n') != std::string::npos)
        throw SampleGenError("bad card option: model and version are single lines");

    std::error_code error;
    fs::create_directories(dir, error);
    if (!fs::is_directory(dir))
        throw SampleGenError("cannot create the card folder " + dir);
    // A card is complete once it has its ver.txt: write that last.
    fs::remove(fs::path(dir) / "ver.txt", error);

    auto secondsOf = [&o](int recording) {
        return o.seconds > 0 ? o.seconds : kDemoSeconds[recording % std::size(kDemoSeconds)];
    };
    double longest = 1;
    for (int r = 0; r < std::max(o.recordings, 1); ++r)
        longest = std::max(longest, secondsOf(r));
    const int clipSeconds = static_cast<int>(std::ceil(longest));

    RecordingOptions base;
    base.codec = o.codec;
    base.width = o.width;
    base.height = o.height;
    base.fps = o.fps;
    base.audio = o.audio;

    // Every clip the card needs, encoded at once.
    std::vector<ClipKey> keys;
    for (Look look : {Look::Front, Look::Rear, Look::Interior}) {
        base.look = look;
        for (const ClipKey& key : RecordingWriter::clipsFor(base, clipSeconds))
            keys.push_back(key);
    }
    base.look = Look::Front;
    base.seconds = longest;
    RecordingWriter::validate(base);
    ClipCache::prepare(keys);

    CardSummary summary;
    const std::time_t start = o.startTime ? o.startTime : DriveGenerator::defaultStartTime();
    std::time_t at = start;
    const Layout layouts[] = {Layout::DataTrack, Layout::Boxes, Layout::Avi};
    const int total = o.recordings + (o.shortForm ? 1 : 0);
    for (int r = 0; r < total; ++r) {
        const bool shortForm = r == o.recordings;
        RecordingOptions ro = base;
        ro.seconds = shortForm ? std::min(longest, o.seconds > 0 ? o.seconds : 30.0) : secondsOf(r);
        ro.layout = shortForm ? Layout::Avi : o.mixed ? layouts[r % 3] : o.layout;
        ro.videoStreams = shortForm ? 2 : 1;
        const Place& place = kPlaces[r % std::size(kPlaces)];
        ro.seed = o.seed * 7919u + static_cast<unsigned>(r);
        ro.startLat = place.lat + ((r / 8) % 10) * 0.004;
        ro.startLng = place.lng - ((r / 8) % 7) * 0.005;
        ro.startTime = at;
        ro.aviNmeaPositions = ro.layout == Layout::Avi && r % 2 == 1;
        const std::string kind = shortForm ? "N" : kKinds[r % std::size(kKinds)];
        ro.parked = kind == "P";
        const Drive drive = DriveGenerator(ro).make();
        summary.drives.push_back(drive);

        fs::path folder = dir;
        if (const char* sub = o.subfolders && !shortForm ? subfolderFor(kind) : nullptr) {
            folder /= sub;
            fs::create_directories(folder, error);
        }
        const std::vector<std::pair<std::string, Look>> channels =
            shortForm ? std::vector<std::pair<std::string, Look>>{{"", Look::Front}}
                      : std::vector<std::pair<std::string, Look>>{
                            {"F", Look::Front}, {"R", Look::Rear}, {"I", Look::Interior}};
        for (const auto& [channel, look] : channels) {
            ro.look = look;
            const std::string name = fileName(at, channel, kind, ro.layout);
            RecordingWriter::write((folder / name).string(), ro, drive, clipSeconds);
            const fs::path relative =
                folder == fs::path(dir) ? fs::path(name) : fs::path(folder.filename()) / name;
            summary.files.push_back(
                {relative.string(), ro.layout, channel, kind, r, ro.videoStreams, ro.seconds});
        }
        at += static_cast<std::time_t>(std::ceil(ro.seconds)) + 17;
    }

    std::ofstream ver(fs::path(dir) / "ver.txt", std::ios::binary | std::ios::trunc);
    ver << "Model=" << o.model << "\nVersion=" << o.version << "\n";
    if (!ver.flush())
        throw SampleGenError("cannot write ver.txt in " + dir);
    return summary;
}

} // namespace samplegen
