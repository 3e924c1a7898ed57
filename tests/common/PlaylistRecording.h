#pragma once

// A card file named like a recording that holds a playlist naming a FIFO
// beside it, and a watchdog for the calls that read it: a reader that follows
// the playlist waits in open() until something writes to the FIFO.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <fcntl.h>
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
// `deadlineMs` have passed, and remembers that it had to: a call that never
// opens the FIFO ends long before.
class FifoWatchdog {
public:
    explicit FifoWatchdog(const QString& fifo, int deadlineMs = 20000)
        : m_thread([this, path = QFile::encodeName(fifo), deadlineMs] {
              const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
              while (!m_stop) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
                  // Opening for writing succeeds only while a reader waits; closing gives it an end of file.
                  const int fd = std::chrono::steady_clock::now() < deadline
                                     ? -1
                                     : ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (fd >= 0) {
                      m_released = true;
                      ::close(fd);
                  }
              }
          }) {}
    ~FifoWatchdog() {
        m_stop = true;
        m_thread.join();
    }

    // Whether a reader was found waiting at the FIFO after the deadline.
    bool released() const { return m_released; }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_released{false};
    std::thread m_thread;
};

} // namespace playlisttest
