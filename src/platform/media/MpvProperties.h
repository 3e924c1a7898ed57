#pragma once

// Names of the libmpv options, properties, commands and values the media layer uses,
// kept in one place so that a renamed property is changed once.
namespace MpvProperties {

// Options set once per handle before mpv_initialize.
inline constexpr const char* Vo = "vo";
inline constexpr const char* Ao = "ao";
inline constexpr const char* KeepOpen = "keep-open";
inline constexpr const char* KeepOpenPause = "keep-open-pause";
inline constexpr const char* Idle = "idle";
inline constexpr const char* HrSeek = "hr-seek";
inline constexpr const char* VdLavcThreads = "vd-lavc-threads";
inline constexpr const char* ZimgThreads = "zimg-threads";
inline constexpr const char* InputDefaultBindings = "input-default-bindings";
inline constexpr const char* InputVoKeyboard = "input-vo-keyboard";
inline constexpr const char* AudioDisplay = "audio-display";
inline constexpr const char* AudioFallbackToNull = "audio-fallback-to-null";
inline constexpr const char* Sid = "sid";
inline constexpr const char* Hwdec = "hwdec";
inline constexpr const char* LoadScripts = "load-scripts";
inline constexpr const char* LoadStatsOverlay = "load-stats-overlay";
inline constexpr const char* LoadOsdConsole = "load-osd-console";
inline constexpr const char* LoadAutoProfiles = "load-auto-profiles";
inline constexpr const char* Ytdl = "ytdl";
inline constexpr const char* Osc = "osc";
inline constexpr const char* Demuxer = "demuxer";
inline constexpr const char* AudioDemuxer = "audio-demuxer";
inline constexpr const char* DemuxerLavfO = "demuxer-lavf-o";
inline constexpr const char* AccessReferences = "access-references";

// Per-file options handed to loadfile.
inline constexpr const char* Vid = "vid";
inline constexpr const char* Aid = "aid";
inline constexpr const char* AudioFilesAppend = "audio-files-append";
inline constexpr const char* End = "end";

// Properties read, observed or written while playing.
inline constexpr const char* TimePos = "time-pos";
inline constexpr const char* Pause = "pause";
inline constexpr const char* EofReached = "eof-reached";
inline constexpr const char* IdleActive = "idle-active";
inline constexpr const char* Seeking = "seeking";
inline constexpr const char* CoreIdle = "core-idle";
inline constexpr const char* PausedForCache = "paused-for-cache";
inline constexpr const char* Speed = "speed";
inline constexpr const char* Volume = "volume";
inline constexpr const char* Mute = "mute";
inline constexpr const char* DWidth = "dwidth";
inline constexpr const char* DHeight = "dheight";
inline constexpr const char* TrackList = "track-list";
inline constexpr const char* VideoZoom = "video-zoom";
inline constexpr const char* VideoPanX = "video-pan-x";
inline constexpr const char* VideoPanY = "video-pan-y";
inline constexpr const char* VideoRotate = "video-rotate";
inline constexpr const char* Saturation = "saturation";
inline constexpr const char* Vf = "vf";
inline constexpr const char* DemuxerStartTime = "demuxer-start-time";

// Keys of a track-list entry.
inline constexpr const char* TrackId = "id";
inline constexpr const char* TrackType = "type";
inline constexpr const char* TrackFfIndex = "ff-index";
inline constexpr const char* TrackExternal = "external";
inline constexpr const char* TrackExternalFilename = "external-filename";

// Commands and their arguments.
inline constexpr const char* LoadFile = "loadfile";
inline constexpr const char* Seek = "seek";
inline constexpr const char* Stop = "stop";
inline constexpr const char* CommandName = "name";
inline constexpr const char* ArgUrl = "url";
inline constexpr const char* ArgFlags = "flags";
inline constexpr const char* ArgOptions = "options";
inline constexpr const char* FlagsReplace = "replace";
inline constexpr const char* SeekAbsoluteExact = "absolute+exact";
inline constexpr const char* VfAdd = "add";
inline constexpr const char* VfToggle = "toggle";

// Values.
inline constexpr const char* VoLibmpv = "libmpv";
inline constexpr const char* DemuxerLavf = "lavf";
inline constexpr const char* AoNull = "null";
inline constexpr const char* Yes = "yes";
inline constexpr const char* No = "no";
inline constexpr const char* TrackTypeVideo = "video";
inline constexpr const char* TrackTypeAudio = "audio";
inline constexpr const char* RotateFromMetadata = "0";
// A greyscale filter, inserted disabled ("!") and toggled by its label.
inline constexpr const char* GrayFilterLabel = "@gray";
inline constexpr const char* GrayFilterDisabled = "@gray:!lavfi=[hue=s=0]";
inline constexpr const char* SoftwareFormat = "rgb0";

} // namespace MpvProperties
