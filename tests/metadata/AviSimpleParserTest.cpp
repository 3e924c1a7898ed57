// AviSimpleParser on generated AVI files, whole and broken.

#include "metadata/AviSimpleParser.h"
#include "TestAviWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using testavi::Sample;

namespace {

const std::vector<Sample> kThree = {
    {0.1f, 0.2f, 0.9f, 5, 30.0f, 37.5665f, 126.978f},
    {0.3f, -0.4f, 1.1f, 5, 31.5f, 37.5670f, 126.979f},
    {-0.5f, 0.6f, 1.0f, 5, 33.0f, 3733.99f, 12658.68f},
};

std::string tempPath(const std::string& name) {
    const fs::path dir = fs::path(testing::TempDir()) / "kavrin-avi-parser";
    fs::create_directories(dir);
    return (dir / name).string();
}

std::string writeAvi(const std::string& name, const testavi::Layout& layout) {
    const std::string path = tempPath(name);
    testavi::writeFile(path, testavi::aviBytes(layout));
    return path;
}

// What a parse left in the parser, compared whole.
struct Parsed {
    long result = 0;
    int frames = 0;
    int gps = 0;
    int sensor = 0;
    std::vector<Sample> samples; // direction not kept by this parser

    bool operator==(const Parsed& o) const {
        if (result != o.result || frames != o.frames || gps != o.gps || sensor != o.sensor ||
            samples.size() != o.samples.size())
            return false;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const Sample &a = samples[i], &b = o.samples[i];
            if (a.x != b.x || a.y != b.y || a.z != b.z || a.speed != b.speed || a.latitude != b.latitude ||
                a.longitude != b.longitude)
                return false;
        }
        return true;
    }
};

std::ostream& operator<<(std::ostream& out, const Parsed& p) {
    out << "{result " << p.result << ", frames " << p.frames << ", gps " << p.gps << ", sensor " << p.sensor
        << ", samples [";
    for (const Sample& s : p.samples)
        out << "(" << s.x << " " << s.y << " " << s.z << " | " << s.speed << " " << s.latitude << " "
            << s.longitude << ")";
    return out << "]}";
}

Parsed parse(const std::string& path, bool firstPacketBreak = false) {
    AviSimpleParser parser(firstPacketBreak);
    Parsed p;
    p.result = parser.Parse(path.c_str());
    p.frames = parser.m_nFrameCount;
    p.gps = parser.m_nGpsData;
    p.sensor = parser.m_nSensorData;
    for (int i = 0; i < parser.m_nGpsData; ++i) {
        const GpsRecord& r = parser.m_pGpsData[i];
        const SensorRecord& s = parser.m_pSensorData[i];
        EXPECT_EQ(r.status, 0);
        EXPECT_FALSE(r.isRmc);
        EXPECT_EQ(r.course, 0.0);
        p.samples.push_back({s.x, s.y, s.z, 0, float(r.speed), float(r.latitude), float(r.longitude)});
    }
    return p;
}

Parsed expectSamples(const std::vector<Sample>& samples) {
    const int n = int(samples.size());
    return {0, n, n, n, samples};
}

} // namespace

TEST(AviSimpleParser, ReadsEveryPacketAsItComes) {
    const std::string path = writeAvi("three.avi", testavi::samples(kThree));
    EXPECT_EQ(parse(path), expectSamples(kThree));
}

TEST(AviSimpleParser, FirstPacketBreakKeepsOneRecord) {
    const std::string path = writeAvi("first.avi", testavi::samples(kThree));
    EXPECT_EQ(parse(path, true), expectSamples({kThree[0]}));
}

TEST(AviSimpleParser, ClearEmptiesEverything) {
    const std::string path = writeAvi("clear.avi", testavi::samples(kThree));
    AviSimpleParser parser(false);
    ASSERT_EQ(parser.Parse(path.c_str()), 0);
    ASSERT_EQ(parser.m_nGpsData, 3);
    EXPECT_EQ(parser.Clear(), 0);
    EXPECT_EQ(parser.m_pGpsData, nullptr);
    EXPECT_EQ(parser.m_pSensorData, nullptr);
    EXPECT_EQ(parser.m_nFrameCount + parser.m_nGpsData + parser.m_nSensorData + parser.m_nGpsRaw, 0);
    // A second parse after Clear gives the same result, not a doubled one.
    EXPECT_EQ(parser.Parse(path.c_str()), 0);
    EXPECT_EQ(parser.m_nGpsData, 3);
}

