// Recordings in each layout: streams, clean decoding and playback, the box order the metadata
// walk needs, and metadata that reads back exactly as the drive that was written.
#include "SampleGenTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

using namespace samplegen;
using namespace samplegen::test;

namespace {

RecordingOptions smallOptions(Layout layout) {
    RecordingOptions o;
    o.layout = layout;
    o.seconds = 3;
    o.width = 320;
    o.height = 180;
    o.fps = 15;
    return o;
}

struct LayoutCase {
    const char* name;
    Layout layout;
    Codec codec;
    int videoStreams;
    std::vector<std::string> streams; // type,codec as ffprobe reports them
};

class RecordingLayoutTest : public testing::TestWithParam<LayoutCase> {
protected:
    static void SetUpTestSuite() { s_dir = new ScratchDir("layouts"); }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }
    static ScratchDir* s_dir;
};
ScratchDir* RecordingLayoutTest::s_dir = nullptr;

void expectReadBack(const Drive& drive, const std::vector<ReadRecord>& read, bool avi) {
    ASSERT_EQ(read.size(), drive.fixes.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE("sample " + std::to_string(i));
        const Fix& f = drive.fixes[i];
        const Accel& a = drive.accel[i];
        EXPECT_EQ(read[i].x, a.x);
        EXPECT_EQ(read[i].y, a.y);
        EXPECT_EQ(read[i].z, a.z);
        if (avi) {
            EXPECT_EQ(read[i].lat, f.lat);
            EXPECT_EQ(read[i].lng, f.lng);
            EXPECT_EQ(read[i].speed, f.speedKmh);
        } else {
            EXPECT_TRUE(read[i].isRmc);
            EXPECT_EQ(read[i].status, 'A');
            EXPECT_DOUBLE_EQ(read[i].lat, f.lat);
            EXPECT_DOUBLE_EQ(read[i].lng, f.lng);
            EXPECT_DOUBLE_EQ(read[i].speed, f.speedKmh);
            EXPECT_DOUBLE_EQ(read[i].course, f.course);
        }
    }
}

} // namespace

TEST_P(RecordingLayoutTest, PlaysDecodesAndReadsBack) {
    const LayoutCase& c = GetParam();
    RecordingOptions o = smallOptions(c.layout);
    o.codec = c.codec;
    o.videoStreams = c.videoStreams;
    o.seed = 11;
    const std::string path = s_dir->file(std::string(c.name) + (c.layout == Layout::Avi ? ".avi" : ".mp4"));
    const Drive drive = writeRecording(path, o);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(drive.fixes.size(), 3u);

    EXPECT_EQ(probeStreams(path), c.streams);

    std::string errors;
    EXPECT_EQ(run("ffmpeg -nostdin -v error -i " + shellQuoted(path) + " -f null - 2>&1", &errors), 0);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(run("mpv --no-config --untimed --vo=null --ao=null --ao-null-untimed --frames=30 " +
                  shellQuoted(path)),
              0);

    int frames = 0;
    if (c.layout == Layout::DataTrack) {
        const auto read = readDataTrack(path, &frames);
        EXPECT_GT(frames, 0);
        expectReadBack(drive, read, false);
        EXPECT_EQ(drive.sentences.size(), drive.fixes.size());
    } else if (c.layout == Layout::Boxes) {
        const auto read = readBoxes(path, &frames);
        EXPECT_EQ(frames, 45); // 3 s at 15 frames per second
        expectReadBack(drive, read, false);
    } else {
        std::vector<std::uint32_t> words;
        const auto read = readAviPackets(path, &words);
        expectReadBack(drive, read, true);
        for (std::uint32_t word : words)
            EXPECT_EQ(word, drive.directionWord);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, RecordingLayoutTest,
    testing::Values(
        LayoutCase{
            "DataTrackH264", Layout::DataTrack, Codec::H264, 1, {"video,h264", "audio,aac", "data,unknown"}},
        LayoutCase{"BoxesH264", Layout::Boxes, Codec::H264, 1, {"video,h264", "audio,aac"}},
        LayoutCase{"AviH264", Layout::Avi, Codec::H264, 1, {"video,h264", "audio,pcm_s16le", "data,unknown"}},
        LayoutCase{"AviTwoStreams",
                   Layout::Avi,
                   Codec::H264,
                   2,
                   {"video,h264", "video,h264", "audio,pcm_s16le", "data,unknown"}},
        LayoutCase{
            "DataTrackHevc", Layout::DataTrack, Codec::Hevc, 1, {"video,hevc", "audio,aac", "data,unknown"}},
        LayoutCase{"BoxesHevc", Layout::Boxes, Codec::Hevc, 1, {"video,hevc", "audio,aac"}},
        LayoutCase{
            "AviHevc", Layout::Avi, Codec::Hevc, 1, {"video,hevc", "audio,pcm_s16le", "data,unknown"}}),
    [](const testing::TestParamInfo<LayoutCase>& paramInfo) { return paramInfo.param.name; });

TEST(RecordingBoxOrder, DataTrackFileHoldsOnlyWalkableBoxesAndEndsWithTheSamples) {
    ScratchDir dir("order-dt");
    const std::string path = dir.file("a.mp4");
    const Drive drive = writeRecording(path, smallOptions(Layout::DataTrack));

    std::string stopped;
    const auto boxes = walkBoxes(path, dataTrackWalkTypes(), &stopped);
    EXPECT_EQ(stopped, "") << "the walk met a box type it does not know";
    int nmhd = 0;
    std::size_t lastStco = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i].type == "nmhd")
            ++nmhd;
        if (boxes[i].type == "stco")
            lastStco = i;
    }
    EXPECT_EQ(nmhd, 1);
    // The data track's chunk offsets come last in the movie box, and its samples end the file,
    // so the walk that reads them reaches the end of the file.
    ASSERT_GT(lastStco, 0u);
    for (std::size_t i = lastStco + 1; i < boxes.size(); ++i)
        EXPECT_EQ(boxes[i].type, "mdat");
    const auto fileSize = std::filesystem::file_size(path);
    int frames = 0;
    const auto read = readDataTrack(path, &frames);
    ASSERT_EQ(read.size(), drive.fixes.size());
    EXPECT_EQ(boxes.back().type, "mdat");
    EXPECT_EQ(boxes.back().start + boxes.back().size, fileSize);

    // The "GPSR"/"SENS" parser's walk does not know "nmhd": it stops there, after the video.
    walkBoxes(path, boxWalkTypes(), &stopped);
    EXPECT_EQ(stopped, "nmhd");
}

