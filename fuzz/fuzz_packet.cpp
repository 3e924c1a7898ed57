// libFuzzer target: the 68-byte metadata packet, its decoder, the NMEA
// conversion and the first-packet location step.

#include "FuzzInput.h"
#include "metadata/DistrictTable.h"
#include "metadata/FirstPacketLocation.h"
#include "metadata/RecordingList.h"
#include "metadata/VideoPacketDecoder.h"
#include "metadata/nmeaToDegrees.h"
#include "metadata/swiftyAVISimpleParser.h"

#include <cmath>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceStdout();
    orvoTableModel entry;
    entry.url = QUrl::fromLocalFile(QStringLiteral("/card/20241108-083000_F_N.avi"));
    recordingList.append(entry);
    districtTable().appendRows({{QStringLiteral("1"), QStringLiteral("Jung-gu"), QStringLiteral("126.9975"),
                                 QStringLiteral("37.5641")},
                                {QStringLiteral("2"), QStringLiteral("Haeundae-gu"),
                                 QStringLiteral("129.1604"), QStringLiteral("35.1631")}});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const OrvoVideoPacket packet = decodeVideoPacket(bytes);
    if (size >= kVideoPacketSize && !(packet.gps_latitude && packet.gps_longitude && packet.gsensor_x))
        __builtin_trap();
    uint32FromBytes(bytes.first(std::min<size_t>(size, 6)));

    for (size_t offset = 0; offset + 4 <= size && offset < 64; offset += 4) {
        float value;
        std::memcpy(&value, data + offset, 4);
        const float degrees = nmeaToDegrees(value);
        if (std::isfinite(value) && !std::isfinite(degrees))
            __builtin_trap();
    }

    swiftyAVISimpleParser parser;
    parser.aviSimpleParserWithPacket(nullptr, data, int(size));
    parser.aviSimpleParserFirstPacketWithPacket(nullptr, data, int(size),
                                                QStringLiteral("/card/20241108-083000_F_N.avi"));
    fillFirstPacketLocation(bytes, QStringLiteral("/card/other.avi"));
    return 0;
}
