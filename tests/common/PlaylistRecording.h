#pragma once

// A card file named like a recording that holds a playlist naming a FIFO
// beside it, and a watchdog for the calls that read it: a reader that follows
// the playlist waits in open() until something writes to the FIFO.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace playlisttest {

enum class Playlist {
    Hls,    // an HLS media playlist
    Concat, // FFmpeg's concat list
};

// Writes the playlist `kind` at `path`, naming the FIFO `fifoName` of the same folder (made when missing).
inline bool writePlaylistRecording(const QString& path, Playlist kind, const QString& fifoName) {
    const QString fifo = path.left(path.lastIndexOf(QLatin1Char('/')) + 1) + fifoName;
    if (!QFile::exists(fifo) && ::mkfifo(QFile::encodeName(fifo).constData(), 0600) != 0)
        return false;
    const QByteArray name = fifoName.toUtf8();
    const QByteArray text = kind == Playlist::Hls
                                ? "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:10\n#EXTINF:10.0,\n" +
                                      name + "\n#EXT-X-ENDLIST\n"
                                : "ffconcat version 1.0\nfile " + name + "\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// While alive, lets a call that waits to open `fifo` for reading go on once
// `deadlineMs` have passed, by opening the FIFO for writing, and remembers
// that it had to: a call that never opens the FIFO ends long before.
class FifoWatchdog {
public:
    FifoWatchdog(const QString& fifo, int deadlineMs = 20000)
        : m_fifo(QFile::encodeName(fifo)), m_thread([this, deadlineMs] { watch(deadlineMs); }) {}
    ~FifoWatchdog() {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

    // Whether a reader was found waiting at the FIFO after the deadline.
    bool released() const { return m_released; }

private:
    void watch(int deadlineMs) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_wake.wait_for(lock, std::chrono::milliseconds(deadlineMs), [this] { return m_stop; }))
            return;
        // Opening for writing succeeds only while a reader waits; closing at once gives it an end of file.
        while (!m_stop) {
            const int fd = ::open(m_fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_released = true;
                ::close(fd);
            }
            m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_stop; });
        }
    }

    const QByteArray m_fifo;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::atomic<bool> m_released{false};
    std::thread m_thread;
};

} // namespace playlisttest
