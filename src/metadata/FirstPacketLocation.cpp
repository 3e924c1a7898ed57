#include "metadata/FirstPacketLocation.h"

#include "metadata/DistrictTable.h"
#include "metadata/RecordingList.h"
#include "metadata/VideoPacketDecoder.h"
#include "metadata/nmeaToDegrees.h"
#include "platform/system/FileSystemRepresentation.h"

void fillFirstPacketLocation(std::span<const uint8_t> bytes, const QString& path) {
    const OrvoVideoPacket packet = decodeVideoPacket(bytes);
    if (!packet.gps_latitude || !packet.gps_longitude)
        return;
    float latitude = *packet.gps_latitude;
    float longitude = *packet.gps_longitude;
    if (latitude < -90 || latitude > 90)
        latitude = nmeaToDegrees(latitude);
    if (longitude < -180 || longitude > 180)
        longitude = nmeaToDegrees(longitude);

    const std::optional<QString> name = nearestDistrictName(latitude, longitude);
    if (!name)
        return;
    for (orvoTableModel& entry : recordingList) {
        if (platform::filePath(entry.url) == path) {
            entry.row.location = *name;
            return;
        }
    }
}
