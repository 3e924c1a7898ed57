#include "metadata/ParserManager.h"
#include "metadata/AmbaParser.h"
#include "metadata/AviSimpleParser.h"
#include "metadata/CMovieOldParser.h"
#include "metadata/ParserFactory.h"

#include "Mp4Builder.h"
#include "samplegen/SampleGen.h"

#include <gtest/gtest.h>

#include <memory>

#include <sys/stat.h>

using namespace mp4;

namespace {

constexpr const char* kRmc = "$GPRMC,120000,A,3723.1234,N,12701.5678,E,10.0,90.0,010120,,,A*6A";
const double kLat = 37 + 23.1234 / 60;
const double kLng = 127 + 1.5678 / 60;

Bytes gpsrBox() {
    return box("GPSR",
               cat({gpsrEntry("$GPRMC,1,A,3723.1234,N,12701.5678,E,10.0,90.0"), gpsrEntry("$GPRMC,2,V")}));
}

Bytes sensBox() {
    return box("SENS", cat({sensTriple(1, 2, 3), sensTriple(4, 5, 6)}));
}

Bytes ambaRecording() {
    return ambaFile(30, {ambaSample("0.1,0.2,0.3", kRmc), ambaSample("0.4,0.5,0.6", kRmc)});
}

// Position of the header of the last box of the given type.
size_t lastBox(const Bytes& bytes, const char* type) {
    for (size_t i = bytes.size() - 4; i >= 4; --i) {
        if (std::memcmp(bytes.data() + i, type, 4) == 0)
            return i - 4;
    }
    ADD_FAILURE() << "no " << type << " box";
    return 0;
}

Bytes patched(Bytes bytes, size_t at, uint32_t value) {
    const Bytes v = be32(value);
    std::copy(v.begin(), v.end(), bytes.begin() + std::ptrdiff_t(at));
    return bytes;
}

Bytes cut(const Bytes& bytes, size_t size) {
    return Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(std::min(size, bytes.size())));
}

Bytes nested(int depth, const Bytes& inner) {
    Bytes out = inner;
    for (int i = 0; i < depth; ++i)
        out = box("moov", out);
    return out;
}

// The members every parser leaves consistent, whatever the file held.
void expectConsistent(const ISimpleParser& parser) {
    EXPECT_GE(parser.m_nGpsData, 0);
    EXPECT_GE(parser.m_nGpsRaw, 0);
    EXPECT_GE(parser.m_nSensorData, 0);
    EXPECT_EQ(parser.m_pGpsData != nullptr, parser.m_nGpsData > 0);
    EXPECT_EQ(parser.m_pGpsRaw != nullptr, parser.m_nGpsRaw > 0);
    // The sample list handed out has one entry per fix: every one must be readable.
    double sum = 0;
    for (int i = 0; parser.m_pSensorData != nullptr && i < parser.m_nGpsData; ++i)
        sum += parser.m_pSensorData[i].x;
    for (int i = 0; i < parser.m_nGpsData; ++i)
        sum += parser.m_pGpsData[i].latitude;
    (void)sum;
}

} // namespace

TEST(ParserManagerTest, CreateParserByType) {
    for (bool firstPacketBreak : {false, true}) {
        std::unique_ptr<ISimpleParser> movieOld(CreateParser(0, firstPacketBreak));
        std::unique_ptr<ISimpleParser> avi(CreateParser(1, firstPacketBreak));
        std::unique_ptr<ISimpleParser> amba(CreateParser(3, firstPacketBreak));
        EXPECT_NE(dynamic_cast<CMovieOldParser*>(movieOld.get()), nullptr);
        EXPECT_NE(dynamic_cast<AviSimpleParser*>(avi.get()), nullptr);
        EXPECT_NE(dynamic_cast<AmbaParser*>(amba.get()), nullptr);
        for (const auto* parser : {movieOld.get(), avi.get(), amba.get()}) {
            EXPECT_EQ(parser->m_bFirstPacketBreak, firstPacketBreak);
            EXPECT_EQ(parser->m_nFrameCount, 0);
            EXPECT_EQ(parser->m_pGpsData, nullptr);
        }
        for (int type : {-1, 2, 4, 100})
            EXPECT_EQ(CreateParser(type, firstPacketBreak), nullptr) << type;
    }
    ParserManager manager(false);
    EXPECT_NE(manager.parsers[0], nullptr);
    EXPECT_NE(manager.parsers[1], nullptr);
    EXPECT_EQ(manager.parsers[2], nullptr);
    EXPECT_NE(manager.parsers[3], nullptr);
    EXPECT_EQ(manager.selected, -1);
    EXPECT_EQ(manager.GetSelectedParser(), nullptr);
}

