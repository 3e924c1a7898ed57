#include "platform/FileManager.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/statvfs.h>
#include <vector>

namespace {

QString displayName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

QString listingErrorText(const QString& path, int error) {
    const QString name = displayName(path);
    switch (error) {
    case ENOENT:
        return QStringLiteral("The folder \u201C%1\u201D doesn\u2019t exist.").arg(name);
    case EACCES:
    case EPERM:
        return QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened because you don\u2019t have "
                              "permission to view it.")
            .arg(name);
    case ENOTDIR:
        return QStringLiteral(
                   "The file \u201C%1\u201D couldn\u2019t be opened because it isn\u2019t a folder.")
            .arg(name);
    default:
        return QStringLiteral("The folder \u201C%1\u201D couldn\u2019t be opened: %2")
            .arg(name, QString::fromLocal8Bit(std::strerror(error)));
    }
}

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

std::optional<QList<QUrl>> FileManager::contentsOfDirectory(const QUrl& url, QString* error) {
    if (!url.isLocalFile()) {
        setError(error, QStringLiteral("The file couldn\u2019t be opened because the specified URL type "
                                       "isn\u2019t supported."));
        return std::nullopt;
    }
    QString folder = url.toLocalFile();
    const QByteArray encoded = QFile::encodeName(folder);
    DIR* dir = opendir(encoded.constData());
    if (!dir) {
        setError(error, listingErrorText(folder, errno));
        return std::nullopt;
    }
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    const int readError = errno;
    closedir(dir);
    if (readError != 0) {
        setError(error, listingErrorText(folder, readError));
        return std::nullopt;
    }
    std::sort(names.begin(), names.end());

    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QList<QUrl> urls;
    urls.reserve(qsizetype(names.size()));
    for (const std::string& name : names)
        urls.append(QUrl::fromLocalFile(folder + QFile::decodeName(name.c_str())));
    return urls;
}

std::optional<QString> FileManager::stringWithContentsOfUtf8File(const QUrl& url, QString* error) {
    const QString path = url.toLocalFile();
    QFile file(path);
    if (!url.isLocalFile() || !file.open(QIODevice::ReadOnly)) {
        setError(error,
                 QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened because %2.")
                     .arg(displayName(path), url.isLocalFile() && file.exists()
                                                 ? QStringLiteral("you don\u2019t have permission to view it")
                                                 : QStringLiteral("there is no such file")));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setError(error, QStringLiteral("The file \u201C%1\u201D couldn\u2019t be read: %2")
                            .arg(displayName(path), file.errorString()));
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        setError(error, QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened using text encoding "
                                       "Unicode (UTF-8).")
                            .arg(displayName(path)));
        return std::nullopt;
    }
    return text;
}

QString FileManager::lastPathComponent(const QUrl& url) {
    QString path = url.isLocalFile() ? url.toLocalFile() : url.path(QUrl::FullyDecoded);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path == QLatin1String("/"))
        return path;
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString FileManager::pathExtension(const QUrl& url) {
    const QString name = lastPathComponent(url);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || dot + 1 >= name.size())
        return {};
    return name.mid(dot + 1);
}

QString FileManager::downloadsDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
}

std::optional<FileManager::FileSystemAttributes> FileManager::attributesOfFileSystem(const QString& path) {
    struct statvfs info {};
    if (path.isEmpty() || ::statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    FileSystemAttributes attributes;
    attributes.size = double(info.f_blocks) * double(info.f_frsize);
    attributes.free = double(info.f_bfree) * double(info.f_frsize);
    return attributes;
}
