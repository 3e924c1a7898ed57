#include "DriveGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace samplegen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMetresPerDegree = 111'320.0;
constexpr double kKnotsToKmh = 1.852;

std::tm utcFields(std::time_t t) {
    std::tm fields{};
    gmtime_r(&t, &fields);
    return fields;
}

double round2(double v) {
    return std::round(v * 100.0) / 100.0 + 0.0;
} // + 0.0: no "-0.00"

} // namespace

DriveGenerator::DriveGenerator(const RecordingOptions& options)
    : m_options(options), m_random(options.seed * 2654435761u + 12345u) {}

double DriveGenerator::uniform(double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(m_random);
}

std::time_t DriveGenerator::defaultStartTime() {
    std::tm fields{};
    fields.tm_year = 2024 - 1900;
    fields.tm_mon = 10;
    fields.tm_mday = 8;
    fields.tm_hour = 8;
    fields.tm_min = 30;
    return timegm(&fields);
}

std::string DriveGenerator::nmeaField(double degrees, int degreeDigits) {
    degrees = std::fabs(degrees);
    int whole = static_cast<int>(degrees);
    double minutes = std::round((degrees - whole) * 60.0 * 10000.0) / 10000.0;
    if (minutes >= 60.0) {
        minutes -= 60.0;
        ++whole;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%0*d%07.4f", degreeDigits, whole, minutes);
    return text;
}

double DriveGenerator::nmeaFieldToDegrees(const std::string& field, int degreeDigits) {
    // The parsers' rule: integer part of value / 100, plus the minutes after the degree digits / 60.
    const double value = std::atof(field.c_str());
    return std::trunc(value / 100.0) + std::atof(field.c_str() + degreeDigits) / 60.0;
}

std::string DriveGenerator::rmcSentence(const Fix& fix, std::time_t utc, double fraction, bool valid) {
    const std::tm t = utcFields(utc);
    char body[160];
    const double knots = fix.speedKmh / kKnotsToKmh;
    std::snprintf(body, sizeof body, "GPRMC,%02d%02d%05.2f,%c,%s,%c,%s,%c,%.2f,%.2f,%02d%02d%02d,,,%c",
                  t.tm_hour, t.tm_min, t.tm_sec + fraction, valid ? 'A' : 'V', nmeaField(fix.lat, 2).c_str(),
                  fix.lat < 0 ? 'S' : 'N', nmeaField(fix.lng, 3).c_str(), fix.lng < 0 ? 'W' : 'E', knots,
                  fix.course, t.tm_mday, t.tm_mon + 1, t.tm_year % 100, valid ? 'A' : 'N');
    unsigned checksum = 0;
    for (const char* c = body; *c; ++c)
        checksum ^= static_cast<unsigned char>(*c);
    char sentence[176];
    std::snprintf(sentence, sizeof sentence, "$%s*%02X", body, checksum);
    return sentence;
}

std::string DriveGenerator::accelText(const Accel& accel) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f,%.2f,%.2f", static_cast<double>(accel.x),
                  static_cast<double>(accel.y), static_cast<double>(accel.z));
    return text;
}

std::string DriveGenerator::dataTrackSample(const Fix&, const Accel& accel, const std::string& sentence) {
    const std::string acc = accelText(accel);
    std::string sample;
    sample += static_cast<char>(0xFD);
    sample += static_cast<char>(0x10);
    sample += static_cast<char>(0x01);
    sample += 'G';
    sample += static_cast<char>(acc.size());
    sample += acc;
    sample += 'g';
    sample += static_cast<char>(std::min<std::size_t>(sentence.size(), 255));
    sample += sentence.substr(0, 255);
    return sample;
}

