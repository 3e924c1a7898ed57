#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

// Remembers a local file or folder so that it is found again after a restart,
// as a security-scoped bookmark does: the data holds the item's absolute path
// and its identity (device, inode and, where the file system keeps one, birth
// time). Resolving finds the item at its path; when the path now holds another
// item (the folder was replaced) or the item was renamed within its folder,
// the answer is marked stale so that the caller stores a fresh bookmark.
class Bookmark {
public:
    struct Resolution {
        QUrl url;
        // The item moved or was replaced since the bookmark was made.
        bool isStale = false;
    };

    // Bookmark data of a local file URL; none, with the reason in `error`,
    // when the URL is not local or the item does not exist.
    static std::optional<QByteArray> create(const QUrl& url, QString* error = nullptr);

    // The item `data` names; none, with the reason in `error`, when the data
    // is not a bookmark or the item is gone.
    static std::optional<Resolution> resolve(const QByteArray& data, QString* error = nullptr);
};
