#pragma once

#include "metadata/ISimpleParser.h"

#include <cstddef>
#include <memory>

class BoundedFile;
struct Mp4Box;

// Parser of MP4 recordings that keep their metadata in two boxes of their own: "GPSR", a run
// of length-prefixed NMEA sentences, and "SENS", a run of little-endian float x, y, z triples.
class CMovieOldParser : public ISimpleParser {
public:
    static constexpr size_t kBufferSize = 1048576;

    explicit CMovieOldParser(bool firstPacketBreak);
    ~CMovieOldParser() override;

    // Walks the box tree and decodes "GPSR" and "SENS" (only the first entry with
    // m_bFirstPacketBreak); always returns 0, the result is in the members.
    long Parse(const char* path) override;
    long Clear() override;

private:
    void OnBox(BoundedFile& file, Mp4Box& box, bool& video);
    void ReadGpsBox(BoundedFile& file, const Mp4Box& box);
    void ReadSensorBox(BoundedFile& file, const Mp4Box& box);
    void DecodeSentence(GpsRecord& record, const unsigned char* text, size_t length);
    // Gives the sample array at least m_nGpsData entries, the added ones zero.
    void PadSensorData();

    std::unique_ptr<unsigned char[]> m_buffer;
    int m_nDecodedGps = 0;    // GPS entries decoded, the number of samples "SENS" yields
    int m_nSensorSamples = 0; // entries of m_pSensorData
};