std::vector<std::uint8_t> DriveGenerator::aviPacket(const Fix& fix, const Accel& accel,
                                                    std::uint32_t directionWord, std::time_t localTime,
                                                    std::uint32_t sequence) {
    std::vector<std::uint8_t> packet(68, 0);
    auto putLe32 = [&packet](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            packet[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    auto putFloat = [&putLe32](std::size_t at, double value) {
        const float f = static_cast<float>(value);
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        putLe32(at, bits);
    };
    // Header of the packet: a sequence number and the camera's clock.
    const std::tm t = utcFields(localTime);
    putLe32(0, sequence);
    packet[4] = static_cast<std::uint8_t>((t.tm_year + 1900) & 0xFF);
    packet[5] = static_cast<std::uint8_t>((t.tm_year + 1900) >> 8);
    packet[6] = static_cast<std::uint8_t>(t.tm_mon + 1);
    packet[7] = static_cast<std::uint8_t>(t.tm_mday);
    packet[8] = static_cast<std::uint8_t>(t.tm_hour);
    packet[9] = static_cast<std::uint8_t>(t.tm_min);
    packet[10] = static_cast<std::uint8_t>(t.tm_sec);
    packet[11] = 'A';
    putFloat(40, accel.x);
    putFloat(44, accel.y);
    putFloat(48, accel.z);
    putLe32(52, directionWord);
    putFloat(56, fix.speedKmh);
    putFloat(60, fix.lat);
    putFloat(64, fix.lng);
    return packet;
}

Drive DriveGenerator::make() {
    Drive drive;
    const double sps = m_options.samplesPerSecond;
    const double dt = 1.0 / sps;
    const auto count = static_cast<std::size_t>(std::max(1.0, std::round(m_options.seconds * sps)));
    drive.samplesPerSecond = sps;

    // Road speed: a target speed held for a while, approached with car-like acceleration;
    // now and then a stop at a crossing. Heading drifts and sometimes turns by 90 degrees.
    double lat = m_options.startLat;
    double lng = m_options.startLng;
    double heading = uniform(0, 360);
    double speed = m_options.parked ? 0.0 : uniform(25, 60);
    double target = speed;
    double holdUntil = uniform(8, 20);
    double turnLeft = 0; // degrees still to turn
    double drift = uniform(-1.5, 1.5);
    const double bumpTime = m_options.seconds * uniform(0.3, 0.7);
    drive.bumpIndex = std::min(count - 1, static_cast<std::size_t>(bumpTime * sps));

    for (std::size_t i = 0; i < count; ++i) {
        const double time = static_cast<double>(i) * dt;
        if (i > 0) {
            if (time >= holdUntil) {
                const double pick = uniform(0, 1);
                target = pick < 0.12   ? 0.0
                         : pick < 0.4  ? uniform(30, 50)
                         : pick < 0.75 ? uniform(50, 80)
                                       : uniform(80, 100);
                if (m_options.parked)
                    target = 0.0;
                holdUntil = time + (target == 0 ? uniform(4, 9) : uniform(10, 30));
                if (uniform(0, 1) < 0.3 && speed < 60)
                    turnLeft = uniform(0, 1) < 0.5 ? 90 : -90;
                drift = uniform(-1.5, 1.5);
            }
        }
        const double previousSpeed = speed;
        if (i > 0) {
            const double step = (target > speed ? 7.0 : 10.0) * dt; // km/h per sample
            speed = std::clamp(target, speed - step, speed + step);
            speed = std::clamp(speed + uniform(-0.4, 0.4) * dt * (speed > 5 ? 1 : 0), 0.0, 130.0);
            if (m_options.parked)
                speed = 0.0;
        }
        double yawRate = speed > 1 ? drift : 0.0; // degrees per second
        if (turnLeft != 0 && speed > 1) {
            const double turn = std::clamp(turnLeft, -18.0 * dt, 18.0 * dt);
            turnLeft -= turn;
            yawRate += turn / dt;
        }
        if (i > 0) {
            const double distance = (previousSpeed + speed) / 2.0 / 3.6 * dt;
            const double mid = (heading + yawRate * dt / 2.0) * kPi / 180.0;
            lat += distance * std::cos(mid) / kMetresPerDegree;
            lng += distance * std::sin(mid) / (kMetresPerDegree * std::cos(lat * kPi / 180.0));
            heading = std::fmod(heading + yawRate * dt + 360.0, 360.0);
        }

        // G-sensor: lateral (x) from the turn, longitudinal (y) from the speed change,
        // gravity on z, road noise, and a bump (a pothole) at bumpIndex.
        const double v = speed / 3.6;
        Accel accel;
        double x = v * yawRate * kPi / 180.0 / 9.81 + uniform(-0.02, 0.02);
        double y = (i > 0 ? (speed - previousSpeed) / 3.6 / dt / 9.81 : 0.0) + uniform(-0.02, 0.02);
        double z = 1.0 + uniform(-0.03, 0.03);
        if (i == drive.bumpIndex) {
            z += 0.85; // stays within the +-2 g of the charts
            x += 0.35;
            y -= 0.25;
        } else if (i == drive.bumpIndex + 1) {
            z -= 0.6;
            x -= 0.2;
        }
        accel.x = static_cast<float>(round2(x));
        accel.y = static_cast<float>(round2(y));
        accel.z = static_cast<float>(round2(z));

        Fix fix;
        fix.course = round2(heading);
        if (m_options.layout == Layout::Avi) {
            // The packet holds 32-bit floats: degrees (or ddmm.mmmm) and km/h.
            const double latQ = nmeaFieldToDegrees(nmeaField(lat, 2), 2) * (lat < 0 ? -1 : 1);
            const double lngQ = nmeaFieldToDegrees(nmeaField(lng, 3), 3) * (lng < 0 ? -1 : 1);
            if (m_options.aviNmeaPositions) {
                auto toNmea = [](double deg) {
                    const double a = std::fabs(deg);
                    const double whole = std::trunc(a);
                    return whole * 100.0 + (a - whole) * 60.0;
                };
                fix.lat = static_cast<float>(toNmea(latQ));
                fix.lng = static_cast<float>(toNmea(lngQ));
            } else {
                fix.lat = static_cast<float>(latQ);
                fix.lng = static_cast<float>(lngQ);
            }
            fix.speedKmh = static_cast<float>(round2(speed));
        } else {
            // RMC text: ddmm.mmmm, knots with two decimals, read back as the parsers do.
            fix.lat = nmeaFieldToDegrees(nmeaField(lat, 2), 2) * (lat < 0 ? -1 : 1);
            fix.lng = nmeaFieldToDegrees(nmeaField(lng, 3), 3) * (lng < 0 ? -1 : 1);
            char knots[32];
            std::snprintf(knots, sizeof knots, "%.2f", speed / kKnotsToKmh);
            fix.speedKmh = std::atof(knots) * kKnotsToKmh;
        }
        drive.fixes.push_back(fix);
        drive.accel.push_back(accel);
    }
    drive.nmeaPositions = m_options.layout == Layout::Avi && m_options.aviNmeaPositions;
    // Degrees carry their sign; ddmm.mmmm values are unsigned and the codes give the hemisphere.
    const std::uint32_t latCode = drive.nmeaPositions && m_options.startLat < 0 ? 2 : 1;
    const std::uint32_t lngCode = drive.nmeaPositions && m_options.startLng < 0 ? 2 : 1;
    drive.directionWord = latCode | (lngCode << 2);
    if (m_options.layout != Layout::Avi) {
        const std::time_t start = m_options.startTime ? m_options.startTime : defaultStartTime();
        const std::time_t utcStart = start - static_cast<std::time_t>(m_options.utcOffsetHours) * 3600;
        for (std::size_t i = 0; i < count; ++i) {
            const double at = static_cast<double>(i) * dt;
            const double whole = std::floor(at);
            drive.sentences.push_back(
                rmcSentence(drive.fixes[i], utcStart + static_cast<std::time_t>(whole), at - whole, true));
        }
    }
    return drive;
}

} // namespace samplegen
