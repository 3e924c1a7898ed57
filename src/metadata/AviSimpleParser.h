#pragma once

#include "metadata/ISimpleParser.h"

#include <vector>

// Parser of ".avi" recordings: every packet of the file's first data stream is
// one 68-byte metadata packet and becomes one GPS record and one G-sensor
// sample. The position and speed are kept as the packet holds them (the
// position may be in NMEA ddmm.mmmm form).
class AviSimpleParser : public ISimpleParser {
public:
    explicit AviSimpleParser(bool firstPacketBreak);
    ~AviSimpleParser() override;

    // -1 when the path does not end in ".avi" or the file cannot be opened, else 0.
    long Parse(const char* path) override;
    long Clear() override;

private:
    // Appends the record and the sample of one packet; false when the packet is too short.
    bool AppendPacket(const unsigned char* data, int size);
    // Moves the lists into the member arrays and counts.
    void StoreLists();

    std::vector<GpsRecord> m_gpsList;
    std::vector<SensorRecord> m_sensorList;
};
