// The 68-byte metadata packet, the NMEA conversion and the first-packet location.

#include "MetadataPrinters.h"
#include "TestAviWriter.h"
#include "metadata/VideoPacketDecoder.h"
#include "metadata/nmeaToDegrees.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace {

struct PacketCase {
    const char* name;
    testavi::Bytes bytes;
    OrvoVideoPacket expected;
};

OrvoVideoPacket full(float x, float y, float z, uint32_t lati, uint32_t longi, float speed, float lat,
                     float lng) {
    return {x, y, z, speed, lat, lng, lati, longi};
}

testavi::Bytes bytesOf(testavi::Sample s, std::size_t size = 68) {
    return testavi::packetBytes(s, size);
}

} // namespace

TEST(PacketDecoder, DecodesEveryLayout) {
    const testavi::Sample base{0.25f, -1.5f, 0.98f, 0b0101, 42.5f, 37.5665f, 126.978f};
    testavi::Sample dir0110 = base;
    dir0110.direction = 0b0110;
    testavi::Sample highBits = base;
    highBits.direction = 0xFFFFFFF2; // only bits 0-3 are read
    OrvoVideoPacket upTo56;
    upTo56.gsensor_x = 0.25f;
    upTo56.gsensor_y = -1.5f;
    upTo56.gsensor_z = 0.98f;
    upTo56.gps_dir_lati = 1;
    upTo56.gps_dir_longi = 1;
    OrvoVideoPacket upTo64 = upTo56;
    upTo64.gps_speed = 42.5f;
    upTo64.gps_latitude = 37.5665f;

    const PacketCase cases[] = {
        {"Whole", bytesOf(base), full(0.25f, -1.5f, 0.98f, 1, 1, 42.5f, 37.5665f, 126.978f)},
        {"LongerThanLayout", bytesOf(base, 200), full(0.25f, -1.5f, 0.98f, 1, 1, 42.5f, 37.5665f, 126.978f)},
        {"Direction0110", bytesOf(dir0110), full(0.25f, -1.5f, 0.98f, 2, 1, 42.5f, 37.5665f, 126.978f)},
        {"DirectionHighBits", bytesOf(highBits), full(0.25f, -1.5f, 0.98f, 2, 0, 42.5f, 37.5665f, 126.978f)},
        {"Empty", {}, OrvoVideoPacket{}},
        {"OnlyHeader", bytesOf(base, 40), OrvoVideoPacket{}},
        {"CutInsideX", bytesOf(base, 43), OrvoVideoPacket{}},
        {"CutAfterDirection", bytesOf(base, 56), upTo56},
        {"CutInsideLongitude", bytesOf(base, 67), upTo64},
    };
    for (const PacketCase& c : cases) {
        const OrvoVideoPacket got = decodeVideoPacket(c.bytes);
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(PacketDecoder, FloatFieldsKeepTheirBitPattern) {
    testavi::Sample s{};
    s.latitude = std::numeric_limits<float>::quiet_NaN();
    s.longitude = -std::numeric_limits<float>::infinity();
    s.speed = std::numeric_limits<float>::denorm_min();
    const OrvoVideoPacket p = decodeVideoPacket(bytesOf(s));
    ASSERT_TRUE(p.gps_latitude && p.gps_longitude && p.gps_speed);
    EXPECT_TRUE(std::isnan(*p.gps_latitude));
    EXPECT_EQ(*p.gps_longitude, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(*p.gps_speed, std::numeric_limits<float>::denorm_min());
}

TEST(PacketDecoder, Uint32FromBytes) {
    struct Case {
        testavi::Bytes bytes;
        std::optional<uint32_t> expected;
    };
    const Case cases[] = {
        {{}, 0u},
        {{0x01, 0x02, 0x03, 0x04}, 0x04030201u},
        {{0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFFu},
        // Fewer than four bytes: zeros go in front, then little-endian.
        {{0x01}, 0x01000000u},
        {{0x01, 0x02}, 0x02010000u},
        {{0x01, 0x02, 0x03}, 0x03020100u},
        {{1, 2, 3, 4, 5}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(uint32FromBytes(c.bytes), c.expected) << "input of " << c.bytes.size() << " bytes";
    }
}

TEST(NmeaToDegrees, ConvertsInFloat) {
    struct Case {
        float input;
        float expected;
    };
    const Case cases[] = {
        {3723.5f, 37.0f + 23.5f / 60.0f},
        {-3723.5f, -(37.0f + 23.5f / 60.0f)},
        {3733.99f, 37.566498f},
        {12658.68f, 126.978f},
        {0.0f, 0.0f},
        {59.99f, 59.99f / 60.0f},
        {-0.5f, -0.5f / 60.0f},
        {100.0f, 1.0f},
        {18000.0f, 180.0f},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(nmeaToDegrees(c.input), c.expected, 1e-4f) << "input " << c.input;
    }
    EXPECT_FLOAT_EQ(nmeaToDegrees(3723.5f), 37.391666f);
}

TEST(NmeaToDegrees, ValuesBeyondAnIntDoNotStop) {
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(std::isnan(nmeaToDegrees(std::numeric_limits<float>::quiet_NaN())));
    EXPECT_EQ(nmeaToDegrees(inf), inf);
    EXPECT_EQ(nmeaToDegrees(-inf), -inf);
    // The hundredth of these does not fit an int; the result stays finite and of the same sign.
    for (const float big :
         {1e12f, -1e12f, std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest()}) {
        const float got = nmeaToDegrees(big);
        EXPECT_TRUE(std::isfinite(got)) << big;
        EXPECT_EQ(std::signbit(got), std::signbit(big)) << big;
    }
}
