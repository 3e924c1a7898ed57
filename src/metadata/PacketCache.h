#pragma once

#include "metadata/orvoPacketModel.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

class FFmpeg;

// The per-file metadata cache: one entry per recording parsed successfully
// since the list was last emptied, looked up by the file's path. Entries are
// never replaced or removed one by one. Main thread only.
extern QList<orvoPacketModel> packetCache;

// The first cache entry whose name is the URL's path, none when there is none.
std::optional<orvoPacketModel> packetModelForURL(const QUrl& url);

// Parses the recording at path once and caches its metadata: a path already
// in the cache returns at once; otherwise every sample is parsed and, when a
// parser reads the file, one packet per sample is appended (a fix or a sample
// the parser did not deliver leaves those fields none). A file no parser
// reads gets no entry; its data stream is then handed to `reader`'s
// getDataForFile, which stores nothing. The window player's getUserData.
void getUserData(const QString& path, FFmpeg& reader);
