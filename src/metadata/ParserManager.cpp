#include "metadata/ParserManager.h"

#include "metadata/ParserFactory.h"
#include "metadata/ParserOutput.h"
#include <cstdio>

namespace {

const char* const kNoSelection = "선택된 파서가 없습니다.";

} // namespace

ParserManager::ParserManager(bool firstPacketBreak) {
    for (int i = 0; i < 4; ++i)
        parsers[i] = CreateParser(i, firstPacketBreak);
}

ParserManager::~ParserManager() {
    for (ISimpleParser*& parser : parsers) {
        delete parser;
        parser = nullptr;
    }
}

int ParserManager::ParseData(const char* path) {
    ParserOutput::printf("ParseData - %s\n", path != nullptr ? path : "(null)");
    ClearAll();
    for (int i = 0; i < 4; ++i) {
        ISimpleParser* parser = parsers[i];
        if (parser == nullptr)
            continue;
        parser->Parse(path);
        if (parser->m_nFrameCount > 0 && (parser->m_nGpsData > 0 || parser->m_nSensorData > 0)) {
            selected = i;
            return i;
        }
    }
    return -1;
}

ISimpleParser* ParserManager::GetSelectedParser() {
    if (selected < 0) {
        ParserOutput::puts(kNoSelection);
        return nullptr;
    }
    return parsers[selected];
}

void ParserManager::ClearAll() {
    for (ISimpleParser* parser : parsers) {
        if (parser != nullptr)
            parser->Clear();
    }
}

GpsRecord* ParserManager::GetGpsRecords(int& count) {
    count = 0;
    if (selected < 0 || parsers[selected] == nullptr)
        return nullptr;
    count = parsers[selected]->m_nGpsData;
    return parsers[selected]->m_pGpsData;
}

SensorRecord* ParserManager::GetSensorRecords(int& count) {
    count = 0;
    if (selected < 0 || parsers[selected] == nullptr)
        return nullptr;
    count = parsers[selected]->m_nGpsData;
    return parsers[selected]->m_pSensorData;
}

GpsRecord* ParserManager::GetGpsArray() {
    return selected < 0 || parsers[selected] == nullptr ? nullptr : parsers[selected]->m_pGpsData;
}

SensorRecord* ParserManager::GetSensorArray() {
    return selected < 0 || parsers[selected] == nullptr ? nullptr : parsers[selected]->m_pSensorData;
}

void ParserManager::gpsDataCount() {
    if (selected < 0 || parsers[selected] == nullptr) {
        ParserOutput::puts(kNoSelection);
        return;
    }
    const ISimpleParser* parser = parsers[selected];
    ParserOutput::printf("gpsDataCount - %d\n", parser->m_nGpsData);
    for (int i = 0; i < parser->m_nGpsData && parser->m_pGpsData != nullptr; ++i) {
        const GpsRecord& r = parser->m_pGpsData[i];
        ParserOutput::printf("%02d: speed:%f, lat:%f, lng:%f\n", i, r.speed, r.latitude, r.longitude);
    }
    ParserOutput::printf("\n");
}

void ParserManager::printSensorData() {
    if (selected < 0 || parsers[selected] == nullptr) {
        ParserOutput::puts(kNoSelection);
        return;
    }
    const ISimpleParser* parser = parsers[selected];
    for (int i = 0; i < parser->m_nGpsData && parser->m_pSensorData != nullptr; ++i) {
        const SensorRecord& s = parser->m_pSensorData[i];
        ParserOutput::printf("%02d: x:%f, y:%f, z:%f\n", i, s.x, s.y, s.z);
    }
}

bool GetFirstGpsRecord(const char* path, GpsRecord& out) {
    ParserManager manager(true);
    manager.ParseData(path);
    int count = 0;
    const GpsRecord* records = manager.GetGpsRecords(count);
    if (records == nullptr || count <= 0)
        return false;
    out = records[0];
    return true;
}
