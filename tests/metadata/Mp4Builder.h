#pragma once

// Builds MP4 box trees in memory for the container parser tests, and writes them to a
// temporary folder that lives as long as the TempFolder object.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace mp4 {

using Bytes = std::vector<uint8_t>;

inline Bytes be32(uint32_t v) {
    return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

inline Bytes be64(uint64_t v) {
    Bytes out = be32(uint32_t(v >> 32));
    const Bytes low = be32(uint32_t(v));
    out.insert(out.end(), low.begin(), low.end());
    return out;
}

inline Bytes le32(uint32_t v) {
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

inline Bytes leFloat(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return le32(bits);
}

inline Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline Bytes zeros(size_t n) {
    return Bytes(n, 0);
}

// A box whose 32-bit size field says size (whatever the payload really holds).
inline Bytes rawBox(uint32_t size, const char* type, const Bytes& payload = {}) {
    return cat({be32(size), text(std::string(type, 4)), payload});
}

// A well-formed box: size = 8 + payload.
inline Bytes box(const char* type, const Bytes& payload = {}) {
    return rawBox(uint32_t(8 + payload.size()), type, payload);
}

// A box with a 64-bit size field (the 32-bit size is 1) saying size64.
inline Bytes largeBox(uint64_t size64, const char* type, const Bytes& payload = {}) {
    return cat({be32(1), text(std::string(type, 4)), be64(size64), payload});
}

inline Bytes ftyp() {
    return box("ftyp", cat({text("isom"), be32(0x200), text("isomiso2avc1mp41")}));
}

inline Bytes hdlr(const char* handler) {
    return box("hdlr",
               cat({be32(0), be32(0), text(std::string(handler, 4)), zeros(12), text("x"), zeros(1)}));
}

// Sample-size box: version/flags, sample size 0, count, then the entries.
// Sample-size box: version/flags, the size shared by every sample (0: a table of sizes follows),
// the sample count, then the sizes.
inline Bytes stsz(uint32_t count, const std::vector<uint32_t>& sizes = {}, uint32_t constantSize = 0) {
    Bytes payload = cat({be32(0), be32(constantSize), be32(count)});
    for (uint32_t s : sizes) {
        const Bytes e = be32(s);
        payload.insert(payload.end(), e.begin(), e.end());
    }
    return box("stsz", payload);
}

// Chunk-offset box: version/flags, entry count, then the offsets.
inline Bytes stco(const std::vector<uint32_t>& offsets) {
    Bytes payload = cat({be32(0), be32(uint32_t(offsets.size()))});
    for (uint32_t o : offsets) {
        const Bytes e = be32(o);
        payload.insert(payload.end(), e.begin(), e.end());
    }
    return box("stco", payload);
}

// A video track with frames samples.
inline Bytes videoTrak(uint32_t frames) {
    return box("trak",
               cat({box("tkhd", zeros(84)),
                    box("mdia", cat({box("mdhd", zeros(24)), hdlr("vide"),
                                     box("minf", cat({box("vmhd", zeros(12)),
                                                      box("stbl", cat({box("stsd", zeros(8)), stsz(frames),
                                                                       stco({})}))}))}))}));
}

// A data track (null media header) whose samples sit at the given offsets. With constantSize
// its sample-size box gives the first size for all samples and holds no table.
inline Bytes dataTrak(const std::vector<uint32_t>& sizes, const std::vector<uint32_t>& offsets,
                      bool constantSize = false) {
    return box(
        "trak",
        cat({box("tkhd", zeros(84)),
             box("mdia",
                 cat({box("mdhd", zeros(24)), hdlr("meta"),
                      box("minf", cat({box("nmhd", zeros(4)),
                                       box("stbl", cat({box("stsd", zeros(8)),
                                                        constantSize && !sizes.empty()
                                                            ? stsz(uint32_t(sizes.size()), {}, sizes[0])
                                                            : stsz(uint32_t(sizes.size()), sizes),
                                                        stco(offsets)}))}))}))}));
}

// One data-track sample: the 0xFD 0x10 ? 'G' head, the accelerometer text and, unless nmea
// is null, 'g' and the NMEA sentence.
inline Bytes ambaSample(const std::string& acc, const char* nmea) {
    Bytes out = {0xFD, 0x10, 0x00, 'G', uint8_t(acc.size())};
    const Bytes a = text(acc);
    out.insert(out.end(), a.begin(), a.end());
    if (nmea != nullptr) {
        const std::string n(nmea);
        out.push_back('g');
        out.push_back(uint8_t(n.size()));
        out.insert(out.end(), n.begin(), n.end());
    }
    return out;
}

// One "GPSR" entry: 4 unread bytes, the little-endian length, the sentence.
inline Bytes gpsrEntry(const std::string& sentence) {
    return cat({be32(0), le32(uint32_t(sentence.size())), text(sentence)});
}

inline Bytes sensTriple(float x, float y, float z) {
    return cat({leFloat(x), leFloat(y), leFloat(z)});
}

// A recording with a video track of frames frames and a data track holding the samples in an
// "mdat" after "moov". extraMoov is appended inside "moov" before the tracks when
// boxesFirst is set, after them otherwise. With constantSize the data track's sample-size box
// gives one size for all samples (they must all have it) instead of a table.
inline Bytes ambaFile(uint32_t frames, const std::vector<Bytes>& samples, const Bytes& extraMoov = {},
                      bool boxesFirst = false, bool constantSize = false) {
    std::vector<uint32_t> sizes;
    for (const Bytes& s : samples)
        sizes.push_back(uint32_t(s.size()));
    const Bytes videoData = zeros(64);
    auto build = [&](const std::vector<uint32_t>& offsets) {
        const Bytes tracks = cat({videoTrak(frames), dataTrak(sizes, offsets, constantSize)});
        const Bytes moov = box("moov", boxesFirst ? cat({box("mvhd", zeros(100)), extraMoov, tracks})
                                                  : cat({box("mvhd", zeros(100)), tracks, extraMoov}));
        Bytes mdat = videoData;
        for (const Bytes& s : samples)
            mdat.insert(mdat.end(), s.begin(), s.end());
        return cat({ftyp(), moov, box("mdat", mdat)});
    };
    // The offsets only change values, not sizes: build once to learn where the samples start,
    // at the end of "mdat", which ends the file.
    const Bytes draft = build(std::vector<uint32_t>(samples.size(), 0));
    uint32_t offset = uint32_t(draft.size());
    for (const Bytes& s : samples)
        offset -= uint32_t(s.size());
    std::vector<uint32_t> offsets;
    for (const Bytes& s : samples) {
        offsets.push_back(offset);
        offset += uint32_t(s.size());
    }
    return build(offsets);
}

// A recording with a video track of frames frames and the given boxes ("GPSR", "SENS", ...)
// in "moov"/"udta" after the track.
inline Bytes movieOldFile(uint32_t frames, const Bytes& udtaBoxes) {
    return cat({ftyp(),
                box("moov", cat({box("mvhd", zeros(100)), videoTrak(frames), box("udta", udtaBoxes)})),
                box("mdat", zeros(64))});
}

// A temporary folder removed with everything in it when the object goes.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kavrin-mp4-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // Writes bytes to a file named name in the folder and returns its path.
    std::string write(const std::string& name, const Bytes& bytes) const {
        const std::filesystem::path file = m_path / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return file.string();
    }

private:
    std::filesystem::path m_path;
};

} // namespace mp4

