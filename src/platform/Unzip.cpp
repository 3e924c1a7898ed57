#include "platform/Unzip.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <zip.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Entry {
    zip_uint64_t index = 0;
    QStringList components; // the entry's path below the folder, normalised
    bool isDirectory = false;
    bool isSymlink = false;
    QByteArray linkTarget;
    mode_t mode = 0644;
};

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ArchiveFile = std::unique_ptr<zip_file_t, FileCloser>;

QString nameText(const char* name) {
    return QString::fromUtf8(name);
}

// The components of an entry name; none when it is absolute or climbs with "..".
std::optional<QStringList> safeComponents(const QString& name) {
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QChar(0)))
        return std::nullopt;
    QStringList components;
    for (const QString& part : name.split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        if (part == QLatin1String(".."))
            return std::nullopt;
        components.append(part);
    }
    if (components.isEmpty())
        return std::nullopt;
    return components;
}

// Whether a link at `linkComponents` with `target` stays inside the folder,
// judged on the names alone: the target is relative, its ".." steps come
// first (so that none climbs out of a linked folder) and never leave the folder.
bool linkTargetIsContained(const QStringList& linkComponents, const QByteArray& target) {
    const QString text = QString::fromUtf8(target);
    if (text.isEmpty() || text.startsWith(QLatin1Char('/')) || text.contains(QChar(0)))
        return false;
    QStringList position = linkComponents.mid(0, linkComponents.size() - 1);
    bool pastClimbs = false;
    for (const QString& part : text.split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (pastClimbs || position.isEmpty())
                return false;
            position.removeLast();
            continue;
        }
        pastClimbs = true;
        position.append(part);
    }
    return true;
}

std::optional<QString> realPath(const QString& path) {
    char resolved[PATH_MAX];
    if (!::realpath(QFile::encodeName(path).constData(), resolved))
        return std::nullopt;
    return QFile::decodeName(resolved);
}

bool isInside(const QString& path, const QString& root) {
    return path == root || path.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
}

class Unpacker {
public:
    Unpacker(zip_t* archive, QString root, QString archivePath)
        : m_archive(archive), m_root(std::move(root)), m_archivePath(std::move(archivePath)) {}

    QString error;

