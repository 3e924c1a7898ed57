#pragma once

#include <cstdint>

// One GPS fix, host byte order. A zero-filled record means "no sentence read".
struct GpsRecord {
    char status;        // RMC fix status ('A' valid), 0 when no sentence was read
    bool isRmc;         // the sentence was "$GPRMC" or "$GNRMC"
    char latHemisphere; // N/S character (GPSR boxes only)
    char lngHemisphere; // E/W character (GPSR boxes only)
    double latitude;    // decimal degrees, negative south (AVI: as stored in the packet)
    double longitude;   // decimal degrees, negative west (AVI: as stored in the packet)
    double speed;       // km/h for MP4 recordings, raw packet value for AVI
    double course;      // degrees over ground (GPSR boxes only)
};

// One G-sensor sample; arrays of them are plain sequences of 12-byte triples.
struct SensorRecord {
    float x;
    float y;
    float z;
};

static_assert(sizeof(SensorRecord) == 12, "SensorRecord must be a packed float triple");

// Abstract container parser. Arrays and raw buffers are owned by the parser, allocated with
// new[] (value-initialised, i.e. zero-filled) and released with delete[] by Clear().
class ISimpleParser {
public:
    explicit ISimpleParser(bool firstPacketBreak) : m_bFirstPacketBreak(firstPacketBreak) {}
    ISimpleParser(const ISimpleParser&) = delete;
    ISimpleParser& operator=(const ISimpleParser&) = delete;
    virtual ~ISimpleParser() = default;

    // Parses the file at path into the arrays and counts; the base version does nothing.
    virtual long Parse(const char* path) {
        (void)path;
        return 0;
    }
    // Releases every array and raw buffer and zeroes every count; the base version does nothing.
    virtual long Clear() { return 0; }

    bool m_bFirstPacketBreak = false;
    int m_nFrameCount = 0;
    unsigned char* m_pGpsRaw = nullptr;
    int m_nGpsRaw = 0;
    int m_nGpsData = 0;
    GpsRecord* m_pGpsData = nullptr;
    unsigned char* m_pSensorRaw = nullptr;
    int m_nSensorData = 0;
    SensorRecord* m_pSensorData = nullptr;

protected:
    // Frees the members' arrays (delete[]) and zeroes the pointers and counts; for Clear() overrides.
    void ReleaseMembers() {
        delete[] m_pGpsRaw;
        delete[] m_pGpsData;
        delete[] m_pSensorRaw;
        delete[] m_pSensorData;
        m_pGpsRaw = nullptr;
        m_pGpsData = nullptr;
        m_pSensorRaw = nullptr;
        m_pSensorData = nullptr;
        m_nFrameCount = 0;
        m_nGpsRaw = 0;
        m_nGpsData = 0;
        m_nSensorData = 0;
    }
};
