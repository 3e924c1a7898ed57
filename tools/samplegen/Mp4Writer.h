// Writes an MP4 recording box by box: "ftyp", "moov" (video and sound tracks copied from a source
// clip, and for the data-track layout a track of metadata samples), the "GPSR" and "SENS" boxes
// for the box layout, and "mdat" last. Only box types a camera writes appear, so a plain box
// walk reaches the metadata.
#pragma once

#include "Mp4Reader.h"
#include "SampleGen.h"

#include <string>
#include <vector>

namespace samplegen {

class Mp4Writer {
public:
    // video is required; audio may be null. seconds cuts both to that length.
    Mp4Writer(const Mp4Reader& source, const Mp4Track* video, const Mp4Track* audio, double seconds);

    // The data-track layout: one sample per chunk, all after the sound and video data.
    void setDataSamples(std::vector<std::string> samples, double samplesPerSecond);
    // The box layout: the payloads of "GPSR" and "SENS".
    void setBoxes(std::vector<std::uint8_t> gpsr, std::vector<std::uint8_t> sens);
    void setCreationTime(std::time_t localTime) { m_creationTime = localTime; }

    // Throws SampleGenError.
    void write(const std::string& path) const;

private:
    struct TrackPlan {
        const Mp4Track* source = nullptr; // null for the data track
        std::size_t sampleCount = 0;
        std::vector<std::uint64_t> chunkOffsets; // relative to the mdat payload
        std::vector<std::uint32_t> chunkSampleCounts;
    };

    std::vector<std::uint8_t> buildMoov(const std::vector<TrackPlan>& plans, std::uint64_t base) const;
    void writeTrack(class ByteWriter& w, const TrackPlan& plan, std::uint32_t trackId,
                    std::uint64_t base) const;
    std::uint64_t trackDurationMs(const TrackPlan& plan) const;

    const Mp4Reader& m_source;
    const Mp4Track* m_video;
    const Mp4Track* m_audio;
    double m_seconds;
    std::vector<std::string> m_dataSamples;
    double m_samplesPerSecond = 1;
    std::vector<std::uint8_t> m_gpsr;
    std::vector<std::uint8_t> m_sens;
    bool m_hasBoxes = false;
    std::time_t m_creationTime = 0;
};

} // namespace samplegen
