#include "platform/system/FileManager.h"

#include "platform/system/FileSystemRepresentation.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
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
    const QString folder = url.toLocalFile();
    QByteArray encoded = fileSystemRepresentation(url);
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

    if (!encoded.endsWith('/'))
        encoded += '/';
    QList<QUrl> urls;
    urls.reserve(qsizetype(names.size()));
    // The names' own bytes, so that a name that is not UTF-8 opens again.
    for (const std::string& name : names)
        urls.append(fileURLWithFileSystemRepresentation(encoded + QByteArray::fromStdString(name)));
    return urls;
}

std::optional<QString> FileManager::stringWithContentsOfUtf8File(const QUrl& url, QString* error,
                                                                 qint64 maxBytes) {
    const QString path = url.toLocalFile();
    if (!url.isLocalFile()) {
        setError(error, QStringLiteral("The file couldn\u2019t be opened because there is no such file."));
        return std::nullopt;
    }
    // Not blocking: a FIFO standing where a text file is expected must not
    // hold the caller until a writer comes; fstat below refuses it.
    const int fd = ::open(fileSystemRepresentation(url).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        setError(error,
                 QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened because %2.")
                     .arg(displayName(path), code == EACCES || code == EPERM
                                                 ? QStringLiteral("you don\u2019t have permission to view it")
                                                 : QStringLiteral("there is no such file")));
        return std::nullopt;
    }
    struct stat info {};
    // Links are followed by open(); what they lead to must be a regular file
    // (not a device such as /dev/zero, a FIFO or a folder).
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        setError(error,
                 QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened because it isn\u2019t a "
                                "regular file.")
                     .arg(displayName(path)));
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.resize(qsizetype(std::clamp<qint64>(std::min<qint64>(info.st_size, maxBytes), 0, maxBytes)));
    qsizetype filled = 0;
    int readError = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            readError = errno;
        if (n <= 0)
            break;
        filled += qsizetype(n);
    }
    ::close(fd);
    if (readError != 0) {
        setError(error, QStringLiteral("The file \u201C%1\u201D couldn\u2019t be read: %2")
                            .arg(displayName(path), QString::fromLocal8Bit(std::strerror(readError))));
        return std::nullopt;
    }
    bytes.truncate(filled);
    // Stateful: a character cut in two by the size limit is dropped, not an error.
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        setError(error, QStringLiteral("The file \u201C%1\u201D couldn\u2019t be opened using text encoding "
                                       "Unicode (UTF-8).")
                            .arg(displayName(path)));
        return std::nullopt;
    }
    return text;
}

QByteArray FileManager::fileSystemRepresentation(const QString& path) {
    return platform::fileSystemRepresentation(path);
}

QByteArray FileManager::fileSystemRepresentation(const QUrl& url) {
    return platform::fileSystemRepresentation(url);
}

QString FileManager::stringWithFileSystemRepresentation(const QByteArray& bytes) {
    return platform::stringWithFileSystemRepresentation(bytes);
}

QString FileManager::filePath(const QUrl& url) {
    return url.isLocalFile() ? platform::filePath(url) : QString();
}

QUrl FileManager::fileURLWithFileSystemRepresentation(const QByteArray& bytes) {
    return fileURLWithPath(stringWithFileSystemRepresentation(bytes));
}

QUrl FileManager::fileURLWithPath(const QString& path) {
    QList<uchar> escaped;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (platform::isEscapedByte(path[i], i > 0 ? path[i - 1] : QChar()))
            escaped.append(uchar(path[i].unicode() - platform::kEscapeBase));
    }
    if (escaped.isEmpty())
        return QUrl::fromLocalFile(path);
    // QUrl builds the URL around a private-use stand-in the path does not
    // hold; each stand-in's encoding then becomes the byte it stands for.
    char16_t standIn = 0xE000;
    while (path.contains(QChar(standIn)))
        ++standIn;
    QString marked = path;
    for (qsizetype i = 0; i < marked.size(); ++i) {
        if (platform::isEscapedByte(marked[i], i > 0 ? path[i - 1] : QChar()))
            marked[i] = QChar(standIn);
    }
    QByteArray encoded = QUrl::fromLocalFile(marked).toEncoded();
    const QByteArray mark = QString(QChar(standIn)).toUtf8().toPercentEncoding();
    qsizetype from = 0;
    for (const uchar byte : std::as_const(escaped)) {
        const qsizetype at = encoded.indexOf(mark, from);
        if (at < 0)
            break;
        const QByteArray replacement = '%' + QByteArray::number(byte, 16).toUpper();
        encoded.replace(at, mark.size(), replacement);
        from = at + replacement.size();
    }
    return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}

bool FileManager::isRegularFile(const QString& path) {
    struct stat info {};
    return ::stat(fileSystemRepresentation(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

QString FileManager::lastPathComponent(const QUrl& url) {
    QString path = url.isLocalFile() ? filePath(url) : url.path(QUrl::FullyDecoded);
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
    // What the user may still write, as file managers count it: blocks kept for root are not free.
    attributes.free = double(info.f_bavail) * double(info.f_frsize);
    return attributes;
}
