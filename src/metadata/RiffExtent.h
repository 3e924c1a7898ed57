#pragma once

// Where the valid data of an AVI recording ends.
//
// A camera that preallocates its files leaves, after a power cut, a recording
// followed by a long run of zeros (or whatever the card held before), and the
// header's sizes may still name the preallocated length. libavformat's AVI
// demuxer then searches that tail byte by byte for the next chunk, which takes
// minutes on a large file. Readers bound their input by the end found here.

#include <cstdint>
#include <optional>
#include <string>

// The offset just past the last valid chunk of the AVI file at `path`: its
// RIFF chunks ("AVI ", then any "AVIX") as far as their sizes hold inside the
// file; a recording left unfinished (sizes beyond the file, no "idx1" index)
// is measured chunk by chunk through its "movi" list up to the first header
// that is not a chunk's. None when the file is not a regular file that begins
// as an AVI file, or cannot be read.
std::optional<std::uint64_t> riffDataEnd(const char* path);

// riffDataEnd when it lies before the end of the file, that is when a reader
// should stop early; none otherwise.
std::optional<std::uint64_t> riffReadLimit(const char* path);

// A libavformat URL that reads the first `end` bytes of the file at `path`
// (the "subfile" protocol over "file"); a reader must allow both protocols.
std::string boundedInputUrl(const std::string& path, std::uint64_t end);
