// metadata-dump: prints what the metadata subsystem reads from a recording.
//
//   metadata-dump FILE                the packets getUserData caches for FILE, as CSV
//   metadata-dump --first FILE        speed,lat,lng of the first fix
//   metadata-dump --streams FILE      video,audio,hevc
//   metadata-dump --district LAT LNG  the nearest district of the shipped table
//
// The parsers' own diagnostics go to standard error, so standard output holds
// only the answer. Exit status 1 when there is no answer, 2 on bad usage.

#include "metadata/CParserWrapper.h"
#include "metadata/DistrictTable.h"
#include "metadata/FFmpeg.h"
#include "metadata/PacketCache.h"
#include "platform/system/LogCategories.h"
#include "platform/system/SystemLog.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

// Sends standard output to standard error while alive, so the parsers'
// diagnostic lines do not mix with the answer.
class StdoutToStderr {
public:
    StdoutToStderr() {
        std::fflush(stdout);
        m_saved = dup(STDOUT_FILENO);
        dup2(STDERR_FILENO, STDOUT_FILENO);
    }
    ~StdoutToStderr() {
        std::fflush(stdout);
        if (m_saved >= 0) {
            dup2(m_saved, STDOUT_FILENO);
            close(m_saved);
        }
    }
    StdoutToStderr(const StdoutToStderr&) = delete;
    StdoutToStderr& operator=(const StdoutToStderr&) = delete;

private:
    int m_saved = -1;
};

// Enough digits to read back the same 32-bit float.
std::string number(std::optional<float> value) {
    if (!value)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double(*value));
    return text;
}

int dumpPackets(const QString& path) {
    std::optional<orvoPacketModel> model;
    {
        StdoutToStderr quiet;
        FFmpeg reader;
        getUserData(path, reader);
        for (const orvoPacketModel& entry : std::as_const(packetCache)) {
            if (entry.name == path)
                model = entry;
        }
    }
    std::puts("index,speed,lat,lng,x,y,z");
    if (!model)
        return 1;
    for (qsizetype i = 0; i < model->packet.size(); ++i) {
        const OrvoVideoPacket& p = model->packet[i];
        std::printf("%lld,%s,%s,%s,%s,%s,%s\n", static_cast<long long>(i), number(p.gps_speed).c_str(),
                    number(p.gps_latitude).c_str(), number(p.gps_longitude).c_str(),
                    number(p.gsensor_x).c_str(), number(p.gsensor_y).c_str(), number(p.gsensor_z).c_str());
    }
    return 0;
}

int dumpFirst(const QString& path) {
    std::optional<GpsData> first;
    {
        StdoutToStderr quiet;
        first = CParserWrapper().getFirstGPS(path);
    }
    if (!first)
        return 1;
    std::printf("%s,%s,%s\n", number(first->getSpeed()).c_str(), number(first->getLat()).c_str(),
                number(first->getLng()).c_str());
    return 0;
}

int dumpStreams(const QString& path) {
    int video = 0, audio = 0;
    bool hevc = false;
    {
        StdoutToStderr quiet;
        FFmpeg reader;
        video = reader.getVideoStreamCount(path);
        audio = reader.getAudioStreamCount(path);
        hevc = reader.isH265(path);
    }
    std::printf("%d,%d,%d\n", video, audio, hevc ? 1 : 0);
    return 0;
}

// The district table beside the program (../resources), else in the source tree.
std::optional<std::filesystem::path> districtTablePath(const char* argv0) {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        self = std::filesystem::absolute(argv0, error);
    const std::filesystem::path candidates[] = {
        self.parent_path() / ".." / "resources" / "AdminDistrictInfo.dat",
        std::filesystem::path(KAVRIN_SOURCE_DIR) / "resources" / "AdminDistrictInfo.dat",
    };
    for (const auto& candidate : candidates) {
        if (std::filesystem::is_regular_file(candidate, error))
            return candidate;
    }
    return std::nullopt;
}

bool parseFloat(const char* text, float& value) {
    char* end = nullptr;
    value = std::strtof(text, &end);
    return end != text && *end == '\0';
}

int dumpDistrict(const char* argv0, const char* latText, const char* lngText) {
    float latitude = 0, longitude = 0;
    if (!parseFloat(latText, latitude) || !parseFloat(lngText, longitude)) {
        std::fprintf(stderr, "metadata-dump: LAT and LNG must be numbers\n");
        return 2;
    }
    std::optional<QString> name;
    {
        StdoutToStderr quiet;
        if (const auto table = districtTablePath(argv0))
            loadAdminDistrictInfo(QString::fromStdString(table->string()));
        else
            std::fprintf(stderr, "metadata-dump: AdminDistrictInfo.dat not found\n");
        name = nearestDistrictName(latitude, longitude);
    }
    if (!name)
        return 1;
    std::printf("%s\n", name->toUtf8().constData());
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: metadata-dump FILE\n"
                         "       metadata-dump --first FILE\n"
                         "       metadata-dump --streams FILE\n"
                         "       metadata-dump --district LAT LNG\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    platform::installLogLineHandler();
    // The FFmpeg reader's system-log lines go to standard error here.
    platform::setSystemLogSink([](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
    const std::string option = argc > 1 ? argv[1] : "";
    if (argc == 2 && option.rfind("--", 0) != 0)
        return dumpPackets(QString::fromLocal8Bit(argv[1]));
    if (argc == 3 && option == "--first")
        return dumpFirst(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && option == "--streams")
        return dumpStreams(QString::fromLocal8Bit(argv[2]));
    if (argc == 4 && option == "--district")
        return dumpDistrict(argv[0], argv[2], argv[3]);
    return usage();
}
