#include "metadata/PacketCache.h"

#include "metadata/CParserWrapper.h"
#include "metadata/FFmpeg.h"
#include "platform/system/FileSystemRepresentation.h"

#include <algorithm>

QList<orvoPacketModel> packetCache;

std::optional<orvoPacketModel> packetModelForURL(const QUrl& url) {
    // Metadata is kept under the file's path string, which keeps names that are not UTF-8.
    const QString path = platform::filePath(url);
    for (const orvoPacketModel& model : std::as_const(packetCache)) {
        if (model.name == path)
            return model;
    }
    return std::nullopt;
}

void getUserData(const QString& path, FFmpeg& reader) {
    for (const orvoPacketModel& model : std::as_const(packetCache)) {
        if (model.name == path)
            return;
    }

    CParserWrapper wrapper(false);
    if (!wrapper.parse(path)) {
        reader.getDataForFile(path);
        return;
    }

    const QList<GpsData> fixes = wrapper.getGpsDatas().value_or(QList<GpsData>());
    const QList<SensorData> samples = wrapper.getSensorDatas().value_or(QList<SensorData>());
    orvoPacketModel model;
    model.name = path;
    const qsizetype count = std::max(fixes.size(), samples.size());
    model.packet.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        OrvoVideoPacket packet;
        if (i < samples.size()) {
            packet.gsensor_x = samples[i].getX();
            packet.gsensor_y = samples[i].getY();
            packet.gsensor_z = samples[i].getZ();
        }
        if (i < fixes.size()) {
            packet.gps_speed = fixes[i].getSpeed();
            packet.gps_latitude = fixes[i].getLat();
            packet.gps_longitude = fixes[i].getLng();
        }
        packet.gps_dir_lati = 1;
        packet.gps_dir_longi = 1;
        model.packet.append(packet);
    }
    packetCache.append(std::move(model));
}
