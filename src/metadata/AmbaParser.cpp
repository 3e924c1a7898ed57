#include "metadata/AmbaParser.h"

#include "metadata/BoundedFile.h"
#include "metadata/Mp4BoxWalker.h"
#include "metadata/NmeaFields.h"
#include "metadata/ParserOutput.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

namespace {

// Upper bound of the data samples of one track, so that the arrays sized by it stay addressable.
constexpr int kMaxSamples = INT_MAX / 64;

// One accelerometer component: kept when its whole part is within +-14, else the marker 99.
float axisValue(const std::string& token) {
    const double value = std::atof(token.c_str());
    if (!(std::fabs(value) < 1e30))
        return 99.0f;
    const float narrowed = static_cast<float>(value);
    return std::fabs(std::trunc(narrowed)) < 15.0f ? narrowed : 99.0f;
}

// The text up to its first NUL, as a C string would read it.
std::string cString(const unsigned char* bytes, size_t length) {
    const char* text = reinterpret_cast<const char*>(bytes);
    return std::string(text, strnlen(text, length));
}

} // namespace

struct AmbaParser::WalkState {
    bool video = false;        // the current track is a video track
    bool data = false;         // a null media header has been seen
    uint64_t sampleVisits = 0; // samples still to be looked at in this parse
    uint64_t sampleBytes = 0;  // sample bytes still to be read in this parse
};

AmbaParser::AmbaParser(bool firstPacketBreak)
    : ISimpleParser(firstPacketBreak),
      m_buffer(std::make_unique_for_overwrite<unsigned char[]>(kBufferSize)) {}

AmbaParser::~AmbaParser() {
    AmbaParser::Clear();
}

long AmbaParser::Clear() {
    ReleaseMembers();
    ClearSampleTable();
    return 0;
}

void AmbaParser::ReleaseArrays() {
    const int frames = m_nFrameCount;
    ReleaseMembers();
    m_nFrameCount = frames;
}

void AmbaParser::ClearSampleTable() {
    m_sampleCount = 0;
    m_sampleSizes.clear();
    m_sampleSizes.shrink_to_fit();
    m_chunkOffsets.clear();
    m_chunkOffsets.shrink_to_fit();
}

long AmbaParser::Parse(const char* path) {
    BoundedFile file;
    if (!file.Open(path))
        return 0;
    // Samples of one track are disjoint parts of the file: together they can neither be more
    // than a quarter of its bytes in number (each needs a 4-byte size entry) nor larger than it.
    WalkState state;
    state.sampleVisits = file.Size() / 4 + 1;
    state.sampleBytes = file.Size();

    Mp4BoxWalker walker(file, {"ftyp", "free", "mdat", "moov", "trak", "mdia", "minf", "stbl", "udta",
                               "udat", "uuid", "mvhd", "tkhd", "mdhd", "hdlr", "vmhd", "smhd", "nmhd",
                               "dinf", "stsd", "stts", "stss", "stsc", "stsz", "stco", "ctts", "edts",
                               "iods", "junk", "wide", "ddap", "pnot", "sdtp", "mp4s", "dumm", "AMBA",
                               "ENCY", "GPSI", "GPSR", "PICT", "SENS", "TIME"});
    walker.Walk([&](Mp4Box& box) { OnBox(file, box, state); });
    return 0;
}

void AmbaParser::OnBox(BoundedFile& file, Mp4Box& box, WalkState& state) {
    if (box.Is("hdlr")) {
        char handler[4] = {};
        state.video = box.Holds(16, 4) && file.ReadExactAt(box.start + 16, handler, 4) &&
                      std::memcmp(handler, "vide", 4) == 0;
        box.resumeAt = box.End();
    } else if (box.Is("nmhd")) {
        state.data = true;
    } else if (box.Is("trak")) {
        state.video = false;
    } else if (box.Is("stsz")) {
        if (state.video) {
            uint32_t frames = 0;
            if (box.Holds(16, 4) && file.ReadBE32At(box.start + 16, frames)) {
                m_nFrameCount = static_cast<int>(frames);
                ParserOutput::printf("frame_count = %d\n", m_nFrameCount);
            }
            box.resumeAt = box.End();
        }
        if (state.data) {
            ReadSampleSizes(file, box);
            box.resumeAt = box.End();
        }
    } else if (box.Is("stco")) {
        if (state.data && m_sampleCount > 0)
            ReadSamples(file, box, state);
    }
}

