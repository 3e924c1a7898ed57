#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// File-system helpers with the error texts the interface prints.
class FileManager {
public:
    // The entries of the folder at `url` as file URLs, hidden ones included,
    // "." and ".." left out, sorted by name (byte order) so that a folder is
    // always listed the same way. None, with the reason in `error`, when the
    // URL is not local or the folder cannot be listed.
    static std::optional<QList<QUrl>> contentsOfDirectory(const QUrl& url, QString* error = nullptr);

    // The largest part of a text file read by stringWithContentsOfUtf8File.
    static constexpr qint64 kTextFileLimit = 64 * 1024;

    // The file at `url` as UTF-8 text, at most its first `maxBytes` bytes; none,
    // with the reason in `error`, when it cannot be read, is not UTF-8, or is
    // not a regular file once links are followed (a FIFO, a device, a folder).
    static std::optional<QString> stringWithContentsOfUtf8File(const QUrl& url, QString* error = nullptr,
                                                               qint64 maxBytes = kTextFileLimit);

    // File names are bytes: a name that is not UTF-8 must reach open() with
    // the same bytes it was listed with. A file URL keeps such bytes
    // percent-encoded; a path string keeps each byte that is not part of a
    // UTF-8 character as one code unit U+DC80-U+DCFF (never produced by UTF-8
    // text). QUrl::toLocalFile, QUrl::fromLocalFile and QFile::encodeName
    // replace such bytes, so paths that go to a file system, a parser, FFmpeg
    // or libmpv pass through these.

    // The bytes of a path string (UTF-8, escaped bytes restored).
    static QByteArray fileSystemRepresentation(const QString& path);
    // The bytes of a local file URL's path; empty for any other URL.
    static QByteArray fileSystemRepresentation(const QUrl& url);
    // The path string of file-system bytes, lossless.
    static QString stringWithFileSystemRepresentation(const QByteArray& bytes);
    // The path string of a local file URL, lossless; empty for any other URL.
    static QString filePath(const QUrl& url);
    // The file URL of file-system bytes, equal to QUrl::fromLocalFile for UTF-8 names.
    static QUrl fileURLWithFileSystemRepresentation(const QByteArray& bytes);
    // The file URL of a path string, escaped bytes kept.
    static QUrl fileURLWithPath(const QString& path);
    // Whether the path at `path` (links followed) is a regular file.
    static bool isRegularFile(const QString& path);

    // The path extension of a file URL's last component ("MP4" of "a_F_N.MP4"):
    // the text after its last ".", empty when there is none or the name only
    // begins with it.
    static QString pathExtension(const QUrl& url);
    // The last path component of a URL ("/" for the root).
    static QString lastPathComponent(const QUrl& url);

    // The size and the free space of the file system holding `path`, in bytes;
    // free is the space available to the user (f_bavail).
    struct FileSystemAttributes {
        double size = 0;
        double free = 0;
    };
    static std::optional<FileSystemAttributes> attributesOfFileSystem(const QString& path);

    // The user's Downloads folder (the XDG download directory); it may not exist yet.
    static QString downloadsDirectory();
};
