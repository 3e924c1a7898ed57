#include "platform/system/Unzip.h"

#include "platform/system/PartialFile.h"

#include <QFile>

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace {

using Failure = UnzipResult::Failure;

struct Entry {
    zip_uint64_t index = 0;
    std::string name;                    // as the archive gives it, for messages
    std::vector<std::string> components; // the path below the folder, normalised
    bool isDirectory = false;
    zip_uint64_t size = 0;
    mode_t mode = 0644;
};

// One rename done while moving the entries into place, undone in reverse order on failure.
struct Rename {
    std::string from;
    std::string to;
};

// What the move phase does for one item of the temporary tree.
struct Move {
    std::string from;
    std::string to;
    bool replaces = false; // a file (or link) of that name is there and is kept aside first
};

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ArchiveFile = std::unique_ptr<zip_file_t, FileCloser>;

QString text(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

bool isSpaceError(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

// The components of an entry name below the folder, none of them for the
// folder itself ("./"); none when it is absolute, climbs with ".." or holds a NUL.
std::optional<std::vector<std::string>> safeComponents(const std::string& name) {
    if ((!name.empty() && name.front() == '/') || name.find('\0') != std::string::npos)
        return std::nullopt;
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t slash = name.find('/', start);
        const std::string part =
            name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part == "..")
            return std::nullopt;
        if (!part.empty() && part != ".")
            components.push_back(part);
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    return components;
}

// Whether a name is one the player gives its own temporary files or folders.
bool isReservedName(const std::string& component) {
    return component.rfind(kUnzipTemporaryPrefix, 0) == 0 ||
           PartialFile::isTemporaryName(QByteArray::fromStdString(component));
}

std::string join(const std::string& base, const std::vector<std::string>& components, std::size_t count) {
    std::string path = base;
    for (std::size_t i = 0; i < count && i < components.size(); ++i)
        path += '/' + components[i];
    return path;
}

void removeTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(path), ignored);
}

class Unpacker {
public:
    Unpacker(std::string root, const UnzipOptions& options) : m_root(std::move(root)), m_options(options) {}

    ~Unpacker() {
        if (!m_temporary.empty())
            removeTree(m_temporary);
    }

    UnzipResult result;