namespace {

struct SelectionCase {
    const char* name;
    Bytes file;
    int slot;         // expected selection, -1 for none
    int gpsCount;     // expected m_nGpsData of the selection
    bool sensorArray; // whether a sensor list is handed out
    GpsRecord first;  // expected record 0 (when gpsCount > 0)
};

GpsRecord rmcFix(bool withHemispheres, double course) {
    GpsRecord r{};
    r.status = 'A';
    r.isRmc = true;
    r.latitude = kLat;
    r.longitude = kLng;
    r.speed = 18.52;
    r.course = course;
    if (withHemispheres) {
        r.latHemisphere = 'N';
        r.lngHemisphere = 'E';
    }
    return r;
}

std::vector<SelectionCase> selectionCases() {
    const Bytes both = cat({gpsrBox(), sensBox()});
    return {
        {"NotMp4", text("RIFF....AVI LIST"), -1, 0, false, {}},
        {"EmptyFile", {}, -1, 0, false, {}},
        {"VideoOnly", movieOldFile(30, {}), -1, 0, false, {}},
        {"DataTrack", ambaRecording(), 3, 2, true, rmcFix(false, 0)},
        // Samples without their head leave zero records, yet frames and data make the selection.
        {"DataTrackWithoutSampleHeads", ambaFile(30, {Bytes(40, 'x'), Bytes(40, 'y')}), 3, 2, true, {}},
        {"GpsAndSensorBoxes", movieOldFile(30, both), 0, 2, true, rmcFix(true, 90)},
        {"GpsBoxOnly", movieOldFile(30, gpsrBox()), 0, 2, false, rmcFix(true, 90)},
        {"SensorBoxOnly", movieOldFile(30, sensBox()), 0, 0, false, {}},
        // Both layouts: the box parser is tried first and wins when it finds frames and data.
        {"BothLayoutsBoxesFirst", ambaFile(30, {ambaSample("0.1,0.2,0.3", kRmc)}, box("udta", both), true), 0,
         2, true, rmcFix(true, 90)},
        // Its walk ends at the data track's "nmhd": boxes after the tracks stay unseen.
        {"BothLayoutsBoxesAfterTracks", ambaFile(30, {ambaSample("0.1,0.2,0.3", kRmc)}, box("udta", both)), 3,
         1, true, rmcFix(false, 0)},
        {"BothLayoutsEmptyGpsr", ambaFile(30, {ambaSample("0.1,0.2,0.3", kRmc)}, box("GPSR"), true), 3, 1,
         true, rmcFix(false, 0)},
    };
}

class SelectionTest : public ::testing::TestWithParam<SelectionCase> {};

} // namespace

