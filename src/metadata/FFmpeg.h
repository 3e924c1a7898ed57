#pragma once

#include <QString>

#include <atomic>

class FFmpegDelegate;

// Reader of any recording through libavformat: the packets of its data
// stream, its first fix, its video and audio stream counts and whether its
// video is HEVC. Every input it opens is closed before an operation returns.
// Diagnostics go to the system log, except the stream counters' open
// failures, which go to the kavrin.metadata log. Main thread only.
class FFmpeg {
public:
    // Hands every packet of the file's data stream to a swiftyAVISimpleParser;
    // 0 when they were handed on, -1 when the file cannot be opened or probed
    // or has no video or no data stream.
    int getDataForFile(const QString& path);
    // Fills the location of the file's recording-list entry from the first
    // packet of its data stream; 0, or -1 as getDataForFile.
    int getFirstGPSForFile(const QString& path);
    // Number of video streams; 0 when the file cannot be opened.
    int getVideoStreamCount(const QString& path);
    // Number of audio streams; 0 when the file cannot be opened.
    int getAudioStreamCount(const QString& path);
    // True when a stream is HEVC, and also when the file cannot be opened or probed.
    bool isH265(const QString& path);

    FFmpegDelegate* delegate() const { return m_delegate; }
    // Not owned; the delegate clears it before it goes.
    void setDelegate(FFmpegDelegate* delegate) { m_delegate = delegate; }
    bool useH265() const { return m_useH265; }
    void setUseH265(bool useH265) { m_useH265 = useH265; }

private:
    int countStreams(const QString& path, int type, int line);

    std::atomic<bool> m_useH265 = false;
    FFmpegDelegate* m_delegate = nullptr;
};
