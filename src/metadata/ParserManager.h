#pragma once

#include "metadata/ISimpleParser.h"

// Tries every container parser on a file and keeps the first one that found frames and data.
class ParserManager {
public:
    explicit ParserManager(bool firstPacketBreak);
    ~ParserManager();
    ParserManager(const ParserManager&) = delete;
    ParserManager& operator=(const ParserManager&) = delete;

    // Parses path with each parser in slot order; returns the selected slot or -1.
    int ParseData(const char* path);
    // The selected parser, or nullptr (with a diagnostic line) when none is selected.
    ISimpleParser* GetSelectedParser();
    void ClearAll();
    // The selected parser's fixes and, through count, m_nGpsData; nullptr and 0 without selection.
    GpsRecord* GetGpsRecords(int& count);
    // The selected parser's samples and, through count, m_nGpsData (one sample per fix).
    SensorRecord* GetSensorRecords(int& count);
    GpsRecord* GetGpsArray();
    SensorRecord* GetSensorArray();
    // Diagnostic: prints the selected parser's fixes to the kavrin.metadata log.
    void gpsDataCount();
    // Diagnostic: prints the selected parser's samples to the kavrin.metadata log.
    void printSensorData();

    ISimpleParser* parsers[4] = {nullptr, nullptr, nullptr, nullptr};
    int selected = -1;
};

// Fills out with the first fix of the recording at path; false when no parser found a fix.
bool GetFirstGpsRecord(const char* path, GpsRecord& out);
