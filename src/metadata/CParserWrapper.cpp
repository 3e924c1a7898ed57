#include "metadata/CParserWrapper.h"

#include "metadata/ParserManager.h"
#include "metadata/ParserOutput.h"
#include "platform/system/FileSystemRepresentation.h"

#include <cstdio>

CParserWrapper::CParserWrapper() : CParserWrapper(true) {}

CParserWrapper::CParserWrapper(bool useFirstPacketBreak) {
    setParserManager(new ParserManager(useFirstPacketBreak));
}

CParserWrapper::~CParserWrapper() = default;

void CParserWrapper::setParserManager(ParserManager* manager) {
    m_parserManager.reset(manager);
}

bool CParserWrapper::parse(const QString& path) {
    if (!m_parserManager)
        return false;
    const QByteArray file = platform::fileSystemRepresentation(path);
    if (m_parserManager->ParseData(file.constData()) == -1)
        return false;

    int gpsCount = 0;
    if (const GpsRecord* records = m_parserManager->GetGpsRecords(gpsCount)) {
        QList<GpsData> datas;
        datas.reserve(gpsCount);
        for (int i = 0; i < gpsCount; ++i)
            datas.append(
                GpsData(float(records[i].speed), float(records[i].latitude), float(records[i].longitude)));
        m_gpsDatas = std::move(datas);
        ParserOutput::puts("\n");
    }

    // One sample per fix: every parser keeps at least m_nGpsData samples (zero-padded).
    int sensorCount = 0;
    if (const SensorRecord* samples = m_parserManager->GetSensorRecords(sensorCount)) {
        QList<SensorData> datas;
        datas.reserve(sensorCount);
        for (int i = 0; i < sensorCount; ++i)
            datas.append(SensorData(samples[i].x, samples[i].y, samples[i].z));
        m_sensorDatas = std::move(datas);
    }
    return true;
}

std::optional<GpsData> CParserWrapper::getFirstGPS(const QString& path) const {
    GpsRecord record{};
    const QByteArray file = platform::fileSystemRepresentation(path);
    if (!GetFirstGpsRecord(file.constData(), record))
        return std::nullopt;
    return GpsData(float(record.speed), float(record.latitude), float(record.longitude));
}