    bool run(const std::string& archivePath) {
        struct stat archiveInfo {};
        if (::stat(archivePath.c_str(), &archiveInfo) == 0) {
            m_archiveDevice = archiveInfo.st_dev;
            m_archiveInode = archiveInfo.st_ino;
        }
        int code = 0;
        Archive archive(zip_open(archivePath.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
        if (!archive) {
            zip_error_t error;
            zip_error_init_with_code(&error, code);
            const QString reason = QString::fromUtf8(zip_error_strerror(&error));
            zip_error_fini(&error);
            return fail(
                Failure::Damaged, 0,
                QStringLiteral("%1 is not a readable zip archive: %2").arg(text(archivePath), reason));
        }
        m_archive = archive.get();
        std::vector<Entry> entries;
        if (!readEntries(entries) || !checkSpace(entries) || !makeTemporaryFolder())
            return false;
        for (const Entry& entry : entries) {
            if (!unpack(entry))
                return false;
        }
        m_archive = nullptr;
        archive.reset();
        std::vector<Move> moves;
        if (!plan(std::string(), moves))
            return false;
        return moveIntoPlace(moves);
    }

private:
    bool fail(Failure failure, int systemError, const QString& reason) {
        if (result.failure == Failure::None) {
            result.failure = failure;
            result.systemError = systemError;
            result.error = reason;
        }
        return false;
    }

    bool failErrno(const std::string& path, const char* what) {
        const int error = errno;
        return fail(isSpaceError(error) ? Failure::NoSpace : Failure::CannotWrite, error,
                    QStringLiteral("%1 %2: %3")
                        .arg(text(path), QLatin1String(what), QString::fromLocal8Bit(std::strerror(error))));
    }

    bool cancelled() const { return m_options.cancelled && m_options.cancelled->load(); }

    bool readEntries(std::vector<Entry>& entries) {
        const zip_int64_t count = zip_get_num_entries(m_archive, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t stat;
            zip_stat_init(&stat);
            if (zip_stat_index(m_archive, zip_uint64_t(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME) ||
                !(stat.valid & ZIP_STAT_SIZE))
                return fail(Failure::Damaged, 0,
                            QStringLiteral("The archive's entry %1 cannot be read: %2")
                                .arg(i)
                                .arg(QString::fromUtf8(zip_strerror(m_archive))));
            Entry entry;
            entry.index = zip_uint64_t(i);
            entry.name = stat.name;
            entry.size = stat.size;
            const QString name = text(entry.name);
            const std::optional<std::vector<std::string>> components = safeComponents(entry.name);
            if (!components)
                return fail(Failure::Unsafe, 0,
                            QStringLiteral("The archive's entry \"%1\" would be written outside the folder.")
                                .arg(name));
            entry.components = *components;
            for (const std::string& component : entry.components) {
                if (isReservedName(component))
                    return fail(Failure::Reserved, 0,
                                QStringLiteral("The archive's entry \"%1\" is named like a temporary file "
                                               "of the player.")
                                    .arg(name));
            }
            entry.isDirectory = !entry.name.empty() && entry.name.back() == '/';
            zip_uint8_t system = 0;
            zip_uint32_t attributes = 0;
            if (zip_file_get_external_attributes(m_archive, entry.index, 0, &system, &attributes) == 0 &&
                system == ZIP_OPSYS_UNIX) {
                const mode_t mode = mode_t(attributes >> 16);
                const mode_t type = mode & S_IFMT;
                if (type == S_IFDIR) {
                    entry.isDirectory = true;
                } else if (type != 0 && type != S_IFREG) {
                    // Links (and devices, pipes, sockets) have no place in a package.
                    return fail(
                        Failure::Unsafe, 0,
                        QStringLiteral("The archive's entry \"%1\" is a link or a special file.").arg(name));
                }
                if (mode & 0777)
                    entry.mode = (mode & 0777) | 0600;
            }
            if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
                return fail(Failure::Damaged, 0,
                            QStringLiteral("The archive's entry \"%1\" is encrypted.").arg(name));
            if (entry.components.empty()) {
                // "./": the folder itself, which is there already.
                if (entry.isDirectory)
                    continue;
                return fail(
                    Failure::Damaged, 0,
                    QStringLiteral("The archive's entry \"%1\" names no file in the folder.").arg(name));
            }
            if (entry.isDirectory)
                entry.size = 0;
            entries.push_back(std::move(entry));
        }
        return true;
    }

    bool checkSpace(const std::vector<Entry>& entries) {
        struct statvfs info {};
        if (::statvfs(m_root.c_str(), &info) != 0)
            return failErrno(m_root, "cannot be read");
        const zip_uint64_t block = info.f_frsize > 0 ? zip_uint64_t(info.f_frsize) : 4096;
        zip_uint64_t total = 0;
        zip_uint64_t needed = 0;
        const zip_uint64_t cap = zip_uint64_t(std::max<qint64>(0, m_options.maximumSize));
        for (const Entry& entry : entries) {
            if (entry.size > cap || total > cap - entry.size)
                return fail(
                    Failure::TooLarge, 0,
                    QStringLiteral("The archive unpacks to more than %1 bytes.").arg(m_options.maximumSize));
            total += entry.size;
            // Every file and folder takes whole blocks.
            needed += (entry.size + block - 1) / block * block + (entry.isDirectory ? block : 0);
        }
        const zip_uint64_t available = zip_uint64_t(info.f_bavail) * block;
        if (needed > available)
            return fail(Failure::NoSpace, ENOSPC,
                        QStringLiteral("The archive unpacks to %1 bytes; %2 bytes are free.")
                            .arg(qulonglong(total))
                            .arg(qulonglong(available)));
        m_total = qint64(total);
        return true;
    }

    bool makeTemporaryFolder() {
        // Folders left by an interrupted run go first.
        if (DIR* folder = ::opendir(m_root.c_str())) {
            std::vector<std::string> leftovers;
            while (const dirent* item = ::readdir(folder)) {
                const std::string name = item->d_name;
                struct stat info {};
                if (name.rfind(kUnzipTemporaryPrefix, 0) == 0 &&
                    ::lstat((m_root + '/' + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                    leftovers.push_back(m_root + '/' + name);
            }
            ::closedir(folder);
            for (const std::string& leftover : leftovers)
                removeTree(leftover);
        }
        std::string pattern = m_root + '/' + kUnzipTemporaryPrefix + "XXXXXX";
        if (!::mkdtemp(pattern.data()))
            return failErrno(m_root, "cannot be written");
        m_temporary = pattern;
        m_new = m_temporary + "/new";
        m_old = m_temporary + "/old";
        if (::mkdir(m_new.c_str(), 0755) != 0 || ::mkdir(m_old.c_str(), 0700) != 0)
            return failErrno(m_temporary, "cannot be written");
        return true;
    }

    // Creates the first `count` components below the temporary tree.
    bool makeFolders(const std::vector<std::string>& components, std::size_t count) {
        for (std::size_t i = 1; i <= count; ++i) {
            const std::string path = join(m_new, components, i);
            if (::mkdir(path.c_str(), 0755) == 0)
                continue;
            if (errno != EEXIST)
                return failErrno(path, "cannot be created");
            struct stat info {};
            if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
                return fail(Failure::Damaged, 0,
                            QStringLiteral("The archive holds \"%1\" both as a file and as a folder.")
                                .arg(text(join(std::string(), components, i).substr(1))));
        }
        return true;
    }

    bool unpack(const Entry& entry) {
        if (cancelled())
            return fail(Failure::Cancelled, 0, QStringLiteral("The unpacking was cancelled."));
        const std::size_t depth = entry.components.size();
        if (!makeFolders(entry.components, entry.isDirectory ? depth : depth - 1))
            return false;
        if (entry.isDirectory)
            return true;
        const std::string path = join(m_new, entry.components, depth);
        const QString name = text(entry.name);
        ArchiveFile file(zip_fopen_index(m_archive, entry.index, 0));
        if (!file)
            return fail(Failure::Damaged, 0,
                        QStringLiteral("The archive's entry \"%1\" cannot be read: %2")
                            .arg(name, QString::fromUtf8(zip_strerror(m_archive))));
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, entry.mode);
        if (fd < 0) {
            if (errno == EEXIST || errno == EISDIR)
                return fail(Failure::Damaged, 0, QStringLiteral("The archive holds \"%1\" twice.").arg(name));
            return failErrno(path, "cannot be created");
        }
        const bool written = copy(file.get(), fd, entry, path);
        if (::close(fd) != 0 && written)
            return failErrno(path, "cannot be written");
        return written;
    }

    bool copy(zip_file_t* file, int fd, const Entry& entry, const std::string& path) {
        constexpr std::size_t kChunk = 256 * 1024;
        if (!m_buffer)
            m_buffer.reset(new char[kChunk]);
        zip_uint64_t done = 0;
        // Read to the end (a read of 0) so that libzip checks the CRC and the size.
        for (;;) {
            if (cancelled())
                return fail(Failure::Cancelled, 0, QStringLiteral("The unpacking was cancelled."));
            const zip_int64_t read = zip_fread(file, m_buffer.get(), kChunk);
            if (read < 0)
                return fail(Failure::Damaged, 0,
                            QStringLiteral("The archive's entry \"%1\" is damaged: %2")
                                .arg(text(entry.name), QString::fromUtf8(zip_file_strerror(file))));
            if (read == 0)
                break;
            done += zip_uint64_t(read);
            if (done > entry.size)
                return fail(Failure::Damaged, 0,
                            QStringLiteral("The archive's entry \"%1\" is larger than it says.")
                                .arg(text(entry.name)));
            const char* data = m_buffer.get();
            std::size_t left = std::size_t(read);
            while (left > 0) {
                const ssize_t count = ::write(fd, data, left);
                if (count < 0) {
                    if (errno == EINTR)
                        continue;
                    return failErrno(path, "cannot be written");
                }
                data += count;
                left -= std::size_t(count);
            }
            m_written += read;
            if (m_options.progress)
                m_options.progress(m_written, m_total);
        }
        if (done != entry.size)
            return fail(
                Failure::Damaged, 0,
                QStringLiteral("The archive's entry \"%1\" is shorter than it says.").arg(text(entry.name)));
        return true;
    }

    // Decides, before anything in the folder changes, where each item of the
    // unpacked tree goes: a new name is moved there whole, a folder already
    // there is merged into, a file (or link) there is replaced.
    bool plan(const std::string& relative, std::vector<Move>& moves) {
        const std::string from = m_new + relative;
        DIR* folder = ::opendir(from.c_str());
        if (!folder)
            return failErrno(from, "cannot be read");
        std::vector<std::string> names;
        while (const dirent* item = ::readdir(folder)) {
            const std::string name = item->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(folder);
        for (const std::string& name : names) {
            const std::string source = from + '/' + name;
            const std::string target = m_root + relative + '/' + name;
            struct stat sourceInfo {};
            struct stat targetInfo {};
            if (::lstat(source.c_str(), &sourceInfo) != 0)
                return failErrno(source, "cannot be read");
            if (::lstat(target.c_str(), &targetInfo) != 0) {
                if (errno != ENOENT)
                    return failErrno(target, "cannot be read");
                moves.push_back({source, target, false});
                continue;
            }
            const bool sourceIsFolder = S_ISDIR(sourceInfo.st_mode);
            if (S_ISDIR(targetInfo.st_mode)) {
                if (!sourceIsFolder) {
                    errno = EISDIR;
                    return failErrno(target, "is a folder and cannot be replaced");
                }
                if (!plan(relative + '/' + name, moves))
                    return false;
                continue;
            }
            if (sourceIsFolder) {
                if (S_ISLNK(targetInfo.st_mode))
                    return fail(Failure::Unsafe, 0,
                                QStringLiteral("\"%1\" is a link; nothing is unpacked through it.")
                                    .arg(text(target)));
                errno = ENOTDIR;
                return failErrno(target, "is a file, not a folder");
            }
            if (S_ISREG(targetInfo.st_mode) && targetInfo.st_dev == m_archiveDevice &&
                targetInfo.st_ino == m_archiveInode)
                return fail(Failure::Unsafe, 0,
                            QStringLiteral("The archive's entry \"%1\" would replace the archive.")
                                .arg(text(target)));
            moves.push_back({source, target, true});
        }
        return true;
    }

    bool moveIntoPlace(const std::vector<Move>& moves) {
        std::vector<Rename> done;
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const Move& move = moves[i];
            if (move.replaces) {
                const std::string kept = m_old + '/' + std::to_string(i);
                if (::rename(move.to.c_str(), kept.c_str()) != 0)
                    return undo(done, move.to);
                done.push_back({move.to, kept});
            }
            if (::rename(move.from.c_str(), move.to.c_str()) != 0)
                return undo(done, move.to);
            done.push_back({move.from, move.to});
        }
        return true;
    }

    // Puts back every rename done so far, newest first; fails with the error of `path`.
    bool undo(const std::vector<Rename>& done, const std::string& path) {
        failErrno(path, "cannot be replaced");
        for (auto it = done.rbegin(); it != done.rend(); ++it)
            ::rename(it->to.c_str(), it->from.c_str());
        return false;
    }

    std::string m_root;
    const UnzipOptions& m_options;
    zip_t* m_archive = nullptr;
    dev_t m_archiveDevice = 0;
    ino_t m_archiveInode = 0;
    std::string m_temporary;
    std::string m_new;
    std::string m_old;
    qint64 m_total = 0;
    qint64 m_written = 0;
    std::unique_ptr<char[]> m_buffer;
};

} // namespace

UnzipResult unzipArchive(const QString& archivePath, const QString& folder, const UnzipOptions& options) {
    UnzipResult result;
    char resolved[PATH_MAX];
    struct stat info {};
    int error = 0;
    if (folder.isEmpty())
        error = ENOENT;
    else if (!::realpath(QFile::encodeName(folder).constData(), resolved) || ::stat(resolved, &info) != 0)
        error = errno;
    else if (!S_ISDIR(info.st_mode))
        error = ENOTDIR;
    if (error != 0) {
        result.failure = UnzipResult::Failure::CannotWrite;
        result.systemError = error;
        result.error = QStringLiteral("The folder %1 cannot be used: %2")
                           .arg(folder, QString::fromLocal8Bit(std::strerror(error)));
        return result;
    }
    Unpacker unpacker(resolved, options);
    if (!unpacker.run(QFile::encodeName(archivePath).toStdString()))
        return unpacker.result;
    return result;
}

bool unzipItem(const QUrl& archive, const QUrl& folder, QString* error) {
    if (!archive.isLocalFile() || !folder.isLocalFile()) {
        if (error)
            *error = QStringLiteral("The archive and the folder must be local files.");
        return false;
    }
    const UnzipResult result = unzipArchive(archive.toLocalFile(), folder.toLocalFile());
    if (error)
        *error = result.error;
    return result.succeeded();
}
