#pragma once

// Recordings for the facade, cache and tool tests, written once per test
// program by the sample generator into a temporary folder.

#include <samplegen/SampleGen.h>

#include <gtest/gtest.h>

#include <QString>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testfiles {

inline std::filesystem::path dir() {
    const std::filesystem::path d = std::filesystem::path(testing::TempDir()) / "kavrin-metadata-files";
    std::filesystem::create_directories(d);
    return d;
}

inline samplegen::RecordingOptions smallRecording(samplegen::Layout layout, unsigned seed = 1) {
    samplegen::RecordingOptions o;
    o.layout = layout;
    o.seconds = 4;
    o.samplesPerSecond = 1;
    o.width = 64;
    o.height = 64;
    o.fps = 5;
    o.audio = false;
    o.seed = seed;
    return o;
}

// A generated recording (written on first use) and its drive.
struct Recording {
    QString path;
    samplegen::Drive drive;
};

inline Recording write(const std::string& name, const samplegen::RecordingOptions& options) {
    const std::filesystem::path path = dir() / name;
    samplegen::Drive drive = samplegen::writeRecording(path.string(), options);
    return {QString::fromStdString(path.string()), drive};
}

// Renames every occurrence of a four-character box type, e.g. "SENS" to "free",
// so that the walk skips that box.
inline void renameBox(const QString& path, const char* from, const char* to) {
    std::string bytes;
    {
        std::ifstream in(path.toStdString(), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    for (std::size_t at = bytes.find(from, 0, 4); at != std::string::npos; at = bytes.find(from, at + 4, 4))
        bytes.replace(at, 4, to, 4);
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace testfiles
