#include "SampleGenTestSupport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

extern "C" {
#include <libavformat/avformat.h>
}

namespace fs = std::filesystem;

namespace samplegen::test {

namespace {

std::vector<std::uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t be32(const std::vector<std::uint8_t>& d, std::size_t at) {
    if (at + 4 > d.size())
        return 0;
    return (std::uint32_t(d[at]) << 24) | (std::uint32_t(d[at + 1]) << 16) | (std::uint32_t(d[at + 2]) << 8) |
           d[at + 3];
}

std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

float leFloat(const std::uint8_t* p) {
    const std::uint32_t v = le32(p);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

bool isDescended(const std::string& type) {
    return type == "moov" || type == "trak" || type == "mdia" || type == "minf" || type == "stbl" ||
           type == "udta" || type == "udat";
}

double nmeaLat(const std::string& t) {
    return std::trunc(std::atof(t.c_str()) / 100) + std::atof(t.c_str() + 2) / 60;
}
double nmeaLng(const std::string& t) {
    return t.size() < 3 ? 0 : std::trunc(std::atof(t.c_str()) / 100) + std::atof(t.c_str() + 3) / 60;
}

// Fields of a sentence split at commas, empty ones kept.
std::vector<std::string> fields(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream s(text);
    std::string f;
    while (std::getline(s, f, ','))
        out.push_back(f);
    return out;
}

void decodeRmc(const std::string& sentence, ReadRecord& r) {
    const auto f = fields(sentence);
    if (f.empty() || (f[0].rfind("$GPRMC", 0) != 0 && f[0].rfind("$GNRMC", 0) != 0))
        return;
    r.isRmc = true;
    if (f.size() < 10)
        return;
    r.status = f[2].empty() ? 0 : f[2][0];
    r.lat = nmeaLat(f[3]) * (f[4] == "S" ? -1 : 1);
    r.lng = nmeaLng(f[5]) * (f[6] == "W" ? -1 : 1);
    r.speed = std::atof(f[7].c_str()) * 1.852;
    r.course = std::atof(f[8].c_str());
}

} // namespace

ScratchDir::ScratchDir(const std::string& name)
    : m_path(fs::temp_directory_path() / ("kavrin-samplegen-test-" + name + "-" + std::to_string(getpid()))) {
    fs::remove_all(m_path);
    fs::create_directories(m_path);
}

ScratchDir::~ScratchDir() {
    std::error_code error;
    fs::remove_all(m_path, error);
}

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

int run(const std::string& command, std::string* output) {
    std::FILE* pipe = popen((command + (output ? "" : " >/dev/null") + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return -1;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        if (output)
            output->append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> probeStreams(const std::string& path) {
    std::string out;
    run("ffprobe -v error -show_entries stream=codec_type,codec_name -of csv=p=0 " + shellQuoted(path), &out);
    std::vector<std::string> streams;
    std::stringstream s(out);
    std::string line;
    while (std::getline(s, line)) {
        // csv prints codec_name,codec_type: turn it into type,name
        const auto comma = line.find(',');
        if (comma != std::string::npos)
            streams.push_back(line.substr(comma + 1) + "," + line.substr(0, comma));
    }
    return streams;
}

const std::vector<std::string>& dataTrackWalkTypes() {
    static const std::vector<std::string> types = {
        "ftyp", "free", "mdat", "moov", "trak", "mdia", "minf", "stbl", "udta", "udat", "uuid",
        "mvhd", "tkhd", "mdhd", "hdlr", "vmhd", "smhd", "nmhd", "dinf", "stsd", "stts", "stss",
        "stsc", "stsz", "stco", "ctts", "edts", "iods", "junk", "wide", "ddap", "pnot", "sdtp",
        "mp4s", "dumm", "AMBA", "ENCY", "GPSI", "GPSR", "PICT", "SENS", "TIME"};
    return types;
}

const std::vector<std::string>& boxWalkTypes() {
    static const std::vector<std::string> types = {
        "ftyp", "free", "mdat", "moov", "trak", "mdia", "minf", "stbl", "udta", "udat",
        "uuid", "mvhd", "tkhd", "mdhd", "hdlr", "vmhd", "smhd", "dinf", "stsd", "stts",
        "stss", "stsc", "stsz", "stco", "ctts", "edts", "iods", "junk", "wide", "ddap",
        "pnot", "dumm", "ENCY", "GPSI", "GPSR", "PICT", "SENS", "TIME", "AIDD"};
    return types;
}

std::vector<WalkedBox> walkBoxes(const std::string& path, const std::vector<std::string>& known,
                                 std::string* stoppedAt) {
    const auto d = readAll(path);
    std::vector<WalkedBox> boxes;
    if (stoppedAt)
        stoppedAt->clear();
    std::uint64_t at = 0;
    while (at + 8 <= d.size()) {
        std::uint64_t size = be32(d, at);
        const std::string type(reinterpret_cast<const char*>(&d[at + 4]), 4);
        if (std::find(known.begin(), known.end(), type) == known.end()) {
            if (stoppedAt)
                *stoppedAt = type;
            break;
        }
        if (size == 1)
            size = (std::uint64_t(be32(d, at + 8)) << 32) | be32(d, at + 12);
        boxes.push_back({type, at, size});
        if (size <= 7)
            break;
        at += isDescended(type) ? 8 : size;
    }
    return boxes;
}

namespace {

// Walks the file's boxes as a parser that knows `types` does, setting *frameCount to the sample
// count of the video track, and hands every other box with the file's bytes to `visit`, which
// answers whether the walk goes on.
template <typename Visit>
void walkTracks(const std::string& path, const std::vector<std::string>& types, int* frameCount,
                Visit visit) {
    const auto d = readAll(path);
    std::string unknown;
    const auto boxes = walkBoxes(path, types, &unknown);
    bool video = false;
    *frameCount = 0;
    for (const WalkedBox& box : boxes) {
        if (box.type == "trak") {
            video = false;
            continue;
        }
        if (box.type == "hdlr") {
            video = std::string(reinterpret_cast<const char*>(&d[box.start + 16]), 4) == "vide";
            continue;
        }
        if (box.type == "stsz" && video)
            *frameCount = static_cast<int>(be32(d, box.start + 16));
        if (!visit(box, d))
            return;
    }
}

} // namespace

std::vector<ReadRecord> readDataTrack(const std::string& path, int* frameCount) {
    bool dataTrack = false;
    std::vector<std::uint32_t> sizes;
    std::vector<ReadRecord> records;
    walkTracks(
        path, dataTrackWalkTypes(), frameCount,
        [&](const WalkedBox& box, const std::vector<std::uint8_t>& d) {
            if (box.type == "nmhd") {
                dataTrack = true;
            } else if (box.type == "stsz") {
                if (dataTrack) {
                    const std::uint32_t count = be32(d, box.start + 16);
                    *frameCount = static_cast<int>(count);
                    for (std::uint32_t i = 0; i < count; ++i)
                        sizes.push_back(be32(d, box.start + 20 + 4 * i));
                }
            } else if (box.type == "stco" && dataTrack && !sizes.empty()) {
                for (std::size_t i = 0; i < sizes.size(); ++i) {
                    const std::uint32_t offset = be32(d, box.start + 16 + 4 * i);
                    ReadRecord r;
                    if (offset + sizes[i] > d.size() || sizes[i] < 7) {
                        records.push_back(r);
                        continue;
                    }
                    const std::uint8_t* s = &d[offset];
                    if (s[0] == 0xFD && s[1] == 0x10 && s[3] == 'G') {
                        const std::size_t accLen = s[4];
                        const auto acc = fields(std::string(reinterpret_cast<const char*>(s + 5), accLen));
                        r.x = acc.size() > 0 ? static_cast<float>(std::atof(acc[0].c_str())) : 99.0f;
                        r.y = acc.size() > 1 ? static_cast<float>(std::atof(acc[1].c_str())) : 99.0f;
                        r.z = acc.size() > 2 ? static_cast<float>(std::atof(acc[2].c_str())) : 99.0f;
                        if (5 + accLen + 2 <= sizes[i] && s[5 + accLen] == 'g') {
                            const std::size_t n = s[6 + accLen];
                            if (7 + accLen + n <= sizes[i])
                                decodeRmc(std::string(reinterpret_cast<const char*>(s + 7 + accLen), n), r);
                        }
                    }
                    records.push_back(r);
                }
                return false; // the walk goes no further in a sensible way after the samples
            }
            return true;
        });
    return records;
}

std::vector<ReadRecord> readBoxes(const std::string& path, int* frameCount) {
    std::vector<ReadRecord> records;
    walkTracks(path, boxWalkTypes(), frameCount,
               [&](const WalkedBox& box, const std::vector<std::uint8_t>& d) {
                   if (box.type == "GPSR") {
                       std::size_t at = box.start + 8;
                       const std::size_t end = box.start + box.size;
                       while (at + 8 <= end) {
                           const auto length = static_cast<std::int32_t>(le32(&d[at + 4]));
                           if (length < 0 || at + 8 + static_cast<std::size_t>(length) > end)
                               break;
                           std::string text(reinterpret_cast<const char*>(&d[at + 8]),
                                            static_cast<std::size_t>(length));
                           ReadRecord r;
                           decodeRmc(text, r);
                           records.push_back(r);
                           at += 8 + static_cast<std::size_t>(length);
                       }
                   } else if (box.type == "SENS") {
                       const std::size_t payload = box.size - 8;
                       for (std::size_t i = 0; i < records.size() && 12 * i + 12 <= payload; ++i) {
                           const std::uint8_t* p = &d[box.start + 8 + 12 * i];
                           records[i].x = leFloat(p);
                           records[i].y = leFloat(p + 4);
                           records[i].z = leFloat(p + 8);
                       }
                   }
                   return true;
               });
    return records;
}

std::vector<ReadRecord> readAviPackets(const std::string& path, std::vector<std::uint32_t>* directionWords) {
    std::vector<ReadRecord> records;
    AVFormatContext* ctx = nullptr;
    if (avformat_open_input(&ctx, path.c_str(), nullptr, nullptr) < 0)
        return records;
    avformat_find_stream_info(ctx, nullptr);
    int dataStream = -1;
    for (unsigned i = 0; i < ctx->nb_streams && dataStream < 0; ++i) {
        const AVMediaType type = ctx->streams[i]->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_DATA || type == AVMEDIA_TYPE_SUBTITLE || type == AVMEDIA_TYPE_ATTACHMENT)
            dataStream = static_cast<int>(i);
    }
    AVPacket* packet = av_packet_alloc();
    while (dataStream >= 0 && av_read_frame(ctx, packet) >= 0) {
        if (packet->stream_index == dataStream && packet->size >= 68) {
            ReadRecord r;
            r.x = leFloat(packet->data + 40);
            r.y = leFloat(packet->data + 44);
            r.z = leFloat(packet->data + 48);
            r.speed = leFloat(packet->data + 56);
            r.lat = leFloat(packet->data + 60);
            r.lng = leFloat(packet->data + 64);
            if (directionWords)
                directionWords->push_back(le32(packet->data + 52));
            records.push_back(r);
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&ctx);
    return records;
}

double metres(double lat1, double lng1, double lat2, double lng2) {
    constexpr double kRadius = 6371000.0;
    constexpr double kRad = 3.14159265358979323846 / 180.0;
    const double dLat = (lat2 - lat1) * kRad;
    const double dLng = (lng2 - lng1) * kRad;
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1 * kRad) * std::cos(lat2 * kRad) * std::sin(dLng / 2) * std::sin(dLng / 2);
    return 2 * kRadius * std::asin(std::min(1.0, std::sqrt(a)));
}

} // namespace samplegen::test