TEST(RecordingBoxOrder, BoxesFileHasGpsrBeforeSensAndNoDataTrack) {
    ScratchDir dir("order-boxes");
    const std::string path = dir.file("b.mp4");
    writeRecording(path, smallOptions(Layout::Boxes));
    for (const auto* types : {&boxWalkTypes(), &dataTrackWalkTypes()}) {
        std::string stopped;
        const auto boxes = walkBoxes(path, *types, &stopped);
        EXPECT_EQ(stopped, "");
        int gpsr = -1, sens = -1, nmhd = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].type == "GPSR")
                gpsr = static_cast<int>(i);
            if (boxes[i].type == "SENS")
                sens = static_cast<int>(i);
            nmhd += boxes[i].type == "nmhd";
        }
        EXPECT_GE(gpsr, 0);
        EXPECT_GT(sens, gpsr);
        EXPECT_EQ(nmhd, 0);
    }
}

TEST(RecordingSamples, DataSamplesFollowTheSampleLayout) {
    ScratchDir dir("samples");
    const std::string path = dir.file("c.mp4");
    RecordingOptions o = smallOptions(Layout::DataTrack);
    o.samplesPerSecond = 4;
    o.seconds = 2.5;
    const Drive drive = writeRecording(path, o);
    EXPECT_EQ(drive.fixes.size(), 10u);
    int frames = 0;
    EXPECT_EQ(readDataTrack(path, &frames).size(), 10u);
    EXPECT_EQ(frames, 10); // the data track's count overrides the video frame count

    const std::string sample = dataTrackSample(drive.fixes[0], drive.accel[0], 0, true);
    ASSERT_GT(sample.size(), 7u);
    EXPECT_EQ(static_cast<unsigned char>(sample[0]), 0xFD);
    EXPECT_EQ(static_cast<unsigned char>(sample[1]), 0x10);
    EXPECT_EQ(sample[3], 'G');
    const std::size_t l = static_cast<unsigned char>(sample[4]);
    EXPECT_EQ(sample[5 + l], 'g');
    const std::size_t n = static_cast<unsigned char>(sample[6 + l]);
    EXPECT_EQ(sample.size(), 7 + l + n);
    EXPECT_EQ(sample.substr(7 + l, 6), "$GPRMC");

    std::string duration;
    run("ffprobe -v error -show_entries format=duration -of csv=p=0 " + shellQuoted(path), &duration);
    EXPECT_NEAR(std::atof(duration.c_str()), 2.5, 0.1);
}

