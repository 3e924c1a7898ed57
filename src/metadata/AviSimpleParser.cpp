#include "metadata/AviSimpleParser.h"

#include "metadata/AvInput.h"
#include "metadata/AvPacket.h"
#include "metadata/ParserOutput.h"
#include "metadata/VideoPacketDecoder.h"

#include <bit>
#include <climits>
#include <cstdio>
#include <cstring>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

// Bytes per record in the "nTotalBytes" diagnostic.
constexpr int kRecordBytes = 56;
// Keeps the record count, and that diagnostic, within an int.
constexpr std::size_t kMaxRecords = INT_MAX / kRecordBytes;

float floatAt(const unsigned char* data, std::size_t offset) {
    const uint32_t bits = uint32_t(data[offset]) | uint32_t(data[offset + 1]) << 8 |
                          uint32_t(data[offset + 2]) << 16 | uint32_t(data[offset + 3]) << 24;
    return std::bit_cast<float>(bits);
}

bool hasAviExtension(const char* path) {
    const std::size_t length = std::strlen(path);
    return length >= 4 && std::strcmp(path + length - 4, ".avi") == 0;
}

} // namespace

AviSimpleParser::AviSimpleParser(bool firstPacketBreak) : ISimpleParser(firstPacketBreak) {}

AviSimpleParser::~AviSimpleParser() {
    Clear();
}

long AviSimpleParser::Clear() {
    ReleaseMembers();
    m_gpsList.clear();
    m_sensorList.clear();
    return 0;
}

bool AviSimpleParser::AppendPacket(const unsigned char* data, int size) {
    if (data == nullptr || size < 0 || std::size_t(size) < kVideoPacketSize)
        return false;
    m_sensorList.push_back({floatAt(data, 40), floatAt(data, 44), floatAt(data, 48)});
    GpsRecord record{};
    record.speed = floatAt(data, 56);
    record.latitude = floatAt(data, 60);
    record.longitude = floatAt(data, 64);
    m_gpsList.push_back(record);
    return true;
}

void AviSimpleParser::StoreLists() {
    delete[] m_pSensorData;
    delete[] m_pGpsData;
    m_pSensorData = nullptr;
    m_pGpsData = nullptr;

    m_nSensorData = int(m_sensorList.size());
    if (!m_sensorList.empty()) {
        m_pSensorData = new SensorRecord[m_sensorList.size()]();
        std::memcpy(m_pSensorData, m_sensorList.data(), m_sensorList.size() * sizeof(SensorRecord));
    }
    m_nGpsData = m_nFrameCount = int(m_gpsList.size());
    if (!m_gpsList.empty()) {
        m_pGpsData = new GpsRecord[m_gpsList.size()]();
        std::copy(m_gpsList.begin(), m_gpsList.end(), m_pGpsData);
    }
    ParserOutput::printf("nTotalBytes = %d\n", m_nGpsData * kRecordBytes);
}

long AviSimpleParser::Parse(const char* path) {
    if (path == nullptr || !hasAviExtension(path))
        return -1;

    AvInput input;
    if (!input.open(path)) {
        ParserOutput::puts("AviSimpleParser::Parse - fail");
        return -1;
    }
    // The probe decodes frames of every stream, which costs more than the whole data stream;
    // only the stream types matter here, so it runs only when the header leaves one open.
    if (!input.streamTypesKnown())
        input.findStreamInfo();

    m_gpsList.clear();
    m_sensorList.clear();
    const int dataStream = input.dataStreamIndex();
    if (dataStream >= 0) {
        AvPacket packet;
        while (packet.valid() && av_read_frame(input.context(), packet.get()) >= 0) {
            const bool ours = packet->stream_index == dataStream;
            // A packet shorter than the layout holds no sample and is passed over.
            const bool appended = ours && AppendPacket(packet->data, packet->size);
            av_packet_unref(packet.get());
            if (appended && (m_bFirstPacketBreak || m_gpsList.size() >= kMaxRecords))
                break;
        }
    }
    StoreLists();
    m_gpsList.clear();
    m_sensorList.clear();
    return 0;
}
