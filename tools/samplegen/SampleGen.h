// Sample dash-camera recordings and memory cards for tests, benchmarks and the demo.
//
// A short clip with sound is encoded once per look (front, rear, interior picture) by the
// `ffmpeg` executable ($KAVRIN_FFMPEG, else ffmpeg on PATH) and cached (under $KAVRIN_SAMPLEGEN_CACHE, else
// $XDG_CACHE_HOME/kavrin-samplegen, else ~/.cache/kavrin-samplegen); every recording is then
// written by copying the cached encoded samples into a new container together with the
// metadata of a generated drive. MP4 files are written box by box (ftyp, moov, mdat, plus the
// "GPSR"/"SENS" boxes), AVI files through libavformat with a data stream of 68-byte packets.
#pragma once

#include <cstdint>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

namespace samplegen {

// How a recording carries its metadata.
enum class Layout {
    DataTrack, // MP4 with a data track ("nmhd"): each sample 0xFD 0x10 ? 'G' L accel-text 'g' N RMC-text
    Boxes,     // MP4 with top-level "GPSR" (length-prefixed RMC sentences) and "SENS" (float triples) boxes
    Avi,       // AVI with a data stream of 68-byte metadata packets
};

enum class Codec { H264, Hevc };

// The picture of a video stream; each channel of a card gets its own.
enum class Look { Front, Rear, Interior };

// Every failure (no ffmpeg, encode failed, unwritable path, bad options) throws this.
class SampleGenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One GPS fix exactly as the layout's parser reads it back.
// MP4 layouts: latitude/longitude in signed decimal degrees as computed from the written
// ddmm.mmmm / dddmm.mmmm text (deg + minutes / 60), speedKmh = atof(knots text) x 1.852,
// course = atof(course text) (only the "GPSR" parser reads the course).
// AVI: the 32-bit floats stored in the packet, widened: speed in km/h, latitude/longitude in
// decimal degrees, or in NMEA ddmm.mmmm form when Drive::nmeaPositions is set; course is not
// stored (it holds the value used for the drive).
struct Fix {
    double lat = 0;
    double lng = 0;
    double speedKmh = 0;
    double course = 0;
};

// One G-sensor sample in g, exactly as read back (MP4 data track: atof of the text, written with
// two decimals; "SENS" and AVI: the stored float). z carries gravity (about 1.0).
struct Accel {
    float x = 0;
    float y = 0;
    float z = 0;
};

// The metadata written into a recording: one fix and one G-sample per metadata sample, spread
// evenly over the recording (samplesPerSecond of them per second).
struct Drive {
    std::vector<Fix> fixes;
    std::vector<Accel> accel;
    std::vector<std::string> sentences; // MP4 layouts: the RMC sentence of each sample (empty for AVI)
    double samplesPerSecond = 1;
    bool nmeaPositions = false;      // AVI only: positions stored as ddmm.mmmm
    std::uint32_t directionWord = 5; // AVI only: bits 0-1 latitude code, 2-3 longitude code (1 = keep sign)
    std::size_t bumpIndex = 0;       // sample at which the G bump peaks
};

struct RecordingOptions {
    Layout layout = Layout::DataTrack;
    Codec codec = Codec::H264;
    double seconds = 10;         // 1 .. 3600 (fractions allowed)
    int width = 640;             // even, 64 .. 3840
    int height = 360;            // even, 64 .. 2160
    int fps = 30;                // 1 .. 60
    int videoStreams = 1;        // 1 or 2; 2 (short-form recording) only with Layout::Avi
    bool audio = true;           // an AAC (MP4) or PCM (AVI) sound track
    Look look = Look::Front;     // picture of the first video stream (a second one uses Look::Rear)
    double samplesPerSecond = 1; // metadata samples per second, 0.1 .. 30
    double startLat = 37.5665;   // start of the drive, decimal degrees (default: central Seoul)
    double startLng = 126.9780;
    unsigned seed = 1;             // same seed and options -> same drive
    std::time_t startTime = 0;     // camera-local time of the first sample; 0: 2024-11-08 08:30:00
    int utcOffsetHours = 9;        // RMC times are camera-local time minus this
    bool aviNmeaPositions = false; // AVI: store positions as ddmm.mmmm instead of degrees
    bool parked = false;           // a parking-mode recording: standing still (speed 0), with the bump
};

// The drive that writeRecording would write for these options (deterministic in the seed).
Drive makeDrive(const RecordingOptions& options);

// Writes one recording to path (any existing file is replaced) and returns its metadata.
// Throws SampleGenError on any failure.
Drive writeRecording(const std::string& path, const RecordingOptions& options);
// The same with a given drive (for the channel files of one recording): its samples are spread
// evenly over options.seconds; write it with the layout it was made for (makeDrive).
Drive writeRecording(const std::string& path, const RecordingOptions& options, const Drive& drive);

// The raw metadata of one sample, for tests that build files by hand.
std::string rmcSentence(const Fix& fix, std::time_t utc, bool valid); // "$GPRMC,...*CS", no CR LF
std::string dataTrackSample(const Fix& fix, const Accel& accel, std::time_t utc, bool valid);
std::vector<std::uint8_t> aviPacket(const Fix& fix, const Accel& accel, std::uint32_t directionWord,
                                    std::time_t localTime, std::uint32_t sequence); // 68 bytes

// What a memory card holds.
struct CardOptions {
    int recordings = 7; // full-form recordings, each written as F, R and I files
    double seconds = 0; // length of every recording; 0: the demo lengths (20 .. 60 s)
    int width = 1280;
    int height = 720;
    int fps = 30;
    Codec codec = Codec::H264;
    bool audio = true;
    bool mixed = true; // layouts in turn: DataTrack, Boxes, Avi; else all `layout`
    Layout layout = Layout::DataTrack;
    bool shortForm = true;  // also one short-form AVI (DATE-TIME_KIND.avi) with two video streams
    bool subfolders = true; // kind E recordings go into "Event/", kind P into "Parking/"
                            // (kind P recordings are parked: speed 0 at one place)
    std::string model = "KV-1000";
    std::string version = "1.0.2";
    unsigned seed = 1;
    std::time_t startTime = 0; // local time of the first recording; 0: 2024-11-08 08:30:00
};

// One file written on a card.
struct CardFile {
    std::string relativePath; // e.g. "20241108-083000_F_N.mp4", "Event/20241108-084512_R_E.avi"
    Layout layout;
    std::string channel; // "F", "R", "I", or "" for the short form
    std::string kind;    // "N", "E", "P", "M", "C", "I" or "my"
    int recording;       // index into CardSummary::drives
    int videoStreams;
    double seconds;
};

struct CardSummary {
    std::vector<CardFile> files; // in writing order
    std::vector<Drive> drives;   // one per recording (all channels of a recording share it)
};

// Writes a memory card into dir (created when missing): the recordings, named
// DATE-TIME_CHANNEL_KIND.ext (DATE yyyymmdd, TIME hhmmss, kinds cycling N, E, P, M, C, I, my),
// the short-form AVI, and last "ver.txt" ("Model=<model>\nVersion=<version>\n"), so a card
// with a ver.txt is complete. Drives alternate between the Seoul and Busan areas.
// Throws SampleGenError on failure.
CardSummary writeCard(const std::string& dir, const CardOptions& options);

// Text names used by the command line and messages.
const char* layoutName(Layout layout); // "datatrack", "boxes", "avi"
const char* codecName(Codec codec);    // "h264", "hevc"

} // namespace samplegen
