// Helpers of the generator's tests: a scratch folder, child processes, and readers that take the
// generated files apart the way the player's parsers do (box walk, data samples, AVI packets).
#pragma once

#include "samplegen/SampleGen.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace samplegen::test {

// A fresh folder removed at destruction.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Runs a shell command; returns its exit status and (optionally) its standard output.
int run(const std::string& command, std::string* output = nullptr);
std::string shellQuoted(const std::string& text);

// ffprobe's codec_type,codec_name per stream, e.g. {"video,h264", "audio,aac", "data,unknown"}.
std::vector<std::string> probeStreams(const std::string& path);

struct WalkedBox {
    std::string type;
    std::uint64_t start;
    std::uint64_t size;
};

// The box walk of the MP4 metadata parsers: top-level boxes in order, descending into moov, trak,
// mdia, minf, stbl, udta and udat, stopping at the first type not in `known`.
// stoppedAt is set to the unknown type that ended the walk ("" when it reached the end).
std::vector<WalkedBox> walkBoxes(const std::string& path, const std::vector<std::string>& known,
                                 std::string* stoppedAt);
const std::vector<std::string>& dataTrackWalkTypes(); // the 42 types of the data-track parser
const std::vector<std::string>& boxWalkTypes();       // the 39 types of the "GPSR"/"SENS" parser

struct ReadRecord {
    bool isRmc = false;
    char status = 0;
    double lat = 0, lng = 0, speed = 0, course = 0;
    float x = 0, y = 0, z = 0;
};

// The data-track samples (the track after "nmhd"), decoded by the data-sample rules.
std::vector<ReadRecord> readDataTrack(const std::string& path, int* frameCount);
// The "GPSR" entries and "SENS" triples.
std::vector<ReadRecord> readBoxes(const std::string& path, int* frameCount);
// The 68-byte packets of the first data stream, through libavformat; raw floats.
std::vector<ReadRecord> readAviPackets(const std::string& path, std::vector<std::uint32_t>* directionWords);

// Distance in metres between two positions in decimal degrees.
double metres(double lat1, double lng1, double lat2, double lng2);

} // namespace samplegen::test
