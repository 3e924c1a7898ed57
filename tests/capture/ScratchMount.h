#pragma once

// A small file system of the test's own (tmpfs) on a fresh folder: a folder
// that is really full or really read-only, which file permissions cannot give
// a test that runs as root. Mounting needs the privilege to mount; without it
// mounted() is false and the test skips.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace capturetest {

class ScratchMount {
public:
    enum class Kind { Writable, ReadOnly, Full };

    explicit ScratchMount(Kind kind) {
        if (!m_dir.isValid())
            return;
        const QByteArray path = QFile::encodeName(m_dir.path());
        const unsigned long flags = kind == Kind::ReadOnly ? MS_RDONLY : 0;
        m_mounted = ::mount("tmpfs", path.constData(), "tmpfs", flags, "size=512k,mode=0755") == 0;
        if (m_mounted && kind == Kind::Full)
            fill(path + "/filler");
    }
    ~ScratchMount() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

private:
    // Writes until the file system has no block left.
    static void fill(const QByteArray& file) {
        const int handle = ::open(file.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (handle < 0)
            return;
        const QByteArray block(4096, 'x');
        while (::write(handle, block.constData(), size_t(block.size())) > 0) {
        }
        ::close(handle);
    }

    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace capturetest
