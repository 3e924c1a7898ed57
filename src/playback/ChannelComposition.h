#pragma once

// The media routines both players load a recording with: the channel
// composition of a recording's channel files, the rewrap of an AVI recording
// into a MOV file that the players can hand over like any other asset, and the
// video-track counts. They keep no state of their own.

#include "platform/media/Asset.h"
#include "platform/media/MutableComposition.h"
#include "platform/system/Process.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

// The outside world the routines reach, replaceable for tests. Each empty
// member falls back to the real thing.
struct ChannelCompositionEnvironment {
    // The user's Movies folder (default: the platform's movies location, created when missing).
    std::function<QString()> moviesFolder;
    // The `ffmpeg` tool (default: Bundle::ffmpegPath).
    std::function<std::optional<QString>()> ffmpegPath;
    // Runs the tool and waits for it (default: Process::runAndWait).
    std::function<Process::Result(const QString& program, const QStringList& arguments)> run;
    // A modal alert, title and message being "Localizable" keys (default: showAlert).
    std::function<void(const QString& title, const QString& message)> alert;
};

// The process-wide environment of the routines; tests replace its members.
ChannelCompositionEnvironment& channelCompositionEnvironment();

// The name of the rewrapped file in the Movies folder: "temp.mov" for a
// recording's (first) channel. A composition of several rewrapped channel
// files gives every further channel a file of its own ("temp_2.mov",
// "temp_3.mov"), since one file cannot hold them all at once.
QString rewrapFileName(int channel = 0);

// The hidden file in the Movies folder that a rewrap writes before it is
// renamed to rewrapFileName(channel): ".temp.part.mov" for "temp.mov".
QString partialRewrapFileName(int channel = 0);

// The tool's arguments for a rewrap of `input` into `output`: the first run
// maps the streams 0 to videoStreams inclusive (and tags HEVC video "hvc1"),
// the retry maps the streams 0 to videoStreams - 1, never with the tag. With
// `readLimit` the tool reads only the first readLimit bytes of the input (the
// end of a recording's valid data, see riffReadLimit). The input is read only
// as one of the camera's containers, from the file alone (RecordingInput.h).
QStringList aviToMovArguments(const QString& input, const QString& output, bool hevc, int videoStreams,
                              bool retry, std::optional<quint64> readLimit = std::nullopt);

// One asset of the recording at `url` joining its front file with its rear
// (`merge`) and inside (`merge2`) files from recordingList: the video tracks
// in that order, then the front file's sound. Null when the URL is not in
// recordingList, when the recording has no sibling file, or when the front
// file gives no video track.
std::shared_ptr<MutableComposition> makeChannelComposition(const QUrl& url);

// Rewraps the AVI file at `url` without re-encoding into "temp.mov" in the
// user's Movies folder (replacing it) and returns its asset; `hevc` tags HEVC
// video for the players. A run counts only when the tool exits with status 0
// and leaves a readable file; when the first run fails (a recording without
// sound has no stream after its video), a second maps the video streams
// alone. Only the recording's valid data is read (a power cut's preallocated
// tail is not). Null after a failure, which has been shown to the user, and,
// without an alert of its own, for a path that is not a regular file (a pipe,
// a device, a link to one: nothing is run). Blocks until the tool has exited
// (twice at most).
std::shared_ptr<Asset> aviToMov(const QUrl& url, bool hevc);
// The same into the rewrap file of one channel (see rewrapFileName).
std::shared_ptr<Asset> aviToMov(const QUrl& url, bool hevc, int channel);

// More than one video track.
bool hasMultipleVideoTracks(const std::shared_ptr<Asset>& asset);
// The number of video tracks; 0 without an asset.
qint64 videoTrackCount(const std::shared_ptr<Asset>& asset);