void AmbaParser::ReadSampleSizes(BoundedFile& file, const Mp4Box& box) {
    uint32_t declared = 0;
    if (!box.Holds(16, 4) || !file.ReadBE32At(box.start + 16, declared)) {
        ParserOutput::printf("fseek(%ld) fail\n", static_cast<long>(box.start + 16));
        return;
    }
    ClearSampleTable();
    m_nFrameCount = static_cast<int>(declared);
    if (m_nFrameCount <= 0)
        return;
    // The box's sample size field (after its version and flags): when it is not
    // 0, every sample has that size and the box holds no table of sizes.
    uint32_t constantSize = 0;
    if (box.Holds(12, 4) && file.ReadBE32At(box.start + 12, constantSize) && constantSize != 0) {
        // Samples are disjoint parts of the file: no more of them than fit in it.
        const uint64_t count =
            std::min<uint64_t>({static_cast<uint64_t>(m_nFrameCount), file.Size() / constantSize,
                                static_cast<uint64_t>(kMaxSamples)});
        m_sampleCount = static_cast<int>(count);
        m_sampleSizes.assign(count, constantSize);
        return;
    }
    // Only the size entries the box really holds make samples.
    const uint64_t inBox = box.size >= 20 ? (box.size - 20) / 4 : 0;
    const uint64_t inFile = file.Available(box.start + 20, inBox * 4) / 4;
    const uint64_t count = std::min<uint64_t>(
        {static_cast<uint64_t>(m_nFrameCount), inFile, static_cast<uint64_t>(kMaxSamples)});
    m_sampleCount = static_cast<int>(count);
    m_sampleSizes.assign(count, 0);
    std::vector<unsigned char> raw(count * 4);
    const size_t got = file.ReadAt(box.start + 20, raw.data(), raw.size());
    for (size_t i = 0; i < got / 4; ++i) {
        const unsigned char* b = raw.data() + i * 4;
        m_sampleSizes[i] = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    }
}

