// Folder bookmarks: found again after a restart, stale when the folder was
// renamed within its folder or replaced, unresolvable when it is gone.

#include "platform/system/Bookmark.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class BookmarkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.isValid()); }
    QString made(const QString& name) {
        const QString path = temp.path() + QLatin1Char('/') + name;
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }
    QTemporaryDir temp;
};

} // namespace

TEST_F(BookmarkTest, ResolvesTheSameFolderAsNotStale) {
    const QString folder = made(QStringLiteral("card folder ü #1"));
    const std::optional<QByteArray> data = Bookmark::create(QUrl::fromLocalFile(folder));
    ASSERT_TRUE(data);
    QString error;
    const std::optional<Bookmark::Resolution> resolved = Bookmark::resolve(*data, &error);
    ASSERT_TRUE(resolved) << error.toStdString();
    EXPECT_EQ(resolved->url, QUrl::fromLocalFile(folder));
    EXPECT_FALSE(resolved->isStale);

    // Also a plain file, and a path given with a trailing slash or dot segments.
    const QString file = temp.path() + QStringLiteral("/plain");
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_FALSE(Bookmark::resolve(*Bookmark::create(QUrl::fromLocalFile(file)))->isStale);
    EXPECT_EQ(Bookmark::resolve(*Bookmark::create(QUrl::fromLocalFile(folder + "/./")))->url,
              QUrl::fromLocalFile(folder));
}

TEST_F(BookmarkTest, AMovedOrReplacedFolderIsStale) {
    const QString folder = made(QStringLiteral("card"));
    const QByteArray data = *Bookmark::create(QUrl::fromLocalFile(folder));

    // Renamed within its folder: found under the new name.
    ASSERT_TRUE(QDir().rename(folder, temp.path() + QStringLiteral("/card2")));
    std::optional<Bookmark::Resolution> resolved = Bookmark::resolve(data);
    ASSERT_TRUE(resolved);
    EXPECT_TRUE(resolved->isStale);
    EXPECT_EQ(resolved->url, QUrl::fromLocalFile(temp.path() + QStringLiteral("/card2")));

    // Replaced: another folder now stands at the path (made before the old one
    // goes, so that it cannot take the old inode number).
    const QByteArray data2 = *Bookmark::create(resolved->url);
    made(QStringLiteral("card3"));
    ASSERT_TRUE(QDir(temp.path() + QStringLiteral("/card2")).removeRecursively());
    ASSERT_TRUE(
        QDir().rename(temp.path() + QStringLiteral("/card3"), temp.path() + QStringLiteral("/card2")));
    resolved = Bookmark::resolve(data2);
    ASSERT_TRUE(resolved);
    EXPECT_TRUE(resolved->isStale);
    EXPECT_EQ(resolved->url, QUrl::fromLocalFile(temp.path() + QStringLiteral("/card2")));
}

TEST_F(BookmarkTest, GoneFoldersAndBadDataDoNotResolve) {
    const QString folder = made(QStringLiteral("gone"));
    const QByteArray data = *Bookmark::create(QUrl::fromLocalFile(folder));
    ASSERT_TRUE(QDir(folder).removeRecursively());

    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        {"deleted folder", data},
        {"not a bookmark", QByteArray("garbage")},
        {"empty", QByteArray()},
        {"relative path",
         QByteArray(R"({"format":"kavrin-bookmark","version":1,"path":"a","device":"1","inode":"2"})")},
        {"other version",
         QByteArray(R"({"format":"kavrin-bookmark","version":9,"path":"/","device":"1","inode":"2"})")}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        QString error;
        EXPECT_FALSE(Bookmark::resolve(test.data, &error));
        EXPECT_FALSE(error.isEmpty());
    }

    QString error;
    EXPECT_FALSE(Bookmark::create(QUrl::fromLocalFile(folder), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("gone"))) << error.toStdString();
    EXPECT_FALSE(Bookmark::create(QUrl(QStringLiteral("https://example.com/card")), &error));
}
