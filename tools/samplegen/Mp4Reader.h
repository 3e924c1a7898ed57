// Reads the tracks of an MP4 file made by the ffmpeg executable: sample tables, sample
// descriptions and the whole file's bytes, so that its samples can be copied elsewhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace samplegen {

struct Mp4Sample {
    std::uint64_t offset = 0; // in the source file
    std::uint32_t size = 0;
    std::uint32_t duration = 0; // in the track's timescale
    std::uint64_t decodeTime = 0;
    std::int32_t compositionOffset = 0;
    bool sync = true;
};

struct Mp4Track {
    std::string handler; // "vide", "soun", ...
    std::uint32_t timescale = 0;
    std::uint16_t language = 0x55C4; // packed ISO-639-2 ("und")
    std::uint32_t width = 0;         // 16.16 fixed point, from "tkhd"
    std::uint32_t height = 0;
    std::vector<std::uint8_t> stsd; // the whole sample-description box
    bool hasSyncTable = false;      // an "stss" box was present
    bool hasCompositionOffsets = false;
    std::vector<Mp4Sample> samples;
};

class Mp4Reader {
public:
    // Reads path; throws SampleGenError when it is not a readable MP4 with sample tables.
    explicit Mp4Reader(const std::string& path);

    const std::vector<std::uint8_t>& data() const { return m_data; }
    const std::vector<Mp4Track>& tracks() const { return m_tracks; }
    // The first track with the given handler type, or nullptr.
    const Mp4Track* track(const std::string& handler) const;

private:
    void walk(std::size_t begin, std::size_t end, int depth, Mp4Track* current);
    void readSampleTable(std::size_t begin, std::size_t end, Mp4Track& track);

    std::string m_path;
    std::vector<std::uint8_t> m_data;
    std::vector<Mp4Track> m_tracks;
};

} // namespace samplegen
