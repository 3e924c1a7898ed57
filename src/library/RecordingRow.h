#pragma once

#include "metadata/orvoTableRowModel.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class FFmpeg;

// The number of video streams of the file at a path; 0 when it cannot be opened.
using VideoStreamCounter = std::function<int(const QString& path)>;

// The texts of one recording-table row, taken from the recording's file name
// (its last path component) by plain, case-sensitive text operations:
//   full form  DATE-TIME_CHANNEL_KIND.EXTENSION  (channel pieces such as "F", "R", "I", "FR")
//   short form DATE-TIME_KIND.EXTENSION          (one file carrying every channel)
// In the short form the channel is the file's video-stream count followed by "CH",
// asked of `videoStreamCount`. The kind becomes the localised category name:
// containing "my" -> "Myfolder", "N" "Normal", "E" "Event", "P" "Parking", "M" "Motion",
// "C" "Camcorder", "I" "AI", anything else "Etc.". Missing pieces keep the row's
// defaults; location, merge and merge2 are never filled. None when the name holds
// no "-" (the file is not a recording).
std::optional<orvoTableRowModel> recordingRowFromFileName(const QUrl& url,
                                                          const VideoStreamCounter& videoStreamCount);
// The same, counting video streams with the player's FFmpeg reader.
std::optional<orvoTableRowModel> recordingRowFromFileName(const QUrl& url, FFmpeg& reader);

// The localised category name of a recording kind piece, as above.
QString recordingTypeForKind(const QString& kind);
