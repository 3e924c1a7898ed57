#include "RecordingWriter.h"

#include "AviWriter.h"
#include "ByteWriter.h"
#include "DriveGenerator.h"
#include "Mp4Writer.h"

#include <cmath>

namespace samplegen {

void RecordingWriter::validate(const RecordingOptions& o) {
    auto fail = [](const std::string& what) { throw SampleGenError("bad recording option: " + what); };
    if (!(o.seconds >= 1 && o.seconds <= 3600))
        fail("seconds must be 1 to 3600");
    if (o.width < 64 || o.width > 3840 || o.width % 2 || o.height < 64 || o.height > 2160 || o.height % 2)
        fail("size must be even, 64x64 to 3840x2160");
    if (o.fps < 1 || o.fps > 60)
        fail("fps must be 1 to 60");
    if (o.videoStreams < 1 || o.videoStreams > 2 || (o.videoStreams == 2 && o.layout != Layout::Avi))
        fail("two video streams only in the AVI layout");
    if (!(o.samplesPerSecond >= 0.1 && o.samplesPerSecond <= 30))
        fail("samples per second must be 0.1 to 30");
    if (!(std::fabs(o.startLat) < 85 && std::fabs(o.startLng) < 180))
        fail("start position out of range");
}

std::vector<ClipKey> RecordingWriter::clipsFor(const RecordingOptions& o, int clipSeconds) {
    std::vector<ClipKey> keys;
    ClipKey key{o.look, o.codec, o.width, o.height, o.fps, clipSeconds};
    keys.push_back(key);
    if (o.videoStreams == 2) {
        key.look = o.look == Look::Rear ? Look::Front : Look::Rear;
        keys.push_back(key);
    }
    return keys;
}

void RecordingWriter::write(const std::string& path, const RecordingOptions& o, const Drive& drive,
                            int clipSeconds) {
    const std::size_t count = drive.fixes.size();
    if (count == 0 || drive.accel.size() != count)
        throw SampleGenError("a drive needs as many G-sensor samples as fixes, at least one");
    const double sps = static_cast<double>(count) / o.seconds;
    const std::time_t localStart = o.startTime ? o.startTime : DriveGenerator::defaultStartTime();
    const std::time_t utcStart = localStart - static_cast<std::time_t>(o.utcOffsetHours) * 3600;
    const std::vector<ClipKey> keys = clipsFor(o, clipSeconds);

    if (o.layout == Layout::Avi) {
        std::vector<std::string> sources;
        for (const ClipKey& key : keys)
            sources.push_back(ClipCache::aviPath(key));
        AviWriter writer(sources, o.audio, o.seconds);
        std::vector<std::vector<std::uint8_t>> packets;
        for (std::size_t i = 0; i < count; ++i) {
            const auto at = static_cast<std::time_t>(std::floor(static_cast<double>(i) / sps));
            packets.push_back(DriveGenerator::aviPacket(drive.fixes[i], drive.accel[i], drive.directionWord,
                                                        localStart + at, static_cast<std::uint32_t>(i)));
        }
        writer.setPackets(std::move(packets), sps);
        writer.write(path);
        return;
    }

    const auto clip = ClipCache::mp4(keys.front());
    Mp4Writer writer(*clip, clip->track("vide"), o.audio ? clip->track("soun") : nullptr, o.seconds);
    writer.setCreationTime(localStart);
    auto sentence = [&](std::size_t i) {
        if (i < drive.sentences.size())
            return drive.sentences[i];
        const double at = static_cast<double>(i) / sps;
        const double whole = std::floor(at);
        return DriveGenerator::rmcSentence(drive.fixes[i], utcStart + static_cast<std::time_t>(whole),
                                           at - whole, true);
    };
    if (o.layout == Layout::DataTrack) {
        std::vector<std::string> samples;
        for (std::size_t i = 0; i < count; ++i)
            samples.push_back(DriveGenerator::dataTrackSample(drive.fixes[i], drive.accel[i], sentence(i)));
        writer.setDataSamples(std::move(samples), sps);
    } else {
        ByteWriter gpsr;
        ByteWriter sens;
        for (std::size_t i = 0; i < count; ++i) {
            const std::string text = sentence(i);
            gpsr.le32(static_cast<std::uint32_t>(std::llround(static_cast<double>(i) * 1000.0 / sps)));
            gpsr.le32(static_cast<std::uint32_t>(text.size()));
            gpsr.append(text);
            sens.leFloat(drive.accel[i].x);
            sens.leFloat(drive.accel[i].y);
            sens.leFloat(drive.accel[i].z);
        }
        writer.setBoxes(std::move(gpsr.bytes()), std::move(sens.bytes()));
    }
    writer.write(path);
}

} // namespace samplegen