// Comparison of parsed records with expected ones, whole, printing both on a mismatch.

#include "metadata/ISimpleParser.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace mp4 {

inline std::string describe(const GpsRecord& r) {
    std::ostringstream out;
    out << "{status " << int(r.status) << ", isRmc " << r.isRmc << ", latHemisphere " << int(r.latHemisphere)
        << ", lngHemisphere " << int(r.lngHemisphere) << ", latitude " << r.latitude << ", longitude "
        << r.longitude << ", speed " << r.speed << ", course " << r.course << "}";
    return out.str();
}

inline std::string describe(const SensorRecord& s) {
    std::ostringstream out;
    out << "{" << s.x << ", " << s.y << ", " << s.z << "}";
    return out.str();
}

inline bool near(double a, double b) {
    return std::fabs(a - b) <= 1e-6 * std::max(1.0, std::fabs(b));
}

inline ::testing::AssertionResult sameGps(const GpsRecord& actual, const GpsRecord& expected) {
    if (actual.status == expected.status && actual.isRmc == expected.isRmc &&
        actual.latHemisphere == expected.latHemisphere && actual.lngHemisphere == expected.lngHemisphere &&
        near(actual.latitude, expected.latitude) && near(actual.longitude, expected.longitude) &&
        near(actual.speed, expected.speed) && near(actual.course, expected.course))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got " << describe(actual) << "\n   expected " << describe(expected);
}

inline ::testing::AssertionResult sameSensor(const SensorRecord& actual, const SensorRecord& expected) {
    if (near(actual.x, expected.x) && near(actual.y, expected.y) && near(actual.z, expected.z))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << describe(actual) << ", expected " << describe(expected);
}

} // namespace mp4
