// The encoded source clips: one short video with sound per look, codec, size, rate and length,
// made once by the ffmpeg executable (an MP4 with H.264 or HEVC and AAC, and from it an AVI with
// the same video in Annex B form and PCM sound) and kept in a cache folder.
#pragma once

#include "Mp4Reader.h"
#include "SampleGen.h"

#include <memory>
#include <string>
#include <vector>

namespace samplegen {

struct ClipKey {
    Look look = Look::Front;
    Codec codec = Codec::H264;
    int width = 640;
    int height = 360;
    int fps = 30;
    int seconds = 10;

    std::string name() const; // unique file-name stem
};

class ClipCache {
public:
    // The cache folder (created on demand).
    static std::string directory();
    // Makes every missing clip, encoding several at once. Throws SampleGenError.
    static void prepare(const std::vector<ClipKey>& keys);
    static std::string mp4Path(const ClipKey& key);
    static std::string aviPath(const ClipKey& key);
    // The MP4 clip, read once per process (prepare first).
    static std::shared_ptr<const Mp4Reader> mp4(const ClipKey& key);

private:
    static std::vector<std::string> encodeArguments(const ClipKey& key, const std::string& out);
    static std::vector<std::string> aviArguments(const ClipKey& key, const std::string& in,
                                                 const std::string& out);
};

} // namespace samplegen
