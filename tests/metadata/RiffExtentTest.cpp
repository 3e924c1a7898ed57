// Where an AVI recording's valid data ends, and the readers stopping there: a recording
// followed by a power cut's preallocated tail, with its header's sizes finished, naming the
// reserved length or left 0; cut off; and files that are no AVI recording at all.

#include "metadata/RiffExtent.h"
#include "metadata/AvInput.h"
#include "metadata/AvPacket.h"
#include "metadata/AviSimpleParser.h"

#include "SampleGen.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<char>;

constexpr std::uint64_t kTail = 16u << 20; // the reserved space after the data (sparse)

fs::path folder() {
    static const fs::path dir = [] {
        const fs::path d = fs::path(testing::TempDir()) / "kavrin-riff-extent";
        fs::remove_all(d);
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

Bytes readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const fs::path& path, const Bytes& bytes, std::uint64_t zeros = 0) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
    }
    if (zeros)
        fs::resize_file(path, bytes.size() + zeros);
}

void putLe32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (8 * i));
}

// The offset of the first chunk `id` (with list type `type`) among the RIFF's children.
std::size_t childOffset(const Bytes& bytes, const char* id, const char* type = nullptr) {
    std::size_t at = 12;
    while (at + 12 <= bytes.size()) {
        std::uint32_t size = 0;
        std::memcpy(&size, &bytes[at + 4], 4);
        if (std::memcmp(&bytes[at], id, 4) == 0 && (!type || std::memcmp(&bytes[at + 8], type, 4) == 0))
            return at;
        at += 8 + size + (size & 1);
    }
    ADD_FAILURE() << "no chunk " << id;
    return 0;
}

// What a reader finds in a file: the parser's records and how far the demuxer read.
struct Read {
    int records = -1;
    std::int64_t position = -1;
};

Read readAll(const std::string& path) {
    Read read;
    AviSimpleParser parser(false);
    if (parser.Parse(path.c_str()) == 0)
        read.records = parser.m_nGpsData;
    AvInput input;
    if (input.open(path.c_str())) {
        AvPacket packet;
        while (av_read_frame(input.context(), packet.get()) >= 0)
            av_packet_unref(packet.get());
        read.position = avio_tell(input.context()->pb);
    }
    return read;
}

} // namespace

TEST(RiffExtent, DataEndsWhereTheChunksStop) {
    samplegen::RecordingOptions options;
    options.layout = samplegen::Layout::Avi;
    options.seconds = 4;
    options.width = 160;
    options.height = 96;
    options.fps = 10;
    const fs::path cleanPath = folder() / "clean.avi";
    samplegen::writeRecording(cleanPath.string(), options);
    const Bytes clean = readAll(cleanPath);
    const std::uint64_t size = clean.size();
    const std::size_t movi = childOffset(clean, "LIST", "movi");
    const std::size_t index = childOffset(clean, "idx1"); // the movi list ends here
    ASSERT_GT(index, movi);
    const Read reference = readAll(cleanPath.string());
    ASSERT_EQ(reference.records, 4);

    // The recording without its index, its header's sizes claiming `total` bytes.
    const auto unfinished = [&](std::uint64_t total, bool zeroSizes) {
        Bytes b(clean.begin(), clean.begin() + std::ptrdiff_t(index));
        putLe32(b, 4, zeroSizes ? 0 : std::uint32_t(total - 8));
        putLe32(b, movi + 4, zeroSizes ? 0 : std::uint32_t(total - movi - 8));
        return b;
    };
    const std::size_t cut = movi + (index - movi) / 2;
    // A recording over the first RIFF's size limit goes on in "AVIX" chunks.
    Bytes extended = clean;
    {
        const char avix[] = "RIFF\x18\0\0\0AVIXLIST\x0c\0\0\0moviJUNK\x00\0\0\0";
        extended.insert(extended.end(), avix, avix + sizeof avix - 1);
    }

    struct Case {
        const char* name;
        Bytes bytes;
        std::uint64_t zeros;
        // The expected end; none: no AVI recording. lowest..highest where a chunk was cut.
        std::optional<std::uint64_t> lowest, highest;
        bool readerBounded; // the readers stop before the file's end
    };
    const Case cases[] = {
        {"finished", clean, 0, size, size, false},
        {"finished, then zeros", clean, kTail, size, size, true},
        {"finished, then noise",
         [&] {
             Bytes b = clean;
             b.resize(b.size() + 4096, char(0xff));
             return b;
         }(),
         0, size, size, true},
        {"an AVIX extension, then zeros", extended, kTail, extended.size(), extended.size(), true},
        {"sizes name the reserved space", unfinished(index + kTail, false), kTail, index, index, true},
        {"sizes left 0", unfinished(0, true), kTail, index, index, true},
        {"cut inside the data", Bytes(clean.begin(), clean.begin() + std::ptrdiff_t(cut)), 0, cut, cut,
         false},
        {"cut inside the data, then zeros", Bytes(clean.begin(), clean.begin() + std::ptrdiff_t(cut)), kTail,
         cut, index, true},
        {"a wave file",
         [] {
             Bytes b(64, 0);
             std::memcpy(b.data(), "RIFF\x38\0\0\0WAVE", 12);
             return b;
         }(),
         0, std::nullopt, std::nullopt, false},
        {"text", Bytes{'n', 'o', 't', ' ', 'a', 'v', 'i'}, 0, std::nullopt, std::nullopt, false},
        {"only the RIFF header", Bytes(clean.begin(), clean.begin() + 12), 0, 12, 12, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = folder() / ("case" + std::to_string(n++) + ".avi");
        writeAll(path, c.bytes, c.zeros);
        const std::uint64_t fileSize = fs::file_size(path);
        const std::optional<std::uint64_t> end = riffDataEnd(path.c_str());
        ASSERT_EQ(end.has_value(), c.lowest.has_value());
        if (end) {
            EXPECT_GE(*end, *c.lowest);
            EXPECT_LE(*end, *c.highest);
        }
        EXPECT_EQ(riffReadLimit(path.c_str()).has_value(), c.readerBounded);
        if (c.readerBounded) {
            // The readers stop at the end of the data and find what the finished file holds.
            const Read read = readAll(path.string());
            EXPECT_LE(read.position, std::int64_t(*end));
            EXPECT_LT(std::uint64_t(read.position), fileSize);
            if (c.lowest == c.highest) {
                EXPECT_EQ(read.records, reference.records);
            }
        }
    }
}

TEST(RiffExtent, NothingButRegularFilesIsMeasured) {
    const fs::path fifo = folder() / "fifo.avi";
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path device = folder() / "zero.avi";
    fs::remove(device);
    fs::create_symlink("/dev/zero", device);
    for (const fs::path& path : {fifo, device, folder(), folder() / "missing.avi"}) {
        SCOPED_TRACE(path.string());
        // Returns at once: nothing blocks on a pipe without a writer or reads a device for ever.
        EXPECT_EQ(riffDataEnd(path.c_str()), std::nullopt);
        EXPECT_EQ(riffReadLimit(path.c_str()), std::nullopt);
    }
    EXPECT_EQ(riffDataEnd(nullptr), std::nullopt);
    EXPECT_EQ(boundedInputUrl("/a/b,,:c.avi", 1234), "subfile,,start,0,end,1234,,:file:/a/b,,:c.avi");
}
