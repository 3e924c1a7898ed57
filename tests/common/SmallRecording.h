#pragma once

// A small generated recording (64 x 64 pictures at 5 frames a second, no
// sound, two samples a second) for the tests that show its metadata on the
// data panel and the map.

#include <samplegen/SampleGen.h>

#include <gtest/gtest.h>

#include <QString>

#include <filesystem>

namespace paneltest {

// Writes the recording `name` into `folder` below the test temporary folder; its path.
inline QString writeSmallRecording(const char* folder, const char* name, samplegen::Layout layout,
                                   double seconds) {
    const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / folder;
    std::filesystem::create_directories(dir);
    samplegen::RecordingOptions options;
    options.layout = layout;
    options.seconds = seconds;
    options.samplesPerSecond = 2;
    options.width = 64;
    options.height = 64;
    options.fps = 5;
    options.audio = false;
    const QString path = QString::fromStdString((dir / name).string());
    samplegen::writeRecording(path.toStdString(), options);
    return path;
}

} // namespace paneltest
