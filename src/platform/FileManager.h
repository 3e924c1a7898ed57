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

    // The whole file at `url` as UTF-8 text; none, with the reason in `error`,
    // when it cannot be read or is not UTF-8.
    static std::optional<QString> stringWithContentsOfUtf8File(const QUrl& url, QString* error = nullptr);

    // The path extension of a file URL's last component ("MP4" of "a_F_N.MP4"):
    // the text after its last ".", empty when there is none or the name only
    // begins with it.
    static QString pathExtension(const QUrl& url);
    // The last path component of a URL ("/" for the root).
    static QString lastPathComponent(const QUrl& url);

    // The size and the free space of the file system holding `path`, in bytes.
    struct FileSystemAttributes {
        double size = 0;
        double free = 0;
    };
    static std::optional<FileSystemAttributes> attributesOfFileSystem(const QString& path);

    // The user's Downloads folder (the XDG download directory); it may not exist yet.
    static QString downloadsDirectory();
};
