#include "platform/system/Bookmark.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

constexpr char kFormat[] = "kavrin-bookmark";
constexpr int kFormatVersion = 1;

// What tells one file-system item from another that later takes its path.
struct Identity {
    quint64 device = 0;
    quint64 inode = 0;
    // Nanoseconds since the epoch; absent where the file system keeps no birth time.
    std::optional<qint64> birth;

    bool sameItem(const Identity& other) const {
        if (device != other.device || inode != other.inode)
            return false;
        // An inode number may be reused by an item made after the first was deleted.
        return !birth || !other.birth || *birth == *other.birth;
    }
};

std::optional<Identity> identityOf(const QByteArray& path, int* error = nullptr) {
    struct statx info {};
    if (statx(AT_FDCWD, path.constData(), 0, STATX_INO | STATX_BTIME, &info) != 0) {
        if (error)
            *error = errno;
        return std::nullopt;
    }
    Identity identity;
    identity.device = makedev(info.stx_dev_major, info.stx_dev_minor);
    identity.inode = info.stx_ino;
    if (info.stx_mask & STATX_BTIME)
        identity.birth = qint64(info.stx_btime.tv_sec) * 1000000000 + info.stx_btime.tv_nsec;
    return identity;
}

QString displayName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

QString missingItemText(const QString& path) {
    return QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened because there is no such file.")
        .arg(displayName(path));
}

QString systemErrorText(const QString& path, int error) {
    if (error == ENOENT || error == ENOTDIR)
        return missingItemText(path);
    if (error == EACCES || error == EPERM)
        return QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened because you don\u2019t have "
                              "permission to view it.")
            .arg(displayName(path));
    return QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened: %2")
        .arg(displayName(path), QString::fromLocal8Bit(std::strerror(error)));
}

// An entry of `folder` with the given identity (the item renamed within its folder).
std::optional<QString> findRenamed(const QString& folder, const Identity& identity) {
    const QByteArray folderPath = QFile::encodeName(folder);
    DIR* dir = opendir(folderPath.constData());
    if (!dir)
        return std::nullopt;
    std::optional<QString> found;
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (entry->d_ino != 0 && entry->d_ino != identity.inode)
            continue;
        const QByteArray path = folderPath + '/' + entry->d_name;
        const std::optional<Identity> candidate = identityOf(path);
        if (candidate && candidate->sameItem(identity)) {
            found = QFile::decodeName(path);
            break;
        }
    }
    closedir(dir);
    return found;
}

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

std::optional<QByteArray> Bookmark::create(const QUrl& url, QString* error) {
    if (!url.isLocalFile()) {
        setError(error, QStringLiteral("The file couldn\u2019t be opened because the specified URL type "
                                       "isn\u2019t supported."));
        return std::nullopt;
    }
    const QString path = QDir::cleanPath(QFileInfo(url.toLocalFile()).absoluteFilePath());
    int code = 0;
    const std::optional<Identity> identity = identityOf(QFile::encodeName(path), &code);
    if (!identity) {
        setError(error, systemErrorText(path, code));
        return std::nullopt;
    }
    QJsonObject object{{"format", kFormat},
                       {"version", kFormatVersion},
                       {"path", path},
                       {"device", QString::number(identity->device)},
                       {"inode", QString::number(identity->inode)}};
    if (identity->birth)
        object.insert("birth", QString::number(*identity->birth));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<Bookmark::Resolution> Bookmark::resolve(const QByteArray& data, QString* error) {
    const QJsonObject object = QJsonDocument::fromJson(data).object();
    const QString path = object.value("path").toString();
    bool deviceOk = false;
    bool inodeOk = false;
    Identity saved;
    saved.device = object.value("device").toString().toULongLong(&deviceOk);
    saved.inode = object.value("inode").toString().toULongLong(&inodeOk);
    if (object.value("format").toString() != QLatin1String(kFormat) ||
        object.value("version").toInt() != kFormatVersion || !QDir::isAbsolutePath(path) || !deviceOk ||
        !inodeOk) {
        setError(error,
                 QStringLiteral("The file couldn\u2019t be opened because it isn\u2019t in the correct "
                                "format."));
        return std::nullopt;
    }
    if (object.contains("birth")) {
        bool ok = false;
        const qint64 birth = object.value("birth").toString().toLongLong(&ok);
        if (ok)
            saved.birth = birth;
    }

    int code = 0;
    if (const std::optional<Identity> current = identityOf(QFile::encodeName(path), &code)) {
        // The path still names an item: the one bookmarked, or the one that replaced it.
        return Resolution{QUrl::fromLocalFile(path), !current->sameItem(saved)};
    }
    if (code == ENOENT) {
        if (const std::optional<QString> renamed = findRenamed(QFileInfo(path).path(), saved))
            return Resolution{QUrl::fromLocalFile(*renamed), true};
    }
    setError(error, systemErrorText(path, code));
    return std::nullopt;
}
