// The generated drive: road speeds, fixes whose spacing matches the speeds, a G bump, and the
// byte forms of one sample (RMC sentence, data-track sample, AVI packet).
#include "SampleGenTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace samplegen;
using namespace samplegen::test;

namespace {

double toDegrees(double nmea) {
    const double d = std::trunc(nmea / 100);
    return d + (nmea - 100 * d) / 60;
}

void expectPlausible(const Drive& drive, const RecordingOptions& o) {
    ASSERT_EQ(drive.fixes.size(), drive.accel.size());
    ASSERT_GE(drive.fixes.size(), 2u);
    const double dt = 1.0 / o.samplesPerSecond;
    double minSpeed = 1e9, maxSpeed = -1e9;
    for (std::size_t i = 0; i < drive.fixes.size(); ++i) {
        const Fix& f = drive.fixes[i];
        minSpeed = std::min(minSpeed, f.speedKmh);
        maxSpeed = std::max(maxSpeed, f.speedKmh);
        EXPECT_GE(f.speedKmh, 0.0);
        EXPECT_LE(f.speedKmh, 130.0);
        const double lat = drive.nmeaPositions ? toDegrees(f.lat) : f.lat;
        const double lng = drive.nmeaPositions ? toDegrees(f.lng) : f.lng;
        EXPECT_LT(metres(lat, lng, o.startLat, o.startLng), 130.0 / 3.6 * o.seconds + 10);
        const Accel& a = drive.accel[i];
        for (float v : {a.x, a.y, a.z})
            EXPECT_LT(std::fabs(v), 15.0f); // the data-track parser turns 15 and above into 99
        if (i == 0)
            continue;
        const Fix& p = drive.fixes[i - 1];
        const double plat = drive.nmeaPositions ? toDegrees(p.lat) : p.lat;
        const double plng = drive.nmeaPositions ? toDegrees(p.lng) : p.lng;
        const double moved = metres(plat, plng, lat, lng);
        const double expected = (p.speedKmh + f.speedKmh) / 2 / 3.6 * dt;
        EXPECT_NEAR(moved, expected, 2.0 + 0.05 * expected) << "between samples " << i - 1 << " and " << i;
    }
    // The bump: z well above gravity at its peak, calm elsewhere.
    const std::size_t bump = drive.bumpIndex;
    ASSERT_LT(bump, drive.accel.size());
    EXPECT_GT(drive.accel[bump].z, 1.7f);
    for (std::size_t i = 0; i < drive.accel.size(); ++i) {
        if (i != bump && i != bump + 1) {
            EXPECT_LT(std::fabs(drive.accel[i].z - 1.0f), 0.5f) << "sample " << i;
        }
    }
}

} // namespace

TEST(Drive, IsPlausibleInEveryLayout) {
    for (Layout layout : {Layout::DataTrack, Layout::Boxes, Layout::Avi}) {
        for (unsigned seed : {1u, 2u, 3u, 40u}) {
            SCOPED_TRACE(std::string(layoutName(layout)) + " seed " + std::to_string(seed));
            RecordingOptions o;
            o.layout = layout;
            o.seed = seed;
            o.seconds = 120;
            o.aviNmeaPositions = seed % 2 == 0;
            expectPlausible(makeDrive(o), o);
        }
    }
}

TEST(Drive, LongDriveChangesSpeedAndStaysOnRoad) {
    RecordingOptions o;
    o.seconds = 900;
    o.samplesPerSecond = 2;
    o.startLat = 35.1796;
    o.startLng = 129.0756;
    const Drive drive = makeDrive(o);
    expectPlausible(drive, o);
    EXPECT_EQ(drive.fixes.size(), 1800u);
    const auto [lo, hi] =
        std::minmax_element(drive.fixes.begin(), drive.fixes.end(),
                            [](const Fix& a, const Fix& b) { return a.speedKmh < b.speedKmh; });
    EXPECT_GT(hi->speedKmh - lo->speedKmh, 20.0);
}

TEST(Drive, IsDeterministicInTheSeed) {
    RecordingOptions o;
    o.seconds = 30;
    const Drive a = makeDrive(o);
    const Drive b = makeDrive(o);
    ASSERT_EQ(a.fixes.size(), b.fixes.size());
    EXPECT_EQ(a.sentences, b.sentences);
    o.seed = 2;
    EXPECT_NE(makeDrive(o).sentences, a.sentences);
}

TEST(Drive, AviDirectionWordFollowsTheHemisphereOfNmeaPositions) {
    RecordingOptions o;
    o.layout = Layout::Avi;
    EXPECT_EQ(makeDrive(o).directionWord, 5u); // degrees carry their sign: codes 1 and 1
    o.aviNmeaPositions = true;
    o.startLat = -33.86;
    o.startLng = 151.2;
    const Drive south = makeDrive(o);
    EXPECT_EQ(south.directionWord & 3u, 2u);
    EXPECT_EQ((south.directionWord >> 2) & 3u, 1u);
    EXPECT_GT(south.fixes[0].lat, 3300.0);
}

TEST(SampleBytes, RmcSentence) {
    Fix fix;
    fix.lat = 37 + 23.1234 / 60;
    fix.lng = 127 + 1.5678 / 60;
    fix.speedKmh = 18.52;
    fix.course = 90;
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 10;
    t.tm_mday = 8;
    t.tm_hour = 12;
    const std::string s = rmcSentence(fix, timegm(&t), true);
    EXPECT_EQ(s.substr(0, s.size() - 3),
              "$GPRMC,120000.00,A,3723.1234,N,12701.5678,E,10.00,90.00,081124,,,A");
    unsigned sum = 0;
    for (std::size_t i = 1; i < s.size() - 3; ++i)
        sum ^= static_cast<unsigned char>(s[i]);
    EXPECT_EQ(std::stoul(s.substr(s.size() - 2), nullptr, 16), sum);

    fix.lat = -fix.lat;
    fix.lng = -fix.lng;
    const std::string south = rmcSentence(fix, timegm(&t), false);
    EXPECT_NE(south.find(",V,3723.1234,S,12701.5678,W,"), std::string::npos) << south;
}

TEST(SampleBytes, AviPacketLayout) {
    Fix fix{37.5665, 126.978, 42.5, 0};
    Accel accel{0.25f, -0.5f, 1.0f};
    const auto p = aviPacket(fix, accel, 6, 0, 3);
    ASSERT_EQ(p.size(), 68u);
    auto floatAt = [&p](std::size_t at) {
        float f;
        std::memcpy(&f, &p[at], 4);
        return f;
    };
    EXPECT_EQ(floatAt(40), 0.25f);
    EXPECT_EQ(floatAt(44), -0.5f);
    EXPECT_EQ(floatAt(48), 1.0f);
    EXPECT_EQ(p[52], 6);
    EXPECT_EQ(p[53] | p[54] | p[55], 0);
    EXPECT_EQ(floatAt(56), 42.5f);
    EXPECT_EQ(floatAt(60), 37.5665f);
    EXPECT_EQ(floatAt(64), 126.978f);
}

TEST(Drive, ParkedRecordingStandsStillWithABump) {
    RecordingOptions o;
    o.layout = Layout::Boxes;
    o.seconds = 40;
    o.parked = true;
    const Drive drive = makeDrive(o);
    expectPlausible(drive, o);
    for (const Fix& f : drive.fixes) {
        EXPECT_EQ(f.speedKmh, 0.0);
        EXPECT_EQ(f.lat, drive.fixes[0].lat);
        EXPECT_EQ(f.lng, drive.fixes[0].lng);
    }
}