    bool readEntries(std::vector<Entry>& entries) {
        const zip_int64_t count = zip_get_num_entries(m_archive, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t stat;
            zip_stat_init(&stat);
            if (zip_stat_index(m_archive, zip_uint64_t(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME)) {
                error = QStringLiteral("The archive's entry %1 cannot be read: %2")
                            .arg(i)
                            .arg(nameText(zip_strerror(m_archive)));
                return false;
            }
            const QString name = nameText(stat.name);
            Entry entry;
            entry.index = zip_uint64_t(i);
            const std::optional<QStringList> components = safeComponents(name);
            if (!components) {
                error = QStringLiteral("The archive's entry \"%1\" would be written outside the folder.")
                            .arg(name);
                return false;
            }
            entry.components = *components;
            entry.isDirectory = name.endsWith(QLatin1Char('/'));
            zip_uint8_t system = 0;
            zip_uint32_t attributes = 0;
            if (zip_file_get_external_attributes(m_archive, entry.index, 0, &system, &attributes) == 0 &&
                system == ZIP_OPSYS_UNIX) {
                const mode_t mode = mode_t(attributes >> 16);
                if (S_ISLNK(mode))
                    entry.isSymlink = true;
                else if (S_ISDIR(mode))
                    entry.isDirectory = true;
                else if (mode & 0777)
                    entry.mode = (mode & 0777) | 0600;
            }
            if (entry.isSymlink) {
                if (!readWhole(entry, stat, entry.linkTarget, 4096))
                    return false;
                if (!linkTargetIsContained(entry.components, entry.linkTarget)) {
                    error = QStringLiteral("The archive's link \"%1\" points outside the folder.").arg(name);
                    return false;
                }
            }
            entries.push_back(std::move(entry));
        }
        return true;
    }

    bool unpack(const Entry& entry) {
        const QStringList parents =
            entry.isDirectory ? entry.components : entry.components.mid(0, entry.components.size() - 1);
        const std::optional<QString> folder = makeFolders(parents);
        if (!folder)
            return false;
        if (entry.isDirectory)
            return true;
        const QString path = *folder + QLatin1Char('/') + entry.components.last();
        const QByteArray encoded = QFile::encodeName(path);
        struct stat existing {};
        if (::lstat(encoded.constData(), &existing) == 0) {
            if (S_ISDIR(existing.st_mode)) {
                error = QStringLiteral("\"%1\" is a folder and cannot be replaced.").arg(path);
                return false;
            }
            if (realPath(path).value_or(QString()) == m_archivePath) {
                error = QStringLiteral("The archive's entry \"%1\" would replace the archive.").arg(path);
                return false;
            }
            // Never write through an existing link: it is replaced like a file.
            if (S_ISLNK(existing.st_mode) && ::unlink(encoded.constData()) != 0)
                return failErrno(path);
        }
        if (entry.isSymlink) {
            if (S_ISREG(existing.st_mode) && ::unlink(encoded.constData()) != 0)
                return failErrno(path);
            if (::symlink(entry.linkTarget.constData(), encoded.constData()) != 0)
                return failErrno(path);
            return true;
        }
        return writeFile(entry, path);
    }

private:
    bool failErrno(const QString& path) {
        error = QStringLiteral("\"%1\" cannot be written: %2")
                    .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }

    bool readWhole(const Entry& entry, const zip_stat_t& stat, QByteArray& out, qint64 limit) {
        if ((stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(limit)) {
            error = QStringLiteral("The archive's link \"%1\" is too long.")
                        .arg(entry.components.join(QLatin1Char('/')));
            return false;
        }
        ArchiveFile file(zip_fopen_index(m_archive, entry.index, 0));
        if (!file) {
            error = QStringLiteral("The archive's entry cannot be read: %1")
                        .arg(nameText(zip_strerror(m_archive)));
            return false;
        }
        char buffer[4096];
        const zip_int64_t read = zip_fread(file.get(), buffer, sizeof buffer);
        if (read < 0) {
            error = QStringLiteral("The archive's entry cannot be read: %1")
                        .arg(nameText(zip_file_strerror(file.get())));
            return false;
        }
        out = QByteArray(buffer, int(read));
        return true;
    }

    // Creates the folders one by one below the root, following only links that
    // stay inside it; the real path of the last one.
    std::optional<QString> makeFolders(const QStringList& components) {
        QString current = m_root;
        for (const QString& part : components) {
            const QString path = current + QLatin1Char('/') + part;
            const QByteArray encoded = QFile::encodeName(path);
            struct stat existing {};
            if (::lstat(encoded.constData(), &existing) != 0) {
                if (::mkdir(encoded.constData(), 0755) != 0 && errno != EEXIST) {
                    failErrno(path);
                    return std::nullopt;
                }
            } else if (!S_ISDIR(existing.st_mode) && !S_ISLNK(existing.st_mode)) {
                error = QStringLiteral("\"%1\" is a file, not a folder.").arg(path);
                return std::nullopt;
            }
            const std::optional<QString> resolved = realPath(path);
            if (!resolved || !isInside(*resolved, m_root)) {
                error = QStringLiteral("\"%1\" leads outside the folder.").arg(path);
                return std::nullopt;
            }
            struct stat target {};
            if (::stat(QFile::encodeName(*resolved).constData(), &target) != 0 || !S_ISDIR(target.st_mode)) {
                error = QStringLiteral("\"%1\" is not a folder.").arg(path);
                return std::nullopt;
            }
            current = *resolved;
        }
        return current;
    }

    bool writeFile(const Entry& entry, const QString& path) {
        ArchiveFile file(zip_fopen_index(m_archive, entry.index, 0));
        if (!file) {
            error = QStringLiteral("The archive's entry \"%1\" cannot be read: %2")
                        .arg(entry.components.join(QLatin1Char('/')), nameText(zip_strerror(m_archive)));
            return false;
        }
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, entry.mode);
        if (fd < 0)
            return failErrno(path);
        constexpr std::size_t kChunk = 1024 * 1024;
        std::unique_ptr<char[]> buffer(new char[kChunk]);
        bool ok = true;
        for (;;) {
            const zip_int64_t read = zip_fread(file.get(), buffer.get(), kChunk);
            if (read < 0) {
                error = QStringLiteral("The archive's entry \"%1\" cannot be read: %2")
                            .arg(entry.components.join(QLatin1Char('/')),
                                 nameText(zip_file_strerror(file.get())));
                ok = false;
                break;
            }
            if (read == 0)
                break;
            const char* data = buffer.get();
            zip_int64_t left = read;
            while (left > 0) {
                const ssize_t written = ::write(fd, data, std::size_t(left));
                if (written < 0) {
                    if (errno == EINTR)
                        continue;
                    failErrno(path);
                    ok = false;
                    break;
                }
                data += written;
                left -= written;
            }
            if (!ok)
                break;
        }
        if (::close(fd) != 0 && ok)
            return failErrno(path);
        return ok;
    }

    zip_t* m_archive;
    QString m_root;
    QString m_archivePath;
};

} // namespace

bool unzipItem(const QUrl& archive, const QUrl& folder, QString* error) {
    auto failWith = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!archive.isLocalFile() || !folder.isLocalFile())
        return failWith(QStringLiteral("The archive and the folder must be local files."));
    const std::optional<QString> root = realPath(folder.toLocalFile());
    if (!root || !QFileInfo(*root).isDir())
        return failWith(QStringLiteral("The folder %1 does not exist.").arg(folder.toLocalFile()));
    const QString archivePath = realPath(archive.toLocalFile()).value_or(archive.toLocalFile());

    int code = 0;
    Archive handle(zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!handle) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        const QString reason = nameText(zip_error_strerror(&zipError));
        zip_error_fini(&zipError);
        return failWith(QStringLiteral("The file %1 is not a readable zip archive: %2")
                            .arg(QFileInfo(archivePath).fileName(), reason));
    }

    Unpacker unpacker(handle.get(), *root, archivePath);
    std::vector<Entry> entries;
    // Every name is checked before the first byte is written.
    if (!unpacker.readEntries(entries))
        return failWith(unpacker.error);
    for (const Entry& entry : entries) {
        if (!unpacker.unpack(entry))
            return failWith(unpacker.error);
    }
    return true;
}
