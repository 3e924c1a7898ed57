#include "metadata/CMovieOldParser.h"

#include "metadata/BoundedFile.h"
#include "metadata/Mp4BoxWalker.h"
#include "metadata/NmeaFields.h"
#include "metadata/ParserOutput.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

int32_t readLE32(const unsigned char* b) {
    return static_cast<int32_t>(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) |
                                (uint32_t(b[3]) << 24));
}

float readLEFloat(const unsigned char* b) {
    const uint32_t bits = static_cast<uint32_t>(readLE32(b));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Reads the bytes after a box's 8-byte header into a new zero-filled buffer of size bytes.
// The size is bounded by the file; a box that runs past the end of the file, or a read that
// comes up short, leaves the buffer all zeros.
unsigned char* readPayload(BoundedFile& file, const Mp4Box& box, int& size) {
    size = 0;
    if (box.size <= 8)
        return nullptr;
    const uint64_t declared = std::min<uint64_t>(box.size - 8, INT_MAX);
    const uint64_t available = file.Available(box.start + 8, declared);
    if (available == 0)
        return nullptr;
    size = static_cast<int>(available);
    auto* payload = new unsigned char[available]();
    const size_t got = file.ReadAt(box.start + 8, payload, static_cast<size_t>(available));
    if (available < declared || got != available)
        std::memset(payload, 0, static_cast<size_t>(available));
    return payload;
}

// Walks the entries of a "GPSR" payload: 4 bytes not read, a little-endian length L, L bytes
// of text. The walk ends at the first entry whose head or text would run past the payload.
template <typename Visit> int forEachGpsEntry(const unsigned char* payload, int size, Visit&& visit) {
    int count = 0;
    int64_t offset = 0;
    while (size - offset >= 8) {
        const int32_t length = readLE32(payload + offset + 4);
        if (length < 0 || length > size - offset - 8)
            break;
        if (!visit(count, payload + offset + 8, static_cast<size_t>(length)))
            break;
        ++count;
        offset += 8 + static_cast<int64_t>(length);
    }
    return count;
}

} // namespace

CMovieOldParser::CMovieOldParser(bool firstPacketBreak)
    : ISimpleParser(firstPacketBreak),
      m_buffer(std::make_unique_for_overwrite<unsigned char[]>(kBufferSize)) {}

CMovieOldParser::~CMovieOldParser() {
    CMovieOldParser::Clear();
}

long CMovieOldParser::Clear() {
    ReleaseMembers();
    m_nDecodedGps = 0;
    m_nSensorSamples = 0;
    return 0;
}

long CMovieOldParser::Parse(const char* path) {
    BoundedFile file;
    if (!file.Open(path))
        return 0;
    bool video = false;
    Mp4BoxWalker walker(file, {"ftyp", "free", "mdat", "moov", "trak", "mdia", "minf", "stbl", "udta", "udat",
                               "uuid", "mvhd", "tkhd", "mdhd", "hdlr", "vmhd", "smhd", "dinf", "stsd", "stts",
                               "stss", "stsc", "stsz", "stco", "ctts", "edts", "iods", "junk", "wide", "ddap",
                               "pnot", "dumm", "ENCY", "GPSI", "GPSR", "PICT", "SENS", "TIME", "AIDD"});
    walker.Walk([&](Mp4Box& box) { OnBox(file, box, video); });
    PadSensorData();
    return 0;
}

void CMovieOldParser::OnBox(BoundedFile& file, Mp4Box& box, bool& video) {
    if (box.Is("hdlr")) {
        char handler[4] = {};
        video = box.Holds(16, 4) && file.ReadExactAt(box.start + 16, handler, 4) &&
                std::memcmp(handler, "vide", 4) == 0;
        box.resumeAt = box.End();
    } else if (box.Is("trak")) {
        video = false;
    } else if (box.Is("stsz")) {
        if (video) {
            uint32_t frames = 0;
            if (box.Holds(16, 4) && file.ReadBE32At(box.start + 16, frames)) {
                m_nFrameCount = static_cast<int>(frames);
                ParserOutput::printf("frame_count = %lu\n", static_cast<unsigned long>(frames));
            }
            box.resumeAt = box.End();
        }
    } else if (box.Is("TIME")) {
        ParserOutput::puts("= TIME_ATOM =");
    } else if (box.Is("ENCY")) {
        ParserOutput::puts("= ENCY_ATOM =");
    } else if (box.Is("GPSR")) {
        ReadGpsBox(file, box);
    } else if (box.Is("SENS")) {
        ReadSensorBox(file, box);
    }
}

