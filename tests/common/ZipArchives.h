#pragma once

// Zip archives written with libzip for the unpacking tests, and the files and
// folders around them: read, written, listed (links shown with their
// targets), and a small volume to fill.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringList>

#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ziptest {

struct ZipEntry {
    QByteArray name;
    QByteArray data;
    // A symbolic link to `data` instead of a file.
    bool isSymlink = false;
};

// Writes a zip archive of `entries` at `path`; false when libzip refuses.
inline bool writeZip(const QString& path, const QList<ZipEntry>& entries) {
    QFile::remove(path);
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const ZipEntry& entry : entries) {
        if (entry.name.endsWith('/')) {
            if (zip_dir_add(archive, entry.name.constData(), ZIP_FL_ENC_UTF_8) < 0) {
                zip_discard(archive);
                return false;
            }
            continue;
        }
        // The data is copied by libzip at close time: keep it alive until then.
        void* copy = malloc(std::size_t(std::max<qsizetype>(1, entry.data.size())));
        memcpy(copy, entry.data.constData(), std::size_t(entry.data.size()));
        zip_source_t* source = zip_source_buffer(archive, copy, zip_uint64_t(entry.data.size()), 1);
        const zip_int64_t index = source ? zip_file_add(archive, entry.name.constData(), source,
                                                        ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE)
                                         : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            zip_discard(archive);
            return false;
        }
        if (entry.isSymlink)
            zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             zip_uint32_t(S_IFLNK | 0777) << 16);
    }
    return zip_close(archive) == 0;
}

inline QByteArray zipBytes(const QString& scratchPath, const QList<ZipEntry>& entries) {
    if (!writeZip(scratchPath, entries))
        return {};
    QFile file(scratchPath);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Changes a 32-bit field of entry `index` in both its local and its central
// header of a zip archive made by writeZip (CRC: 14 and 16; unpacked size:
// 22 and 24), so that the two still agree.
inline bool patchZipEntry(QByteArray& zip, int index, int localOffset, int centralOffset, quint32 value) {
    auto u16 = [&zip](qsizetype at) { return qsizetype(quint8(zip[at]) | quint8(zip[at + 1]) << 8); };
    auto u32 = [&](qsizetype at) { return qsizetype(u16(at) | u16(at + 2) << 16); };
    auto put = [&zip](qsizetype at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            zip[at + i] = char((v >> (8 * i)) & 0xff);
    };
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0)
        return false;
    qsizetype central = u32(end + 16);
    for (int i = 0; i < index; ++i)
        central += 46 + u16(central + 28) + u16(central + 30) + u16(central + 32);
    if (zip.mid(central, 4) != QByteArray("PK\x01\x02", 4))
        return false;
    const qsizetype local = u32(central + 42);
    if (zip.mid(local, 4) != QByteArray("PK\x03\x04", 4))
        return false;
    put(local + localOffset, value);
    put(central + centralOffset, value);
    return true;
}

// A small tmpfs at `path` while the object lives, when the process may mount
// one (as root); otherwise mounted() is false and the folder is a plain one.
class SmallVolume {
public:
    SmallVolume(const QString& path, qint64 bytes) : m_path(path) {
        QDir().mkpath(path);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        m_mounted = ::geteuid() == 0 && ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0,
                                                options.constData()) == 0;
    }
    ~SmallVolume() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    bool mounted() const { return m_mounted; }
    // Remounts the volume read-only (or writable again).
    bool setReadOnly(bool readOnly) {
        return m_mounted && ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs",
                                    MS_REMOUNT | (readOnly ? MS_RDONLY : 0), nullptr) == 0;
    }

private:
    QString m_path;
    bool m_mounted = false;
};

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(data);
}

// The entries under `root`, sorted; a link shows its target (inside `root`, or "outside").
inline QStringList tree(const QString& root) {
    QStringList names;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QString name = path.mid(root.size() + 1);
        if (QFileInfo(path).isSymLink()) {
            const QString target = QFile::symLinkTarget(path);
            name += QStringLiteral(" -> ") + (target.startsWith(root + QLatin1Char('/'))
                                                  ? target.mid(root.size() + 1)
                                                  : QStringLiteral("outside"));
        }
        names.append(name);
    }
    names.sort();
    return names;
}

// `size` bytes that do not compress.
inline QByteArray noise(int size, quint32 seed) {
    QByteArray data(size, Qt::Uninitialized);
    for (char& byte : data) {
        seed = seed * 1664525u + 1013904223u;
        byte = char(seed >> 24);
    }
    return data;
}

} // namespace ziptest