void AmbaParser::ReadSamples(BoundedFile& file, Mp4Box& box, WalkState& state) {
    m_chunkOffsets.clear();
    if (!box.Holds(16, 0) || box.start + 16 > file.Size()) {
        ParserOutput::printf("fseek(%ld) fail\n", static_cast<long>(box.start));
    } else {
        // The box's own entry count is not trusted: its remaining bytes are the offsets.
        const uint64_t inBox = (box.size - 16) / 4;
        const uint64_t wanted = std::min<uint64_t>(inBox, static_cast<uint64_t>(m_sampleCount));
        std::vector<unsigned char> raw(file.Available(box.start + 16, wanted * 4));
        const size_t got = file.ReadAt(box.start + 16, raw.data(), raw.size());
        m_chunkOffsets.resize(got / 4);
        for (size_t i = 0; i < m_chunkOffsets.size(); ++i) {
            const unsigned char* b = raw.data() + i * 4;
            m_chunkOffsets[i] =
                (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
        }
    }

    // A later chunk-offset box replaces what an earlier one produced.
    ReleaseArrays();
    const int count = m_sampleCount;
    m_pSensorRaw = new unsigned char[static_cast<size_t>(count) * 12]();
    m_nSensorData = count * 12;
    m_pSensorData = new SensorRecord[count]();
    m_pGpsRaw = new unsigned char[count]();
    m_nGpsRaw = count;
    m_pGpsData = new GpsRecord[count]();
    m_nGpsData = count;

    uint64_t readEnd = Mp4Box::kNoResume;
    for (int i = 0; i < count; ++i) {
        if (state.sampleVisits == 0)
            break;
        --state.sampleVisits;
        if (static_cast<size_t>(i) < m_chunkOffsets.size()) {
            const uint64_t offset = m_chunkOffsets[i];
            if (offset >= file.Size()) {
                ParserOutput::printf("fseek(%ld) fail\n", static_cast<long>(offset));
            } else {
                const uint64_t wanted =
                    std::min<uint64_t>({m_sampleSizes[i], kBufferSize, state.sampleBytes});
                const size_t got = file.ReadAt(offset, m_buffer.get(), static_cast<size_t>(wanted));
                state.sampleBytes -= got;
                readEnd = offset + got;
                ParsingPacketData(i, m_buffer.get(), got);
            }
        }
        if (m_bFirstPacketBreak)
            break;
    }
    // The walk goes on where the last sample read ended.
    box.resumeAt = readEnd != Mp4Box::kNoResume ? readEnd : box.End();
}

void AmbaParser::ParsingPacketData(int index, const unsigned char* sample, size_t size) {
    if (index < 0 || index >= m_nGpsData || m_pGpsData == nullptr || m_pSensorData == nullptr)
        return;
    if (sample == nullptr || size < 5 || sample[0] != 0xFD || sample[1] != 0x10 || sample[3] != 'G')
        return;
    const size_t accLength = sample[4];
    if (5 + accLength > size)
        return;

    ParserOutput::trace("tokens : %s\n", cString(sample, size).c_str());
    const std::string acc = cString(sample + 5, accLength);
    ParserOutput::trace("acc_data : %s\n", acc.c_str());

    // Commas separate x, y and z; runs of commas count as one.
    float axes[3] = {99.0f, 99.0f, 99.0f};
    size_t axis = 0;
    size_t pos = 0;
    while (axis < 3 && pos < acc.size()) {
        if (acc[pos] == ',') {
            ++pos;
            continue;
        }
        const size_t end = std::min(acc.find(',', pos), acc.size());
        axes[axis++] = axisValue(acc.substr(pos, end - pos));
        pos = end;
    }
    m_pSensorData[index] = SensorRecord{axes[0], axes[1], axes[2]};

    const size_t gpsTag = 5 + accLength;
    if (gpsTag + 1 >= size || sample[gpsTag] != 'g')
        return;
    const size_t nmeaLength = sample[gpsTag + 1];
    if (gpsTag + 2 + nmeaLength > size)
        return;
    DecodeSentence(m_pGpsData[index], reinterpret_cast<const char*>(sample + gpsTag + 2), nmeaLength);
}

void AmbaParser::DecodeSentence(GpsRecord& record, const char* sentence, size_t length) {
    const std::string text(sentence, strnlen(sentence, length));
    size_t pos = text.find_first_not_of(',');
    if (pos == std::string::npos)
        return;
    // Takes the field at pos and moves past its closing comma.
    auto takeField = [&]() {
        const size_t end = std::min(text.find(',', pos), text.size());
        std::string field = text.substr(pos, end - pos);
        pos = end < text.size() ? end + 1 : end;
        return field;
    };

    std::string token = takeField();
    for (int number = 0;; ++number) {
        ParserOutput::trace("AmbaParser::ParsingPacketData => token[%d] = %s\r\n", number, token.c_str());
        const char* t = token.c_str();
        switch (number) {
        case 0:
            record.isRmc = NmeaIsRmc(t);
            if (!record.isRmc)
                return;
            break;
        case 2:
            record.status = t[0];
            if (record.status != 'A')
                return;
            break;
        case 3:
            record.latitude = NmeaCoordinate(t, 2);
            break;
        case 4:
            if (t[0] == 'S' || t[0] == 's')
                record.latitude = -record.latitude;
            break;
        case 5:
            record.longitude = NmeaCoordinate(t, 3);
            break;
        case 6:
            if (t[0] == 'W' || t[0] == 'w')
                record.longitude = -record.longitude;
            break;
        case 7:
            record.speed = NmeaSpeedKmh(t);
            break;
        default:
            break;
        }
        if (pos >= text.size())
            return;
        if (text[pos] == ',') {
            // An empty field: a stand-in value takes its place.
            ++pos;
            token = number == 6 ? "0.000000" : number == 7 ? "0.00" : "0";
        } else {
            token = takeField();
            ParserOutput::trace("token : %s\n next_token : %s\n\n", token.c_str(), text.c_str() + pos);
        }
    }
}
