#include "metadata/AmbaParser.h"

#include "Mp4Builder.h"

#include <gtest/gtest.h>

#include <thread>

using namespace mp4;

namespace {

constexpr const char* kRmc = "$GPRMC,120000,A,3723.1234,N,12701.5678,E,10.0,90.0,010120,,,A*6A";
const double kLat = 37 + 23.1234 / 60;
const double kLng = 127 + 1.5678 / 60;

GpsRecord gps(char status, bool rmc, double lat, double lng, double speed) {
    GpsRecord r{};
    r.status = status;
    r.isRmc = rmc;
    r.latitude = lat;
    r.longitude = lng;
    r.speed = speed;
    return r;
}

struct SampleCase {
    const char* name;
    Bytes sample;
    SensorRecord sensor;
    GpsRecord record;
};

Bytes withByte(Bytes b, size_t at, uint8_t value) {
    b.at(at) = value;
    return b;
}

std::vector<SampleCase> sampleCases() {
    const SensorRecord acc{0.12f, -0.5f, 1.0f};
    const SensorRecord none{};
    const SensorRecord markers{99.0f, 99.0f, 99.0f};
    return {
        {"RmcNorthEast", ambaSample("0.12,-0.5,1.0", kRmc), acc, gps('A', true, kLat, kLng, 18.52)},
        {"RmcSouthWest", ambaSample("0.12,-0.5,1.0", "$GPRMC,120000,A,3723.1234,S,12701.5678,W,10.0"), acc,
         gps('A', true, -kLat, -kLng, 18.52)},
        {"GnRmcLowerCaseHemispheres",
         ambaSample("0.12,-0.5,1.0", "$GNRMC,120000,A,3723.1234,s,12701.5678,w,0"), acc,
         gps('A', true, -kLat, -kLng, 0)},
        {"GgaSentence", ambaSample("0.12,-0.5,1.0", "$GPGGA,120000,3723.1234,N,12701.5678,E,1,08"), acc,
         gps(0, false, 0, 0, 0)},
        {"StatusVoid", ambaSample("0.12,-0.5,1.0", "$GPRMC,120000,V,,,,,,,010120,,,N"), acc,
         gps('V', true, 0, 0, 0)},
        {"EmptyStatus", ambaSample("0.12,-0.5,1.0", "$GPRMC,120000,,3723.1234,N,12701.5678,E,10.0"), acc,
         gps('0', true, 0, 0, 0)},
        {"EmptySpeed", ambaSample("0.12,-0.5,1.0", "$GPRMC,120000,A,3723.1234,N,12701.5678,E,,90.0"), acc,
         gps('A', true, kLat, kLng, 0)},
        {"EmptyLongitudeHemisphere",
         ambaSample("0.12,-0.5,1.0", "$GPRMC,120000,A,3723.1234,N,12701.5678,,10.0"), acc,
         gps('A', true, kLat, kLng, 18.52)},
        {"EmptyPosition", ambaSample("0.12,-0.5,1.0", "$GPRMC,120000,A,,,,,10.0"), acc,
         gps('A', true, 0, 0, 18.52)},
        {"FieldsTooShortForMinutes", ambaSample("0.12,-0.5,1.0", "$GPRMC,1,A,5,N,7,E,1"), acc,
         gps('A', true, 0, 0, 1.852)},
        {"AccTwoValues", ambaSample("1.5,-20.0", nullptr), {1.5f, 99.0f, 99.0f}, GpsRecord{}},
        {"AccOutOfRange", ambaSample("14.9,15.0,-14.99", nullptr), {14.9f, 99.0f, -14.99f}, GpsRecord{}},
        {"AccEmpty", ambaSample("", kRmc), markers, gps('A', true, kLat, kLng, 18.52)},
        {"AccRunsOfCommas", ambaSample(",,1.0,,2.0,3.0,4.0", nullptr), {1.0f, 2.0f, 3.0f}, GpsRecord{}},
        {"AccNotANumber", ambaSample("nan,inf,1e300", nullptr), markers, GpsRecord{}},
        {"BadFirstByte", withByte(ambaSample("0.12,-0.5,1.0", kRmc), 0, 0xFC), none, GpsRecord{}},
        {"BadSecondByte", withByte(ambaSample("0.12,-0.5,1.0", kRmc), 1, 0x11), none, GpsRecord{}},
        {"BadTag", withByte(ambaSample("0.12,-0.5,1.0", kRmc), 3, 'g'), none, GpsRecord{}},
        {"NoGpsTag", withByte(ambaSample("0.12,-0.5,1.0", kRmc), 18, 'x'), acc, GpsRecord{}},
        {"AccLengthPastSample", {0xFD, 0x10, 0, 'G', 200, '1', ',', '2'}, none, GpsRecord{}},
        {"NmeaLengthPastSample",
         cat({ambaSample("1,2,3", nullptr), Bytes{'g', 200, '$', 'G'}}),
         {1, 2, 3},
         GpsRecord{}},
        {"NmeaLengthMissing", cat({ambaSample("1,2,3", nullptr), Bytes{'g'}}), {1, 2, 3}, GpsRecord{}},
        {"HeadOnly", {0xFD, 0x10, 0, 'G'}, none, GpsRecord{}},
        {"EmptySample", {}, none, GpsRecord{}},
    };
}

class AmbaSampleTest : public ::testing::TestWithParam<SampleCase> {};

} // namespace

