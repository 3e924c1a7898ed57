#include "platform/system/PartialFile.h"

#include "platform/system/FileSystemRepresentation.h"

#include <QRandomGenerator>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Marks the temporary files: "." + name + marker + random letters.
constexpr char kMarker[] = ".partial-";
constexpr int kRandomLetters = 8;
// Room for the marker within the usual 255-byte limit of a name.
constexpr qsizetype kNamePartLimit = 200;
// How much is written before the disk is asked to start writing it back.
constexpr off_t kWriteBackStep = 8 * 1024 * 1024;

QByteArray randomLetters() {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray text(kRandomLetters, Qt::Uninitialized);
    for (char& c : text)
        c = letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return text;
}

} // namespace

bool PartialFile::isTemporaryName(const QByteArray& name) {
    const qsizetype marker = name.lastIndexOf(kMarker);
    return name.startsWith('.') && marker > 0 &&
           name.size() - marker == qsizetype(sizeof kMarker - 1) + kRandomLetters;
}

PartialFile::PartialFile(const QString& path) : m_path(platform::fileSystemRepresentation(path)) {
    const qsizetype slash = m_path.lastIndexOf('/');
    const QByteArray folder = slash >= 0 ? m_path.left(slash + 1) : QByteArray();
    const QByteArray name = m_path.mid(slash + 1).left(kNamePartLimit);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray temporary = folder + '.' + name + kMarker + randomLetters();
        // O_EXCL: a name that stands already, a link included, is never opened.
        m_handle = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (m_handle >= 0) {
            m_temporary = temporary;
            // Held while this process lives: removeAbandoned leaves it alone.
            ::flock(m_handle, LOCK_EX);
            return;
        }
        if (errno != EEXIST)
            break;
    }
    m_error = errno;
}

PartialFile::~PartialFile() {
    discard();
}

QString PartialFile::temporaryPath() const {
    return platform::stringWithFileSystemRepresentation(m_temporary);
}

bool PartialFile::write(const QByteArray& data) {
    if (!isOpen())
        return false;
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(m_handle, data.constData() + done, size_t(data.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_error = written < 0 ? errno : ENOSPC;
            return false;
        }
        done += written;
    }
    m_written += data.size();
    // Started every few megabytes: a large file's flush at the commit would otherwise take about as
    // long again as the writing.
    if (m_written - m_writeBackFrom >= kWriteBackStep) {
        ::sync_file_range(m_handle, m_writeBackFrom, m_written - m_writeBackFrom, SYNC_FILE_RANGE_WRITE);
        m_writeBackFrom = m_written;
    }
    return true;
}

bool PartialFile::commit(bool flush) {
    if (!isOpen())
        return false;
    if (flush && ::fsync(m_handle) != 0 && errno != EINVAL) {
        m_error = errno;
        discard();
        return false;
    }
    if (::rename(m_temporary.constData(), m_path.constData()) != 0) {
        m_error = errno == ENOTEMPTY || errno == EEXIST ? EISDIR : errno;
        discard();
        return false;
    }
    m_temporary.clear();
    ::close(m_handle);
    m_handle = -1;
    return true;
}

void PartialFile::discard() {
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
    if (m_handle >= 0)
        ::close(m_handle);
    m_handle = -1;
}

void PartialFile::removeAbandoned(const QString& folder) {
    const QByteArray bytes = platform::fileSystemRepresentation(folder);
    DIR* dir = ::opendir(bytes.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!isTemporaryName(name))
            continue;
        const int handle =
            ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (handle < 0)
            continue;
        struct stat info {};
        // A writer that lives holds its lock; only a regular file of a writer that is gone goes.
        if (::fstat(handle, &info) == 0 && S_ISREG(info.st_mode) && ::flock(handle, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        ::close(handle);
    }
    ::closedir(dir);
}
