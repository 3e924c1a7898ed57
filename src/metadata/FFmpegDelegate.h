#pragma once

#include <QString>

// Receiver of a recording's metadata on behalf of an FFmpeg reader; the
// players implement it to fill the per-file metadata cache.
class FFmpegDelegate {
public:
    virtual ~FFmpegDelegate() = default;
    // Parses the recording at path once and caches its metadata.
    virtual void getUserData(const QString& path) = 0;
};