// Every sample decodes into the complete expected sample and record, whether the data track's
// sample-size box lists the size or gives it once for all samples (no table).
TEST_P(AmbaSampleTest, DecodesSample) {
    const SampleCase& c = GetParam();
    TempFolder folder;
    for (const bool constantSize : {false, true}) {
        // A size of 0 in the box means "a table follows": an empty sample needs the table.
        if (constantSize && c.sample.empty())
            continue;
        SCOPED_TRACE(constantSize ? "one size for all samples" : "table of sizes");
        const std::string path =
            folder.write("sample.mp4", ambaFile(30, {c.sample, c.sample}, {}, false, constantSize));
        AmbaParser parser(false);
        EXPECT_EQ(parser.Parse(path.c_str()), 0);
        ASSERT_EQ(parser.m_nGpsData, 2);
        EXPECT_EQ(parser.m_nSensorData, 24);
        EXPECT_EQ(parser.m_nFrameCount, 2) << "the data track's sample count follows the video frame count";
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(sameSensor(parser.m_pSensorData[i], c.sensor)) << "sample " << i;
            EXPECT_TRUE(sameGps(parser.m_pGpsData[i], c.record)) << "sample " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, AmbaSampleTest, ::testing::ValuesIn(sampleCases()),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

// With m_bFirstPacketBreak only sample 0 is decoded, while the counts are those of all samples.
TEST(AmbaParserTest, FirstPacketBreakReadsSampleZeroOnly) {
    TempFolder folder;
    const std::vector<Bytes> samples = {ambaSample("1,2,3", kRmc), ambaSample("4,5,6", kRmc),
                                        ambaSample("7,8,9", kRmc)};
    const std::string path = folder.write("three.mp4", ambaFile(90, samples));
    for (bool firstPacketBreak : {false, true}) {
        SCOPED_TRACE(firstPacketBreak ? "firstPacketBreak" : "all samples");
        AmbaParser parser(firstPacketBreak);
        parser.Parse(path.c_str());
        ASSERT_EQ(parser.m_nGpsData, 3);
        EXPECT_EQ(parser.m_nGpsRaw, 3);
        EXPECT_EQ(parser.m_nSensorData, 36);
        EXPECT_EQ(parser.m_nFrameCount, 3);
        EXPECT_TRUE(sameSensor(parser.m_pSensorData[0], {1, 2, 3}));
        EXPECT_TRUE(sameGps(parser.m_pGpsData[0], gps('A', true, kLat, kLng, 18.52)));
        const SensorRecord last = firstPacketBreak ? SensorRecord{} : SensorRecord{7, 8, 9};
        const GpsRecord lastFix = firstPacketBreak ? GpsRecord{} : gps('A', true, kLat, kLng, 18.52);
        EXPECT_TRUE(sameSensor(parser.m_pSensorData[2], last));
        EXPECT_TRUE(sameGps(parser.m_pGpsData[2], lastFix));
    }
}

TEST(AmbaParserTest, UnknownFirstBoxYieldsNothing) {
    TempFolder folder;
    const std::string path =
        folder.write("unknown.mp4", cat({box("abcd", zeros(8)), ambaFile(30, {ambaSample("1,2,3", kRmc)})}));
    AmbaParser parser(false);
    parser.Parse(path.c_str());
    EXPECT_EQ(parser.m_nFrameCount, 0);
    EXPECT_EQ(parser.m_nGpsData, 0);
    EXPECT_EQ(parser.m_pGpsData, nullptr);
    EXPECT_EQ(parser.m_nSensorData, 0);
}

// Without a data track the video track's sample count stays, and nothing else is found.
TEST(AmbaParserTest, VideoTrackAloneGivesFramesOnly) {
    TempFolder folder;
    const std::string path = folder.write("video.mp4", movieOldFile(45, {}));
    AmbaParser parser(false);
    parser.Parse(path.c_str());
    EXPECT_EQ(parser.m_nFrameCount, 45);
    EXPECT_EQ(parser.m_nGpsData, 0);
    EXPECT_EQ(parser.m_nSensorData, 0);
}

// Clear empties the sample table: a later file with offsets but no sizes finds no samples.
TEST(AmbaParserTest, ClearEmptiesSampleTable) {
    TempFolder folder;
    const std::string good = folder.write("good.mp4", ambaFile(30, {ambaSample("1,2,3", kRmc)}));
    const Bytes noSizes = cat(
        {ftyp(), box("moov", cat({box("trak", box("mdia", box("minf", cat({box("nmhd", zeros(4)),
                                                                           box("stbl", stco({0}))}))))}))});
    const std::string bad = folder.write("nosizes.mp4", noSizes);
    AmbaParser parser(false);
    parser.Parse(good.c_str());
    ASSERT_EQ(parser.m_nGpsData, 1);
    EXPECT_EQ(parser.Clear(), 0);
    EXPECT_EQ(parser.m_nGpsData, 0);
    EXPECT_EQ(parser.m_nFrameCount, 0);
    EXPECT_EQ(parser.m_pSensorData, nullptr);
    parser.Parse(bad.c_str());
    EXPECT_EQ(parser.m_nGpsData, 0);
    EXPECT_EQ(parser.m_nSensorData, 0);
}

// Each parser keeps its own sample table, so parses in different parsers may overlap.
TEST(AmbaParserTest, ParsersDoNotShareSampleTable) {
    TempFolder folder;
    std::vector<Bytes> many;
    for (int i = 0; i < 50; ++i)
        many.push_back(ambaSample("1,1,1", kRmc));
    const std::string one = folder.write("one.mp4", ambaFile(30, {ambaSample("2,2,2", kRmc)}));
    const std::string fifty = folder.write("fifty.mp4", ambaFile(30, many));
    auto run = [](const std::string& path, int expected, float x, bool& ok) {
        AmbaParser parser(false);
        ok = true;
        for (int round = 0; round < 20; ++round) {
            parser.Clear();
            parser.Parse(path.c_str());
            ok = ok && parser.m_nGpsData == expected && parser.m_pSensorData[expected - 1].x == x;
        }
    };
    bool okOne = false;
    bool okFifty = false;
    std::thread a(run, one, 1, 2.0f, std::ref(okOne));
    std::thread b(run, fifty, 50, 1.0f, std::ref(okFifty));
    a.join();
    b.join();
    EXPECT_TRUE(okOne);
    EXPECT_TRUE(okFifty);
}

// A sample-size box that gives one size for all samples and a sample count far beyond the file:
// no more samples are taken than the file can hold, and the real ones are read.
TEST(AmbaParserTest, OneSizeForAllSamplesIsBoundedByTheFile) {
    TempFolder folder;
    const Bytes sample = ambaSample("1,2,3", kRmc);
    Bytes file = ambaFile(30, {sample, sample}, {}, false, true);
    // The data track's stsz count (the second stsz of the file) becomes 2^31 - 1.
    const Bytes tag = text("stsz");
    auto at = std::search(file.begin(), file.end(), tag.begin(), tag.end());
    at = std::search(at + 1, file.end(), tag.begin(), tag.end());
    ASSERT_NE(at, file.end());
    const Bytes huge = be32(0x7FFFFFFF);
    std::copy(huge.begin(), huge.end(), at + 12);
    const std::string path = folder.write("huge.mp4", file);
    AmbaParser parser(false);
    parser.Parse(path.c_str());
    EXPECT_EQ(parser.m_nFrameCount, 0x7FFFFFFF);
    ASSERT_GE(parser.m_nGpsData, 2);
    EXPECT_LE(uint64_t(parser.m_nGpsData), file.size() / sample.size());
    EXPECT_TRUE(sameSensor(parser.m_pSensorData[1], {1, 2, 3}));
    EXPECT_TRUE(sameGps(parser.m_pGpsData[1], gps('A', true, kLat, kLng, 18.52)));
}
