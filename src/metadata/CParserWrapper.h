#pragma once

#include "metadata/GpsData.h"
#include "metadata/SensorData.h"

#include <QList>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

class ParserManager;

// The face of the container parsers for the rest of the system: parses one
// recording and hands its fixes and G-sensor samples out as value lists.
// One wrapper serves one parse; main thread only.
class CParserWrapper {
public:
    // As CParserWrapper(true): only the first sample of a file is read.
    CParserWrapper();
    explicit CParserWrapper(bool useFirstPacketBreak);
    ~CParserWrapper();
    CParserWrapper(const CParserWrapper&) = delete;
    CParserWrapper& operator=(const CParserWrapper&) = delete;

    // Parses the file at path; false when no parser reads it (the lists are
    // then left as they were). After success the lists that are present have
    // equal lengths, element i of one belonging to element i of the other.
    bool parse(const QString& path);
    // The first fix of the file at path, none when no parser found one. Does
    // not touch this wrapper's own manager.
    std::optional<GpsData> getFirstGPS(const QString& path) const;

    std::optional<QList<GpsData>> getGpsDatas() const { return m_gpsDatas; }
    std::optional<QList<SensorData>> getSensorDatas() const { return m_sensorDatas; }

    bool useH265() const { return m_useH265; }
    void setUseH265(bool useH265) { m_useH265 = useH265; }
    ParserManager* parserManager() const { return m_parserManager.get(); }
    // Takes ownership of the manager; the previous one is deleted.
    void setParserManager(ParserManager* manager);
    const std::optional<QList<GpsData>>& gpsDatas() const { return m_gpsDatas; }
    void setGpsDatas(std::optional<QList<GpsData>> datas) { m_gpsDatas = std::move(datas); }
    const std::optional<QList<SensorData>>& sensorDatas() const { return m_sensorDatas; }
    void setSensorDatas(std::optional<QList<SensorData>> datas) { m_sensorDatas = std::move(datas); }

private:
    std::atomic<bool> m_useH265 = false;
    std::unique_ptr<ParserManager> m_parserManager;
    std::optional<QList<GpsData>> m_gpsDatas;
    std::optional<QList<SensorData>> m_sensorDatas;
};