TEST(RecordingSamples, AviPositionsInNmeaForm) {
    ScratchDir dir("nmea");
    const std::string path = dir.file("d.avi");
    RecordingOptions o = smallOptions(Layout::Avi);
    o.aviNmeaPositions = true;
    const Drive drive = writeRecording(path, o);
    EXPECT_TRUE(drive.nmeaPositions);
    const auto read = readAviPackets(path, nullptr);
    ASSERT_EQ(read.size(), drive.fixes.size());
    // ddmm.mmmm: 37 degrees 34 minutes reads as about 3734.
    EXPECT_NEAR(read[0].lat, 3734.0, 5.0);
    EXPECT_NEAR(read[0].lng, 12658.7, 5.0);
    EXPECT_EQ(read[0].lat, drive.fixes[0].lat);
}

TEST(RecordingErrors, BadOptionsAndPathsThrow) {
    ScratchDir dir("errors");
    RecordingOptions o = smallOptions(Layout::DataTrack);
    o.videoStreams = 2; // only the AVI layout has a two-stream form
    EXPECT_THROW(writeRecording(dir.file("x.mp4"), o), SampleGenError);
    o = smallOptions(Layout::Boxes);
    o.seconds = 0;
    EXPECT_THROW(writeRecording(dir.file("x.mp4"), o), SampleGenError);
    o = smallOptions(Layout::Avi);
    o.width = 321;
    EXPECT_THROW(writeRecording(dir.file("x.avi"), o), SampleGenError);
    o = smallOptions(Layout::Avi);
    o.samplesPerSecond = 0;
    EXPECT_THROW(makeDrive(o), SampleGenError);

    for (Layout layout : {Layout::DataTrack, Layout::Boxes, Layout::Avi}) {
        const std::string path = dir.file("missing-folder/x.bin");
        EXPECT_THROW(writeRecording(path, smallOptions(layout)), SampleGenError) << layoutName(layout);
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST(RecordingErrors, MissingFfmpegIsReported) {
    ScratchDir dir("noffmpeg");
    const char* oldCache = std::getenv("KAVRIN_SAMPLEGEN_CACHE");
    const std::string saved = oldCache ? oldCache : "";
    setenv("KAVRIN_SAMPLEGEN_CACHE", dir.file("cache").c_str(), 1);
    setenv("KAVRIN_FFMPEG", "/nonexistent/ffmpeg", 1);
    EXPECT_THROW(writeRecording(dir.file("x.mp4"), smallOptions(Layout::DataTrack)), SampleGenError);
    unsetenv("KAVRIN_FFMPEG");
    if (oldCache)
        setenv("KAVRIN_SAMPLEGEN_CACHE", saved.c_str(), 1);
    else
        unsetenv("KAVRIN_SAMPLEGEN_CACHE");
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.mp4")));
}

TEST(RecordingSamples, TinySilentRecordingsInEveryLayout) {
    ScratchDir dir("silent");
    for (Layout layout : {Layout::DataTrack, Layout::Boxes, Layout::Avi}) {
        SCOPED_TRACE(layoutName(layout));
        RecordingOptions o = smallOptions(layout);
        o.audio = false;
        o.width = 64;
        o.height = 64;
        o.fps = 5;
        o.seconds = 4;
        const std::string path = dir.file(std::string("s.") + (layout == Layout::Avi ? "avi" : "mp4"));
        const Drive drive = writeRecording(path, o);
        const auto streams = probeStreams(path);
        ASSERT_FALSE(streams.empty());
        EXPECT_EQ(streams[0], "video,h264");
        EXPECT_EQ(std::count_if(streams.begin(), streams.end(),
                                [](const std::string& s) { return s.rfind("audio", 0) == 0; }),
                  0);
        EXPECT_EQ(run("ffmpeg -nostdin -v error -i " + shellQuoted(path) + " -f null -"), 0);
        int frames = 0;
        const auto read = layout == Layout::DataTrack ? readDataTrack(path, &frames)
                          : layout == Layout::Boxes   ? readBoxes(path, &frames)
                                                      : readAviPackets(path, nullptr);
        EXPECT_EQ(read.size(), drive.fixes.size());
    }
}
