#include "SampleGen.h"

#include "CardWriter.h"
#include "DriveGenerator.h"
#include "RecordingWriter.h"

#include <cmath>

namespace samplegen {

const char* layoutName(Layout layout) {
    switch (layout) {
    case Layout::DataTrack:
        return "datatrack";
    case Layout::Boxes:
        return "boxes";
    case Layout::Avi:
        return "avi";
    }
    return "datatrack";
}

const char* codecName(Codec codec) {
    return codec == Codec::Hevc ? "hevc" : "h264";
}

Drive makeDrive(const RecordingOptions& options) {
    RecordingWriter::validate(options);
    return DriveGenerator(options).make();
}

Drive writeRecording(const std::string& path, const RecordingOptions& options) {
    return writeRecording(path, options, makeDrive(options));
}

Drive writeRecording(const std::string& path, const RecordingOptions& options, const Drive& drive) {
    RecordingWriter::validate(options);
    const int clipSeconds = static_cast<int>(std::ceil(options.seconds));
    ClipCache::prepare(RecordingWriter::clipsFor(options, clipSeconds));
    RecordingWriter::write(path, options, drive, clipSeconds);
    return drive;
}

std::string rmcSentence(const Fix& fix, std::time_t utc, bool valid) {
    return DriveGenerator::rmcSentence(fix, utc, 0.0, valid);
}

std::string dataTrackSample(const Fix& fix, const Accel& accel, std::time_t utc, bool valid) {
    return DriveGenerator::dataTrackSample(fix, accel, rmcSentence(fix, utc, valid));
}

std::vector<std::uint8_t> aviPacket(const Fix& fix, const Accel& accel, std::uint32_t directionWord,
                                    std::time_t localTime, std::uint32_t sequence) {
    return DriveGenerator::aviPacket(fix, accel, directionWord, localTime, sequence);
}

CardSummary writeCard(const std::string& dir, const CardOptions& options) {
    return CardWriter(options).write(dir);
}

} // namespace samplegen
