// The FFmpeg reader: stream counts, HEVC test, data packets and first fix, on
// hand-made AVI files and on recordings of the sample generator.

#include "TestAviWriter.h"
#include "metadata/FFmpeg.h"
#include "platform/system/SystemLog.h"

#include <samplegen/SampleGen.h>

#include <gtest/gtest.h>

#include "common/PlaylistRecording.h"
#include "metadata/AviSimpleParser.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path tempDir() {
    const fs::path dir = fs::path(testing::TempDir()) / "kavrin-ffmpeg-reader";
    fs::create_directories(dir);
    return dir;
}

QString writeAvi(const std::string& name, const testavi::Layout& layout) {
    const fs::path path = tempDir() / name;
    testavi::writeFile(path.string(), testavi::aviBytes(layout));
    return QString::fromStdString(path.string());
}

int openFileDescriptors() {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

// Collects the reader's system-log lines while alive.
class LogCapture {
public:
    LogCapture() {
        platform::setSystemLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { platform::setSystemLogSink({}); }
    bool has(const std::string& line) const {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    std::vector<std::string> lines;
};

const testavi::Layout kTwoPackets = testavi::samples(
    {{0.1f, 0.2f, 0.9f, 5, 30, 37.5665f, 126.978f}, {0.3f, 0.4f, 1.0f, 5, 31, 37.5f, 127.0f}});

} // namespace

TEST(FFmpegReader, FileThatCannotBeOpened) {
    FFmpeg reader;
    LogCapture log;
    const QString missing = QString::fromStdString((tempDir() / "missing.mp4").string());
    EXPECT_EQ(reader.getVideoStreamCount(missing), 0);
    EXPECT_EQ(reader.getAudioStreamCount(missing), 0);
    EXPECT_TRUE(reader.isH265(missing));
    EXPECT_EQ(reader.getDataForFile(missing), -1);
    EXPECT_EQ(reader.getFirstGPSForFile(missing), -1);
    EXPECT_TRUE(log.has("start get data" + missing.toStdString()));
    EXPECT_TRUE(log.has("Error when getting thumbnails: Cannot open video (-2)")) << log.lines.front();
}

TEST(FFmpegReader, StreamCountsOfHandMadeAvi) {
    FFmpeg reader;
    const QString path = writeAvi("counts.avi", kTwoPackets);
    EXPECT_EQ(reader.getVideoStreamCount(path), 1);
    EXPECT_EQ(reader.getAudioStreamCount(path), 0);
    EXPECT_FALSE(reader.isH265(path));
    // The upper-case extension is read all the same.
    const QString upper = QString::fromStdString((tempDir() / "COUNTS.AVI").string());
    fs::copy_file(path.toStdString(), upper.toStdString(), fs::copy_options::overwrite_existing);
    EXPECT_EQ(reader.getVideoStreamCount(upper), 1);
    EXPECT_FALSE(reader.isH265(upper));

    // Garbage frames declared as HEVC: libavformat cannot probe the file, so it counts as HEVC.
    testavi::Layout unprobeable = kTwoPackets;
    unprobeable.videoCodec = "HEVC";
    const QString unprobeablePath = writeAvi("unprobeable.avi", unprobeable);
    LogCapture log;
    EXPECT_TRUE(reader.isH265(unprobeablePath));
    EXPECT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines.front().rfind("Error when getting thumbnails: Cannot ", 0), 0u) << log.lines.front();
}

TEST(FFmpegReader, DataForFileNeedsVideoAndData) {
    FFmpeg reader;
    struct Case {
        const char* name;
        testavi::Layout layout;
        int expected;
        const char* logLine; // expected among the lines, or null
    };
    testavi::Layout noVideo = kTwoPackets;
    noVideo.video = false;
    testavi::Layout noData = kTwoPackets;
    noData.data = false;
    testavi::Layout shortPacket = kTwoPackets;
    shortPacket.chunks[0].payload.resize(10);
    const Case cases[] = {
        {"whole.avi", kTwoPackets, 0, nullptr},
        {"WHOLE_UPPER.AVI", kTwoPackets, 0, nullptr},
        {"novideo.avi", noVideo, -1, "Error when getting thumbnails: No video stream (-1)"},
        {"nodata.avi", noData, -1, "Error when getting thumbnails: No subtitle stream (-1)"},
        {"shortpacket.avi", shortPacket, 0, nullptr},
    };
    for (const Case& c : cases) {
        LogCapture log;
        EXPECT_EQ(reader.getDataForFile(writeAvi(c.name, c.layout)), c.expected) << c.name;
        if (c.logLine) {
            EXPECT_TRUE(log.has(c.logLine)) << c.name;
        }
        EXPECT_EQ(reader.getFirstGPSForFile(writeAvi(c.name, c.layout)), c.expected) << c.name;
    }
}

TEST(FFmpegReader, ClosesWhatItOpensOnEveryPath) {
    FFmpeg reader;
    testavi::Layout noVideo = kTwoPackets;
    noVideo.video = false;
    testavi::Layout noData = kTwoPackets;
    noData.data = false;
    const QString paths[] = {
        writeAvi("fd-whole.avi", kTwoPackets),
        writeAvi("fd-novideo.avi", noVideo),
        writeAvi("fd-nodata.avi", noData),
        QString::fromStdString((tempDir() / "fd-missing.avi").string()),
    };
    const int before = openFileDescriptors();
    for (int round = 0; round < 20; ++round) {
        for (const QString& path : paths) {
            reader.getDataForFile(path);
            reader.getFirstGPSForFile(path);
            reader.getVideoStreamCount(path);
            reader.getAudioStreamCount(path);
            reader.isH265(path);
        }
    }
    EXPECT_EQ(openFileDescriptors(), before);
}

TEST(FFmpegReader, GeneratedRecordings) {
    struct Case {
        const char* name;
        samplegen::RecordingOptions options;
        int video;
        int audio;
        bool hevc;
        bool dataStream; // one that libavformat reports as data
    };
    auto options = [](samplegen::Layout layout, samplegen::Codec codec, int videoStreams, bool audio) {
        samplegen::RecordingOptions o;
        o.layout = layout;
        o.codec = codec;
        o.videoStreams = videoStreams;
        o.audio = audio;
        o.seconds = 1;
        o.width = 64;
        o.height = 64;
        o.fps = 5;
        return o;
    };
    const Case cases[] = {
        {"datatrack.mp4", options(samplegen::Layout::DataTrack, samplegen::Codec::H264, 1, true), 1, 1, false,
         true},
        {"boxes_hevc.mp4", options(samplegen::Layout::Boxes, samplegen::Codec::Hevc, 1, false), 1, 0, true,
         false},
        {"datatrack_hevc.mp4", options(samplegen::Layout::DataTrack, samplegen::Codec::Hevc, 1, false), 1, 0,
         true, true},
        {"two.avi", options(samplegen::Layout::Avi, samplegen::Codec::H264, 2, true), 2, 1, false, true},
    };
    FFmpeg reader;
    for (const Case& c : cases) {
        const fs::path path = tempDir() / c.name;
        samplegen::writeRecording(path.string(), c.options);
        const QString file = QString::fromStdString(path.string());
        EXPECT_EQ(reader.getVideoStreamCount(file), c.video) << c.name;
        EXPECT_EQ(reader.getAudioStreamCount(file), c.audio) << c.name;
        EXPECT_EQ(reader.isH265(file), c.hevc) << c.name;
        // The MP4 data track counts as a data stream for libavformat too; the "GPSR"/"SENS" boxes do not.
        EXPECT_EQ(reader.getFirstGPSForFile(file), c.dataStream ? 0 : -1) << c.name;
        EXPECT_EQ(reader.useH265(), c.hevc) << c.name;
        EXPECT_EQ(reader.getDataForFile(file), c.dataStream ? 0 : -1) << c.name;
    }
}

TEST(FFmpegReader, OpensNothingButFiles) {
    // A local listener stands for any server a hostile playlist could name.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    socklen_t length = sizeof address;
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/segment.ts";

    // A DASH manifest is probed by its content whatever the file is called.
    const fs::path path = tempDir() / "manifest.avi";
    const std::string playlist =
        "<?xml version=\"1.0\"?>\n<MPD xmlns=\"urn:mpeg:dash:schema:mpd:2011\" "
        "profiles=\"urn:mpeg:dash:profile:isoff-on-demand:2011\" type=\"static\" "
        "mediaPresentationDuration=\"PT10S\" minBufferTime=\"PT1S\"><Period><AdaptationSet "
        "mimeType=\"video/mp4\">"
        "<Representation id=\"1\" bandwidth=\"1000\" codecs=\"avc1.42c01e\" width=\"64\" height=\"64\">"
        "<BaseURL>" +
        url +
        "</BaseURL><SegmentBase indexRange=\"0-100\"/></Representation></AdaptationSet>"
        "</Period></MPD>\n";
    testavi::writeFile(path.string(), testavi::Bytes(playlist.begin(), playlist.end()));
    const QString file = QString::fromStdString(path.string());
    FFmpeg reader;
    EXPECT_EQ(reader.getVideoStreamCount(file), 0);
    EXPECT_EQ(reader.getDataForFile(file), -1);
    EXPECT_EQ(reader.getFirstGPSForFile(file), -1);
    EXPECT_TRUE(reader.isH265(file));
    AviSimpleParser parser(false);
    parser.Parse(path.string().c_str());
    EXPECT_EQ(parser.m_nGpsData, 0);

    pollfd pending{listener, POLLIN, 0};
    EXPECT_EQ(poll(&pending, 1, 0), 0) << "a connection was made to " << url;
    close(listener);
}

TEST(FFmpegReader, RelativeNameWithColonIsAFile) {
    const fs::path previous = fs::current_path();
    fs::current_path(tempDir());
    testavi::writeFile("concat:x.avi", testavi::aviBytes(kTwoPackets));
    FFmpeg reader;
    EXPECT_EQ(reader.getVideoStreamCount(QStringLiteral("concat:x.avi")), 1);
    AviSimpleParser parser(false);
    EXPECT_EQ(parser.Parse("concat:x.avi"), 0);
    EXPECT_EQ(parser.m_nGpsData, 2);
    fs::current_path(previous);
}

// A pipe named like a recording, or a file so named that is a playlist naming
// a pipe: every reader refuses it at once (no regular file, no container of a
// camera) without opening the pipe.
TEST(FFmpegReader, APipeOrAPlaylistNamingOneIsNoRecording) {
    const struct {
        const char* name;
        std::optional<playlisttest::Playlist> kind; // none: the pipe itself
    } cases[] = {
        {"pipe.avi", std::nullopt},
        {"20241108-091300_F_N.mp4", playlisttest::Playlist::Hls},
        {"20241108-091400_F_N.avi", playlisttest::Playlist::Concat},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = QString::fromStdString(tempDir().string());
        const QString file = folder + QLatin1Char('/') + QLatin1String(c.name);
        const QString pipe = c.kind ? folder + QStringLiteral("/seg.ts") : file;
        QFile::remove(file);
        if (c.kind) {
            ASSERT_TRUE(playlisttest::writePlaylistRecording(file, *c.kind, QStringLiteral("seg.ts")));
        } else {
            ASSERT_EQ(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        }
        playlisttest::FifoWatchdog watchdog(pipe);
        FFmpeg reader;
        EXPECT_EQ(reader.getVideoStreamCount(file), 0);
        EXPECT_EQ(reader.getAudioStreamCount(file), 0);
        EXPECT_TRUE(reader.isH265(file));
        EXPECT_EQ(reader.getDataForFile(file), -1);
        EXPECT_EQ(reader.getFirstGPSForFile(file), -1);
        AviSimpleParser parser(false);
        EXPECT_EQ(parser.Parse(QFile::encodeName(file).constData()), -1);
        EXPECT_FALSE(watchdog.released()) << "a reader waited at the pipe";
        QFile::remove(file);
    }
}
