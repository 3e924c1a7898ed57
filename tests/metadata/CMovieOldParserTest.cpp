#include "metadata/CMovieOldParser.h"

#include "Mp4Builder.h"

#include <gtest/gtest.h>

using namespace mp4;

namespace {

const double kLat = 37 + 23.1234 / 60;
const double kLng = 127 + 1.5678 / 60;

GpsRecord fix(char status, bool rmc, char latH, char lngH, double lat, double lng, double speed,
              double course) {
    GpsRecord r{};
    r.status = status;
    r.isRmc = rmc;
    r.latHemisphere = latH;
    r.lngHemisphere = lngH;
    r.latitude = lat;
    r.longitude = lng;
    r.speed = speed;
    r.course = course;
    return r;
}

struct SentenceCase {
    const char* name;
    const char* sentence;
    GpsRecord record;
};

class GpsrSentenceTest : public ::testing::TestWithParam<SentenceCase> {};

// Parses a recording whose "udta" holds boxes, with the given flag.
struct Parsed {
    explicit Parsed(const Bytes& file, bool firstPacketBreak = false) : parser(firstPacketBreak) {
        const std::string path = folder.write("movie.mp4", file);
        EXPECT_EQ(parser.Parse(path.c_str()), 0);
    }
    TempFolder folder;
    CMovieOldParser parser;
};

} // namespace

// Every "GPSR" sentence decodes into the complete expected record.
TEST_P(GpsrSentenceTest, DecodesSentence) {
    const SentenceCase& c = GetParam();
    Parsed p(movieOldFile(30, box("GPSR", gpsrEntry(c.sentence))));
    EXPECT_EQ(p.parser.m_nFrameCount, 30);
    ASSERT_EQ(p.parser.m_nGpsData, 1);
    EXPECT_TRUE(sameGps(p.parser.m_pGpsData[0], c.record));
}