TEST_P(SelectionTest, SelectsFirstParserWithFramesAndData) {
    const SelectionCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.write("recording.mp4", c.file);
    for (bool firstPacketBreak : {false, true}) {
        SCOPED_TRACE(firstPacketBreak ? "firstPacketBreak" : "all samples");
        ParserManager manager(firstPacketBreak);
        EXPECT_EQ(manager.ParseData(path.c_str()), c.slot);
        EXPECT_EQ(manager.selected, c.slot);
        int gpsCount = -1;
        int sensorCount = -1;
        const GpsRecord* records = manager.GetGpsRecords(gpsCount);
        const SensorRecord* samples = manager.GetSensorRecords(sensorCount);
        EXPECT_EQ(gpsCount, c.gpsCount);
        EXPECT_EQ(sensorCount, c.slot < 0 ? 0 : c.gpsCount) << "one sample per fix";
        EXPECT_EQ(samples != nullptr, c.sensorArray);
        EXPECT_EQ(manager.GetSensorArray(), samples);
        EXPECT_EQ(manager.GetGpsArray(), records);
        if (c.gpsCount > 0) {
            ASSERT_NE(records, nullptr);
            EXPECT_TRUE(sameGps(records[0], c.first));
        }
        for (const ISimpleParser* parser : manager.parsers) {
            if (parser != nullptr)
                expectConsistent(*parser);
        }
        GpsRecord first{};
        EXPECT_EQ(GetFirstGpsRecord(path.c_str(), first), c.gpsCount > 0);
        if (c.gpsCount > 0) {
            EXPECT_TRUE(sameGps(first, c.first));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, SelectionTest, ::testing::ValuesIn(selectionCases()),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST(ParserManagerTest, FailedParseKeepsSelection) {
    TempFolder folder;
    const std::string good = folder.write("good.mp4", ambaRecording());
    const std::string bad = folder.write("bad.mp4", text("not a recording"));
    ParserManager manager(false);
    ASSERT_EQ(manager.ParseData(good.c_str()), 3);
    EXPECT_EQ(manager.ParseData(bad.c_str()), -1);
    EXPECT_EQ(manager.selected, 3);
    int count = -1;
    EXPECT_EQ(manager.GetGpsRecords(count), nullptr) << "the parsers were cleared";
    EXPECT_EQ(count, 0);
    EXPECT_EQ(manager.ParseData((folder.path() / "missing.mp4").c_str()), -1);
    EXPECT_EQ(manager.ParseData(folder.path().c_str()), -1) << "a folder is not a recording";
    const std::string pipe = (folder.path() / "pipe.mp4").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(manager.ParseData(pipe.c_str()), -1) << "a pipe is refused, not waited on";
}

TEST(ParserManagerTest, FirstGpsRecordWithoutSentenceIsOrigin) {
    TempFolder folder;
    const std::string path = folder.write(
        "nogps.mp4", ambaFile(30, {ambaSample("0.1,0.2,0.3", nullptr), ambaSample("1,2,3", kRmc)}));
    GpsRecord first{};
    first.latitude = 5;
    ASSERT_TRUE(GetFirstGpsRecord(path.c_str(), first));
    EXPECT_TRUE(sameGps(first, GpsRecord{}));
}

namespace {

struct BrokenCase {
    const char* name;
    Bytes file;
    int slot; // the selection ParserManager makes, -1 for none
};

std::vector<BrokenCase> brokenCases() {
    const Bytes amba = ambaRecording();
    const size_t dataStco = lastBox(amba, "stco");
    const size_t dataStsz = lastBox(amba, "stsz");
    const size_t moov = lastBox(amba, "moov");
    const Bytes movieOld = movieOldFile(30, cat({gpsrBox(), sensBox()}));
    const Bytes tail = cat({box("moov", cat({videoTrak(30), gpsrBox()}))});
    std::string longSentence = "$GPRMC,1,A,3723.1234,N,12701.5678,E,10.0,90.0,";
    longSentence.append(1100000, '9');
    return {
        {"TruncatedStco", cut(amba, dataStco + 12), 3},
        {"StcoFewerOffsets", patched(patched(amba, dataStco, 20), dataStco + 12, 1), 3},
        {"StcoOffsetPastEnd", patched(amba, dataStco + 16, 0xFFFFFF00u), 3},
        {"StcoOffsetsPastBox", patched(amba, dataStco, 0x7FFFFFFFu), 3},
        {"StcoTooSmall", patched(amba, dataStco, 8), 3},
        {"StszCountHuge", patched(amba, dataStsz + 16, 0x7FFFFFFFu), 3},
        {"StszCountNegative", patched(amba, dataStsz + 16, 0xFFFFFFFFu), -1},
        {"StszTooSmall", patched(amba, dataStsz, 16), -1},
        {"SampleSizeHuge", patched(amba, dataStsz + 20, 0xFFFFFFFFu), 3},
        {"SampleBackToMoov", patched(patched(amba, dataStco + 20, uint32_t(moov)), dataStsz + 24, 0), 3},
        {"TruncatedSamples", cut(amba, amba.size() - 10), 3},
        {"HugeBoxSize", cat({ftyp(), rawBox(0xFFFFFFF0u, "free"), tail}), -1},
        {"Size64Of1", cat({ftyp(), largeBox(1, "free"), tail}), -1},
        {"Size64Huge", cat({ftyp(), largeBox(0xFFFFFFFFFFFFFFF0ull, "free"), tail}), -1},
        {"Size64Cut", cat({ftyp(), be32(1), text("free"), be32(0)}), -1},
        {"BoxSizeBelow8", cat({ftyp(), rawBox(4, "free"), tail}), -1},
        {"BoxSizeZero", cat({ftyp(), rawBox(0, "moov"), tail}), -1},
        {"FtypSizeBelow8", cat({rawBox(7, "ftyp"), tail}), -1},
        {"HeaderCut", cut(movieOld, 4), -1},
        {"SelfNestedBox", nested(40, cat({videoTrak(30), gpsrBox()})), -1},
        {"NestedWithinLimit", nested(8, cat({videoTrak(30), gpsrBox()})), 0},
        {"HdlrTooSmall", patched(movieOld, lastBox(movieOld, "hdlr"), 12), -1},
        {"GpsrNegativeLength",
         movieOldFile(30, box("GPSR", cat({be32(0), le32(0x80000000u), text("$GPRMC")}))), -1},
        {"GpsrLengthPastPayload", movieOldFile(30, box("GPSR", cat({be32(0), le32(1000), text("$GPRMC")}))),
         -1},
        {"GpsrTruncated",
         cat({ftyp(), box("moov", videoTrak(30)), rawBox(0x10000000u, "GPSR", gpsrEntry(kRmc))}), 0},
        {"GpsrSize64Of1", cat({ftyp(), box("moov", videoTrak(30)), largeBox(1, "GPSR", gpsrEntry(kRmc))}),
         -1},
        {"SensBeforeGpsr", movieOldFile(30, cat({sensBox(), gpsrBox()})), 0},
        {"SensShort", movieOldFile(30, cat({gpsrBox(), box("SENS", zeros(5))})), 0},
        {"SensTruncated",
         cat({ftyp(), box("moov", cat({videoTrak(30), gpsrBox()})), rawBox(0xFFFFFF00u, "SENS", zeros(30))}),
         0},
        {"SentenceLongerThanBuffer", movieOldFile(30, box("GPSR", gpsrEntry(longSentence))), 0},
    };
}

class BrokenMp4Test : public ::testing::TestWithParam<BrokenCase> {};

} // namespace

// A broken file makes the parsers find less or nothing, never read or write out of bounds.
TEST_P(BrokenMp4Test, ParsesSafely) {
    const BrokenCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.write(std::string(c.name) + ".mp4", c.file);
    for (bool firstPacketBreak : {false, true}) {
        SCOPED_TRACE(firstPacketBreak ? "firstPacketBreak" : "all samples");
        for (int type : {0, 3}) {
            std::unique_ptr<ISimpleParser> parser(CreateParser(type, firstPacketBreak));
            EXPECT_EQ(parser->Parse(path.c_str()), 0);
            expectConsistent(*parser);
            parser->Clear();
            EXPECT_EQ(parser->m_nGpsData, 0);
        }
        ParserManager manager(firstPacketBreak);
        EXPECT_EQ(manager.ParseData(path.c_str()), c.slot);
        GpsRecord first{};
        GetFirstGpsRecord(path.c_str(), first);
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, BrokenMp4Test, ::testing::ValuesIn(brokenCases()),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

namespace {

struct GeneratedCase {
    const char* name;
    samplegen::Layout layout;
    int slot;
};

class GeneratedRecordingTest : public ::testing::TestWithParam<GeneratedCase> {};

} // namespace

// A recording written by the sample generator reads back as the drive it was written with.
TEST_P(GeneratedRecordingTest, ReadsGeneratedDrive) {
    const GeneratedCase& c = GetParam();
    TempFolder folder;
    const std::string path = (folder.path() / "20241108-083000_F_N.mp4").string();
    samplegen::RecordingOptions options;
    options.layout = c.layout;
    options.seconds = 3;
    options.width = 128;
    options.height = 72;
    options.fps = 10;
    options.audio = false;
    options.samplesPerSecond = 2;
    options.seed = 7;
    samplegen::Drive drive;
    try {
        drive = samplegen::writeRecording(path, options);
    } catch (const samplegen::SampleGenError& error) {
        GTEST_SKIP() << "no sample recording: " << error.what();
    }
    ASSERT_FALSE(drive.fixes.empty());
    ASSERT_EQ(drive.fixes.size(), drive.accel.size());

    ParserManager manager(false);
    ASSERT_EQ(manager.ParseData(path.c_str()), c.slot);
    int gpsCount = 0;
    int sensorCount = 0;
    const GpsRecord* records = manager.GetGpsRecords(gpsCount);
    const SensorRecord* samples = manager.GetSensorRecords(sensorCount);
    ASSERT_EQ(gpsCount, int(drive.fixes.size()));
    ASSERT_EQ(sensorCount, gpsCount);
    ASSERT_NE(records, nullptr);
    ASSERT_NE(samples, nullptr);
    for (int i = 0; i < gpsCount; ++i) {
        SCOPED_TRACE("sample " + std::to_string(i));
        const samplegen::Fix& fix = drive.fixes[size_t(i)];
        GpsRecord expected = records[i];
        expected.latitude = fix.lat;
        expected.longitude = fix.lng;
        expected.speed = fix.speedKmh;
        if (c.layout == samplegen::Layout::Boxes)
            expected.course = fix.course;
        EXPECT_TRUE(expected.isRmc);
        EXPECT_EQ(expected.status, 'A');
        EXPECT_TRUE(sameGps(records[i], expected));
        const samplegen::Accel& accel = drive.accel[size_t(i)];
        EXPECT_TRUE(sameSensor(samples[i], {accel.x, accel.y, accel.z}));
    }
    GpsRecord first{};
    ASSERT_TRUE(GetFirstGpsRecord(path.c_str(), first));
    EXPECT_TRUE(sameGps(first, records[0]));
}

INSTANTIATE_TEST_SUITE_P(Layouts, GeneratedRecordingTest,
                         ::testing::Values(GeneratedCase{"DataTrack", samplegen::Layout::DataTrack, 3},
                                           GeneratedCase{"Boxes", samplegen::Layout::Boxes, 0}),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });
