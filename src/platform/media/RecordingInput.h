#pragma once

// How a recording is opened with libavformat. A recording is a file that a
// camera wrote: MP4/MOV or AVI. libavformat's probing reads any format it
// knows, playlists (HLS, concat) among them, and a playlist names other files
// that it then opens, pipes included: a card file named like a recording could
// make the player wait for ever. Every reader, frame grab, rewrap and copy of a
// recording therefore names the camera's containers and the file protocol to
// libavformat (or to the `ffmpeg` tool), and opens only regular files.
//
// Header-only, so that the metadata library opens recordings the same way
// without linking the GUI platform library.

#include <QString>
#include <QStringList>

#include <cerrno>
#include <string>
#include <sys/stat.h>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace platform {

// libavformat's names of the demuxers of the camera's containers: the one of
// MP4 and MOV (named by all of these) and AVI's.
inline constexpr char kRecordingFormats[] = "mov,mp4,m4a,3gp,3g2,mj2,avi";
// What a recording is read through.
inline constexpr char kRecordingProtocols[] = "file";

// avformat_open_input of the recording at `path` (file-system bytes) into
// `*context` (allocated or null, freed on failure), through `url` when one is
// given (a view of the file in one of `protocols`). A path that is not a
// regular file (after links) is not opened. libavformat's error code: 0 or more
// on success.
inline int openRecordingInput(AVFormatContext** context, const char* path, std::string url = {},
                              const char* protocols = kRecordingProtocols) {
    struct stat info {};
    int error = 0;
    if (path == nullptr)
        error = EINVAL;
    else if (::stat(path, &info) != 0)
        error = errno;
    else if (S_ISDIR(info.st_mode))
        error = EISDIR;
    else if (!S_ISREG(info.st_mode))
        error = EINVAL; // a pipe or a device could block or never end
    if (error != 0) {
        avformat_free_context(*context);
        *context = nullptr;
        return AVERROR(error);
    }
    if (url.empty()) {
        url = path;
        // A relative name that looks like "scheme:rest" is a file name all the same.
        if (url.front() != '/')
            url.insert(0, "file:");
    }
    AVDictionary* options = nullptr;
    av_dict_set(&options, "format_whitelist", kRecordingFormats, 0);
    av_dict_set(&options, "protocol_whitelist", protocols, 0);
    const int result = avformat_open_input(context, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    return result;
}

// The same restriction as input options of the `ffmpeg` tool, to go before its "-i".
inline QStringList recordingToolInputOptions(const char* protocols = kRecordingProtocols) {
    return {QStringLiteral("-format_whitelist"), QString::fromLatin1(kRecordingFormats),
            QStringLiteral("-protocol_whitelist"), QString::fromLatin1(protocols)};
}

} // namespace platform