INSTANTIATE_TEST_SUITE_P(
    Sentences, GpsrSentenceTest,
    ::testing::Values(
        SentenceCase{"RmcNorthEast", "$GPRMC,120000,A,3723.1234,N,12701.5678,E,10.0,90.0,010120,,,A*6A",
                     fix('A', true, 'N', 'E', kLat, kLng, 18.52, 90)},
        SentenceCase{"RmcSouthWest", "$GNRMC,120000,A,3723.1234,S,12701.5678,W,10.0,90.0",
                     fix('A', true, 'S', 'W', -kLat, -kLng, 18.52, 90)},
        SentenceCase{"LowerCaseHemispheres", "$GPRMC,120000,A,3723.1234,s,12701.5678,w,0,0",
                     fix('A', true, 's', 'w', -kLat, -kLng, 0, 0)},
        // Empty fields collapse: 0.0 becomes the latitude, 0.0 its hemisphere, 010120 the longitude.
        SentenceCase{"StatusVoidEmptyFieldsShift", "$GPRMC,120000,V,,,,,0.0,0.0,010120,,,N*7F",
                     fix('V', true, '0', 'N', 0, 103, 0, 0)},
        SentenceCase{"GgaDecodedByPosition", "$GPGGA,120000,3723.1234,N,12701.5678,E,1,08,0.9,545.4,M",
                     fix('3', false, '1', '1', 0, 0, 14.816, 0.9)},
        SentenceCase{"FieldsTooShortForMinutes", "$GPRMC,1,A,5,N,7,E,1,2",
                     fix('A', true, 'N', 'E', 0, 0, 1.852, 2)},
        SentenceCase{"OnlyCommas", ",,,,", GpsRecord{}}, SentenceCase{"Empty", "", GpsRecord{}}),
    [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST(CMovieOldParserTest, GpsAndSensorBoxes) {
    const Bytes gpsr = box("GPSR", cat({gpsrEntry("$GPRMC,1,A,3723.1234,N,12701.5678,E,10.0,90.0"),
                                        gpsrEntry("$GPRMC,2,A,3723.1234,N,12701.5678,E,20.0,90.0")}));
    const Bytes sens = box("SENS", cat({sensTriple(0.5f, -1.0f, 9.8f), sensTriple(1.5f, 2.0f, -3.0f)}));
    for (bool firstPacketBreak : {false, true}) {
        SCOPED_TRACE(firstPacketBreak ? "firstPacketBreak" : "all entries");
        Parsed p(
            movieOldFile(30, cat({box("TIME", zeros(4)), box("ENCY"), box("AIDD", zeros(2)), gpsr, sens})),
            firstPacketBreak);
        ASSERT_EQ(p.parser.m_nGpsData, 2);
        EXPECT_EQ(p.parser.m_nGpsRaw, int(gpsr.size() - 8));
        EXPECT_EQ(p.parser.m_nSensorData, 24);
        ASSERT_NE(p.parser.m_pSensorData, nullptr);
        EXPECT_TRUE(sameGps(p.parser.m_pGpsData[0], fix('A', true, 'N', 'E', kLat, kLng, 18.52, 90)));
        EXPECT_TRUE(sameSensor(p.parser.m_pSensorData[0], {0.5f, -1.0f, 9.8f}));
        // Only decoded entries get a sample; the list handed out still has one per fix.
        const GpsRecord second =
            firstPacketBreak ? GpsRecord{} : fix('A', true, 'N', 'E', kLat, kLng, 37.04, 90);
        const SensorRecord secondSample = firstPacketBreak ? SensorRecord{} : SensorRecord{1.5f, 2.0f, -3.0f};
        EXPECT_TRUE(sameGps(p.parser.m_pGpsData[1], second));
        EXPECT_TRUE(sameSensor(p.parser.m_pSensorData[1], secondSample));
    }
}

TEST(CMovieOldParserTest, EntryCount) {
    struct Case {
        const char* name;
        Bytes payload;
        int count;
    };
    const Bytes entry = gpsrEntry("$GPRMC,1,A");
    const Case cases[] = {
        {"TwoEntries", cat({entry, entry}), 2},
        {"LastEntryTooLong", cat({entry, be32(0), le32(100), text("$GP")}), 1},
        {"NegativeLength", cat({entry, be32(0), le32(0xFFFFFFF0u), text("$GP")}), 1},
        {"HeadCut", cat({entry, be32(0), Bytes{1}}), 1},
        {"TextRunsPastPayload", cat({entry, be32(0), le32(4), text("$G")}), 1},
        {"EmptySentences", cat({gpsrEntry(""), gpsrEntry("")}), 2},
        {"EmptyPayload", {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Parsed p(movieOldFile(30, box("GPSR", c.payload)));
        EXPECT_EQ(p.parser.m_nGpsData, c.count);
        EXPECT_EQ(p.parser.m_pGpsData == nullptr, c.count == 0);
    }
}

// "SENS" yields samples only for the "GPSR" entries decoded before it.
TEST(CMovieOldParserTest, SensorBoxOrder) {
    const Bytes gpsr =
        box("GPSR", cat({gpsrEntry("$GPRMC,1,A"), gpsrEntry("$GPRMC,2,A"), gpsrEntry("$GPRMC,3,A")}));
    const Bytes oneTriple = box("SENS", sensTriple(1, 2, 3));
    {
        SCOPED_TRACE("SensBeforeGpsr");
        Parsed p(movieOldFile(30, cat({oneTriple, gpsr})));
        EXPECT_EQ(p.parser.m_nGpsData, 3);
        EXPECT_EQ(p.parser.m_nSensorData, 12);
        EXPECT_EQ(p.parser.m_pSensorData, nullptr);
    }
    {
        SCOPED_TRACE("SensOnly");
        Parsed p(movieOldFile(30, oneTriple));
        EXPECT_EQ(p.parser.m_nFrameCount, 30);
        EXPECT_EQ(p.parser.m_nGpsData, 0);
        EXPECT_EQ(p.parser.m_nSensorData, 12);
        EXPECT_EQ(p.parser.m_pSensorData, nullptr);
    }
    {
        SCOPED_TRACE("SensShorterThanEntries");
        Parsed p(movieOldFile(30, cat({gpsr, oneTriple})));
        ASSERT_EQ(p.parser.m_nGpsData, 3);
        ASSERT_NE(p.parser.m_pSensorData, nullptr);
        EXPECT_TRUE(sameSensor(p.parser.m_pSensorData[0], {1, 2, 3}));
        EXPECT_TRUE(sameSensor(p.parser.m_pSensorData[2], {}));
    }
    {
        SCOPED_TRACE("SecondGpsrReplacesFirst");
        const Bytes second = box("GPSR", cat({gpsrEntry("$GPRMC,1,V"), gpsrEntry("$GPRMC,2,V"),
                                              gpsrEntry("$GPRMC,3,V"), gpsrEntry("$GPRMC,4,V")}));
        Parsed p(movieOldFile(30, cat({gpsr, oneTriple, second})));
        ASSERT_EQ(p.parser.m_nGpsData, 4);
        EXPECT_EQ(p.parser.m_pGpsData[3].status, 'V');
        ASSERT_NE(p.parser.m_pSensorData, nullptr);
        EXPECT_TRUE(sameSensor(p.parser.m_pSensorData[3], {}));
    }
}

// "nmhd" is not one of this parser's boxes: the walk ends there.
TEST(CMovieOldParserTest, WalkEndsAtUnknownBox) {
    const Bytes gpsr = box("GPSR", gpsrEntry("$GPRMC,1,A"));
    Parsed p(cat({ftyp(), box("moov", cat({videoTrak(30), box("nmhd", zeros(4)), gpsr}))}));
    EXPECT_EQ(p.parser.m_nFrameCount, 30);
    EXPECT_EQ(p.parser.m_nGpsData, 0);
}

// A box with a 64-bit size is skipped by that size.
TEST(CMovieOldParserTest, LargeSizeBoxSkipped) {
    const Bytes gpsr = box("GPSR", gpsrEntry("$GPRMC,1,A"));
    Parsed p(cat({ftyp(), largeBox(16 + 20, "free", zeros(20)), box("moov", cat({videoTrak(30), gpsr}))}));
    EXPECT_EQ(p.parser.m_nFrameCount, 30);
    EXPECT_EQ(p.parser.m_nGpsData, 1);
}

// A "GPSR" box cut short by the end of the file keeps its readable size, all zeros.
TEST(CMovieOldParserTest, TruncatedGpsrIsZeroed) {
    Bytes file =
        cat({ftyp(), box("moov", videoTrak(30)), rawBox(1000, "GPSR", gpsrEntry("$GPRMC,1,A,3723.1234,N"))});
    const int payload = int(gpsrEntry("$GPRMC,1,A,3723.1234,N").size());
    Parsed p(file);
    EXPECT_EQ(p.parser.m_nGpsRaw, payload);
    EXPECT_EQ(p.parser.m_nGpsData, payload / 8);
    ASSERT_NE(p.parser.m_pGpsData, nullptr);
    EXPECT_TRUE(sameGps(p.parser.m_pGpsData[0], GpsRecord{}));
}