void CMovieOldParser::ReadGpsBox(BoundedFile& file, const Mp4Box& box) {
    // A later "GPSR" box replaces an earlier one.
    delete[] m_pGpsRaw;
    delete[] m_pGpsData;
    m_pGpsData = nullptr;
    m_nGpsData = 0;
    m_nDecodedGps = 0;
    m_pGpsRaw = readPayload(file, box, m_nGpsRaw);
    if (m_pGpsRaw == nullptr)
        return;

    const int count =
        forEachGpsEntry(m_pGpsRaw, m_nGpsRaw, [](int, const unsigned char*, size_t) { return true; });
    if (count == 0)
        return;
    m_pGpsData = new GpsRecord[count]();
    m_nGpsData = count;
    m_nDecodedGps =
        forEachGpsEntry(m_pGpsRaw, m_nGpsRaw, [&](int index, const unsigned char* text, size_t length) {
            if (index > 0 && m_bFirstPacketBreak)
                return false;
            DecodeSentence(m_pGpsData[index], text, length);
            return true;
        });
}

void CMovieOldParser::ReadSensorBox(BoundedFile& file, const Mp4Box& box) {
    delete[] m_pSensorRaw;
    delete[] m_pSensorData;
    m_pSensorData = nullptr;
    m_nSensorSamples = 0;
    m_pSensorRaw = readPayload(file, box, m_nSensorData);
    ParserOutput::printf("SENS_ATOM m_nSensorData=%d\n", m_nSensorData);
    ParserOutput::printf("nGPSDataNum : %d\n", m_nDecodedGps);
    // One sample per GPS entry decoded so far: none when no "GPSR" box came first.
    if (m_nDecodedGps <= 0)
        return;
    m_pSensorData = new SensorRecord[m_nDecodedGps]();
    m_nSensorSamples = m_nDecodedGps;
    const int triples = std::min(m_nDecodedGps, m_nSensorData / 12);
    for (int i = 0; i < triples; ++i) {
        const unsigned char* b = m_pSensorRaw + static_cast<size_t>(i) * 12;
        m_pSensorData[i] = SensorRecord{readLEFloat(b), readLEFloat(b + 4), readLEFloat(b + 8)};
    }
}

void CMovieOldParser::PadSensorData() {
    if (m_pSensorData == nullptr || m_nSensorSamples >= m_nGpsData)
        return;
    auto* padded = new SensorRecord[m_nGpsData]();
    std::copy(m_pSensorData, m_pSensorData + m_nSensorSamples, padded);
    delete[] m_pSensorData;
    m_pSensorData = padded;
    m_nSensorSamples = m_nGpsData;
}

void CMovieOldParser::DecodeSentence(GpsRecord& record, const unsigned char* text, size_t length) {
    const size_t copied = std::min(length, kBufferSize - 1);
    std::memcpy(m_buffer.get(), text, copied);
    m_buffer[copied] = 0;
    const std::string sentence(reinterpret_cast<const char*>(m_buffer.get()));

    // Commas separate the fields; runs of commas count as one, so empty fields shift the numbers.
    size_t pos = 0;
    for (int number = 1;; ++number) {
        pos = sentence.find_first_not_of(',', pos);
        if (pos == std::string::npos)
            return;
        const size_t end = std::min(sentence.find(',', pos), sentence.size());
        const std::string token = sentence.substr(pos, end - pos);
        pos = end;
        const char* t = token.c_str();
        switch (number) {
        case 1:
            record.isRmc = NmeaIsRmc(t);
            break;
        case 3:
            record.status = t[0];
            break;
        case 4:
            record.latitude = NmeaCoordinate(t, 2);
            break;
        case 5:
            record.latHemisphere = t[0];
            if (t[0] == 'S' || t[0] == 's')
                record.latitude = -record.latitude;
            break;
        case 6:
            record.longitude = NmeaCoordinate(t, 3);
            break;
        case 7:
            record.lngHemisphere = t[0];
            if (t[0] == 'W' || t[0] == 'w')
                record.longitude = -record.longitude;
            break;
        case 8:
            record.speed = NmeaSpeedKmh(t);
            break;
        case 9:
            record.course = std::atof(t);
            return;
        default:
            break;
        }
    }
}