TEST(AviSimpleParser, RefusesOtherExtensions) {
    const std::string good = writeAvi("named.avi", testavi::samples(kThree));
    const Parsed refused{-1, 0, 0, 0, {}};
    for (const char* name : {"UPPER.AVI", "mixed.Avi", "noext", "x.avi.mp4", "a.av"}) {
        const std::string path = tempPath(name);
        fs::copy_file(good, path, fs::copy_options::overwrite_existing);
        EXPECT_EQ(parse(path), refused) << name;
    }
    EXPECT_EQ(parse(""), refused);
    EXPECT_EQ(parse("avi"), refused);
    EXPECT_EQ(parse(tempPath("missing.avi")), refused);
    AviSimpleParser parser(false);
    EXPECT_EQ(parser.Parse(nullptr), -1);
}

// Broken files, each named after its fault, with what must be read from it.
struct BrokenCase {
    const char* name;
    testavi::Layout layout;
    Parsed expected;
};

class AviBroken : public testing::TestWithParam<BrokenCase> {};

TEST_P(AviBroken, ParsesWithoutOverrun) {
    const BrokenCase& c = GetParam();
    const std::string path = writeAvi(std::string(c.name) + ".avi", c.layout);
    EXPECT_EQ(parse(path), c.expected) << c.name;
    // The first-fix parse must stop as safely.
    const Parsed first = parse(path, true);
    EXPECT_LE(first.gps, 1) << c.name;
}

namespace {

std::vector<BrokenCase> brokenCases() {
    std::vector<BrokenCase> cases;
    {
        testavi::Layout l = testavi::samples(kThree);
        l.chunks[1].payload.resize(40); // a 40-byte packet between two whole ones
        cases.push_back({"TruncatedPacket", l, expectSamples({kThree[0], kThree[2]})});
    }
    {
        testavi::Layout l = testavi::samples(kThree);
        l.chunks[1].payload.resize(67);
        cases.push_back({"PacketOneByteShort", l, expectSamples({kThree[0], kThree[2]})});
    }
    {
        testavi::Layout l = testavi::samples(kThree);
        l.chunks[2].declaredSize = 0x7FFFFFF0;
        cases.push_back({"HugeChunkSize", l, expectSamples({kThree[0], kThree[1]})});
    }
    {
        testavi::Layout l = testavi::samples(kThree);
        l.chunks[0].declaredSize = 0xFFFFFFFF;
        // libavformat passes over a chunk whose size cannot be right and finds the next one.
        cases.push_back({"NegativeChunkSize", l, expectSamples({kThree[1], kThree[2]})});
    }
    {
        testavi::Layout l = testavi::samples(kThree);
        l.data = false;
        cases.push_back({"NoDataStream", l, {0, 0, 0, 0, {}}});
    }
    {
        testavi::Layout l = testavi::samples(kThree);
        l.video = false;
        cases.push_back({"DataWithoutVideo", l, expectSamples(kThree)});
    }
    {
        testavi::Layout l = testavi::samples({});
        cases.push_back({"NoPackets", l, {0, 0, 0, 0, {}}});
    }
    {
        testavi::Layout l = testavi::samples(kThree);
        l.truncateTo = testavi::aviBytes(l).size() - 30; // cuts the last packet short
        cases.push_back({"FileCutInLastPacket", l, expectSamples({kThree[0], kThree[1]})});
    }
    {
        testavi::Layout l = testavi::samples(kThree);
        l.truncateTo = 100; // inside the stream headers
        cases.push_back({"FileCutInHeaders", l, {-1, 0, 0, 0, {}}});
    }
    {
        testavi::Layout l = testavi::samples(kThree);
        l.chunks[0].payload.clear();
        cases.push_back({"EmptyPacket", l, expectSamples({kThree[1], kThree[2]})});
    }
    return cases;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Files, AviBroken, testing::ValuesIn(brokenCases()),
                         [](const testing::TestParamInfo<BrokenCase>& paramInfo) {
                             return paramInfo.param.name;
                         });

TEST(AviSimpleParser, NotAnAviFileFindsNothing) {
    const std::string path = tempPath("garbage.avi");
    testavi::writeFile(path, testavi::Bytes(4096, 0x5A));
    const Parsed got = parse(path);
    EXPECT_EQ(got.gps, 0);
    EXPECT_EQ(got.frames, 0);
    const std::string empty = tempPath("empty.avi");
    testavi::writeFile(empty, {});
    EXPECT_EQ(parse(empty).gps, 0);
}
