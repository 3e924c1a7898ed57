#pragma once

#include "metadata/ISimpleParser.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class BoundedFile;
struct Mp4Box;

// Parser of MP4 recordings that carry their metadata as a data track: every sample of the
// track holds one G-sensor reading as text and one NMEA RMC sentence.
class AmbaParser : public ISimpleParser {
public:
    static constexpr size_t kBufferSize = 1048576;

    explicit AmbaParser(bool firstPacketBreak);
    ~AmbaParser() override;

    // Walks the box tree and decodes the data samples (only the first with m_bFirstPacketBreak);
    // always returns 0, the result is in the members.
    long Parse(const char* path) override;
    // Releases the parsed arrays and empties the sample table.
    long Clear() override;
    // Decodes one data sample of size bytes into sensor sample index and GPS record index.
    void ParsingPacketData(int index, const unsigned char* sample, size_t size);

private:
    struct WalkState;

    void OnBox(BoundedFile& file, Mp4Box& box, WalkState& state);
    void ReadSampleSizes(BoundedFile& file, const Mp4Box& box);
    void ReadSamples(BoundedFile& file, Mp4Box& box, WalkState& state);
    void DecodeSentence(GpsRecord& record, const char* sentence, size_t length);
    void ReleaseArrays();
    void ClearSampleTable();

    std::unique_ptr<unsigned char[]> m_buffer;
    // The data track's sample table, one sample per chunk; each parser keeps its own.
    int m_sampleCount = 0;
    std::vector<uint32_t> m_sampleSizes;
    std::vector<uint32_t> m_chunkOffsets;
};
