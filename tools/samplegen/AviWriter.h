// Writes an AVI recording through libavformat: the video (one or two streams) and sound of
// AVI source clips, and a data stream carrying one 68-byte metadata packet per sample.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace samplegen {

class AviWriter {
public:
    // sources: AVI clips; the first gives a video stream and (with audio) the sound, each
    // further one a video stream. seconds cuts every stream to that length.
    AviWriter(std::vector<std::string> sources, bool audio, double seconds);

    void setPackets(std::vector<std::vector<std::uint8_t>> packets, double samplesPerSecond);

    // Throws SampleGenError.
    void write(const std::string& path) const;

    // FFmpeg's AVI muxer gives a data stream ("dats") no format chunk, and its demuxer then
    // calls the stream's type unknown: turn the start of the JUNK chunk that follows such a
    // stream header into an empty "strf" chunk (no offset moves). Returns the streams fixed.
    static int addDataFormatChunks(const std::string& path);

private:
    std::vector<std::string> m_sources;
    bool m_audio;
    double m_seconds;
    std::vector<std::vector<std::uint8_t>> m_packets;
    double m_samplesPerSecond = 1;
};

} // namespace samplegen
