// Unpacking into a folder: archives made here, ordinary and hostile. An entry
// that would land outside the folder stops the unpacking before anything is
// written, and nothing outside the folder changes; an archive that fails
// half-way leaves the folder as it was.

#include "common/ZipArchives.h"

#include "platform/system/Unzip.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QUrl>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace ziptest;

TEST(UnzipTest, EntriesLandInsideTheFolderOrNothingIsWritten) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString root = temp.path() + QStringLiteral("/card");
    const QString outside = temp.path() + QStringLiteral("/outside");
    const QString archive = temp.path() + QStringLiteral("/package.zip");
    const struct {
        const char* name;
        QList<ZipEntry> entries;
        // Made in the folder before unpacking: links to "outside" or its file.
        QStringList linksOut;
        bool unpacks;
        QStringList after;
    } cases[] = {
        {"folders and files",
         {{"FW.bin", "fw"}, {"data/", ""}, {"data/a/b.txt", "b"}, {"./c.txt", "c"}},
         {},
         true,
         {"FW.bin", "c.txt", "data", "data/a", "data/a/b.txt"}},
        {"the folder itself, listed as a folder", {{"./", ""}, {"FW.bin", "fw"}}, {}, true, {"FW.bin"}},
        {"the folder itself as a file", {{"FW.bin", "fw"}, {".", "dot"}}, {}, false, {}},
        // The next unpacking, or download, would take these for its own leftovers and remove them.
        {"named like the unpacking's folder", {{".kavrin-unpack-a1B2c3/x.txt", "x"}}, {}, false, {}},
        {"named like a download's partial file",
         {{"data/.firmware.zip.partial-a1B2c3D4", "x"}},
         {},
         false,
         {}},
        {"absolute name", {{"ok.txt", "ok"}, {"/tmp/evil.txt", "evil"}}, {}, false, {}},
        {"dot dot", {{"ok.txt", "ok"}, {"../outside/evil.txt", "evil"}}, {}, false, {}},
        {"dot dot inside a path", {{"a/../../outside/evil.txt", "evil"}}, {}, false, {}},
        {"link to an absolute path", {{"etc", "/etc", true}}, {}, false, {}},
        {"link climbing out", {{"out", "../outside", true}, {"out/evil.txt", "evil"}}, {}, false, {}},
        {"link climbing out after a folder", {{"d/l", "x/../../..", true}}, {}, false, {}},
        // A package needs no links: even one that stays inside is refused.
        {"link that stays inside", {{"sub/", ""}, {"l", "sub", true}, {"l/f.txt", "f"}}, {}, false, {}},
        {"a chain of links climbing out",
         {{"d/", ""}, {"d/up", "..", true}, {"d/up/l", "../..", true}},
         {},
         false,
         {}},
        {"a link to the outside already on the card",
         {{"out/evil.txt", "evil"}},
         {"out"},
         false,
         {"out -> outside"}},
        {"a file link to the outside already on the card",
         {{"f.txt", "replaced"}},
         {"f.txt"},
         true,
         {"f.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(root).removeRecursively();
        QDir(outside).removeRecursively();
        QDir().mkpath(root);
        QDir().mkpath(outside);
        writeFile(outside + QStringLiteral("/target.txt"), "outside");
        for (const QString& link : c.linksOut) {
            const QString target =
                link.endsWith(QLatin1String(".txt")) ? outside + QStringLiteral("/target.txt") : outside;
            ASSERT_EQ(::symlink(QFile::encodeName(target).constData(),
                                QFile::encodeName(root + '/' + link).constData()),
                      0);
        }
        ASSERT_TRUE(writeZip(archive, c.entries));
        QString error;
        EXPECT_EQ(unzipItem(QUrl::fromLocalFile(archive), QUrl::fromLocalFile(root), &error), c.unpacks)
            << error.toStdString();
        EXPECT_EQ(error.isEmpty(), c.unpacks);
        EXPECT_EQ(tree(root), c.after);
        EXPECT_EQ(tree(outside), QStringList{QStringLiteral("target.txt")});
        EXPECT_EQ(readAll(outside + QStringLiteral("/target.txt")), "outside");
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/evil.txt")));
    }
    EXPECT_EQ(readAll(root + QStringLiteral("/f.txt")), "replaced");
}

TEST(UnzipTest, UnreadableArchivesAndFoldersFailWithAReason) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString root = temp.path() + QStringLiteral("/card");
    QDir().mkpath(root);
    writeFile(root + QStringLiteral("/error.zip"), "<html>Not Found</html>");
    ASSERT_TRUE(writeZip(root + QStringLiteral("/firmware.zip"), {{"firmware.zip", "itself"}}));
    ASSERT_TRUE(writeZip(root + QStringLiteral("/good.zip"), {{"x.bin", "x"}}));
    QByteArray truncated = readAll(root + QStringLiteral("/good.zip"));
    truncated.chop(10);
    writeFile(root + QStringLiteral("/truncated.zip"), truncated);
    const struct {
        const char* name;
        QString archive;
        QString folder;
    } cases[] = {
        {"not a zip", root + QStringLiteral("/error.zip"), root},
        {"truncated", root + QStringLiteral("/truncated.zip"), root},
        {"missing archive", root + QStringLiteral("/none.zip"), root},
        {"missing folder", root + QStringLiteral("/good.zip"), temp.path() + QStringLiteral("/gone")},
        {"entry replacing the archive", root + QStringLiteral("/firmware.zip"), root},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(unzipItem(QUrl::fromLocalFile(c.archive), QUrl::fromLocalFile(c.folder), &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(readAll(root + QStringLiteral("/firmware.zip")).left(2), "PK");
}

TEST(UnzipTest, AnArchiveUnpacksWholeOrTheFolderStaysAsItWas) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString root = temp.path() + QStringLiteral("/card");
    SmallVolume smallVolume(root, 4 * 1024 * 1024);
    const QString archive = temp.path() + QStringLiteral("/package.zip");
    const QByteArray firmware = noise(600 * 1024, 7);
    const QList<ZipEntry> package{{"ver.txt", "new"}, {"FW.bin", firmware}, {"data/notes.txt", "notes"}};
    const QStringList card{QStringLiteral("data"), QStringLiteral("data/old.txt"), QStringLiteral("ver.txt")};
    const QStringList unpacked{QStringLiteral("FW.bin"), QStringLiteral("data"),
                               QStringLiteral("data/notes.txt"), QStringLiteral("data/old.txt"),
                               QStringLiteral("ver.txt")};
    using F = UnzipResult::Failure;
    const struct {
        const char* name;
        std::function<QByteArray()> make;
        F failure;
        qint64 cap = qint64(4) * 1024 * 1024 * 1024;
        bool needsVolume = false;
        rlim_t fileSizeLimit = RLIM_INFINITY;
        bool cancel = false;
        bool leftover = false;
    } cases[] = {
        {"whole package, over an existing file", [&] { return zipBytes(archive, package); }, F::None},
        {"bad CRC in the second entry",
         [&] {
             QByteArray zip = zipBytes(archive, package);
             return patchZipEntry(zip, 1, 14, 16, 0x12345678) ? zip : QByteArray();
         },
         F::Damaged},
        {"an entry larger than it says",
         [&] {
             QByteArray zip = zipBytes(archive, package);
             return patchZipEntry(zip, 1, 22, 24, 4096) ? zip : QByteArray();
         },
         F::Damaged},
        {"zip bomb over the cap",
         [&] {
             return zipBytes(archive, {{"ver.txt", "new"}, {"FW.bin", QByteArray(8 << 20, '\0')}});
         },
         F::TooLarge, 1 << 20},
        {"zip bomb over the free space",
         [&] {
             return zipBytes(archive, {{"ver.txt", "new"}, {"FW.bin", QByteArray(16 << 20, '\0')}});
         },
         F::NoSpace, qint64(4) << 30, true},
        {"a write that fails half-way", [&] { return zipBytes(archive, package); }, F::NoSpace,
         qint64(4) << 30, false, 256 * 1024},
        {"a file over an existing folder",
         [&] {
             return zipBytes(archive, {{"ver.txt", "new"}, {"data", "a file"}});
         },
         F::CannotWrite},
        {"cancelled", [&] { return zipBytes(archive, package); }, F::Cancelled, qint64(4) << 30, false,
         RLIM_INFINITY, true},
        {"a folder left by an interrupted run goes", [&] { return zipBytes(archive, package); }, F::None,
         qint64(4) << 30, false, RLIM_INFINITY, false, true},
    };
    // A write over the file size limit fails with EFBIG instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsVolume && !smallVolume.mounted()) {
            std::printf("skipped \"%s\": no tmpfs can be mounted here\n", c.name);
            continue;
        }
        QDir(root).removeRecursively();
        QDir().mkpath(root);
        writeFile(root + QStringLiteral("/ver.txt"), "old");
        writeFile(root + QStringLiteral("/data/old.txt"), "old notes");
        if (c.leftover)
            writeFile(root + QLatin1Char('/') + QLatin1String(kUnzipTemporaryPrefix) +
                          QStringLiteral("abc/new/FW.bin"),
                      "half");
        const QByteArray zip = c.make();
        ASSERT_FALSE(zip.isEmpty());
        writeFile(archive, zip);

        std::atomic<bool> cancelled{false};
        UnzipOptions options;
        options.maximumSize = c.cap;
        options.cancelled = &cancelled;
        QList<qint64> reports;
        options.progress = [&](qint64 written, qint64 total) {
            reports.append(written);
            EXPECT_LE(written, total);
            if (c.cancel)
                cancelled = true;
        };
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited = saved;
        limited.rlim_cur = c.fileSizeLimit;
        ::setrlimit(RLIMIT_FSIZE, &limited);
        const UnzipResult result = unzipArchive(archive, root, options);
        ::setrlimit(RLIMIT_FSIZE, &saved);

        EXPECT_EQ(int(result.failure), int(c.failure)) << result.error.toStdString();
        EXPECT_EQ(result.error.isEmpty(), c.failure == F::None);
        EXPECT_EQ(tree(root), c.failure == F::None ? unpacked : card);
        EXPECT_EQ(readAll(root + QStringLiteral("/ver.txt")), c.failure == F::None ? "new" : "old");
        EXPECT_EQ(readAll(root + QStringLiteral("/data/old.txt")), "old notes");
        if (c.failure == F::None) {
            EXPECT_EQ(readAll(root + QStringLiteral("/FW.bin")), firmware);
            ASSERT_FALSE(reports.isEmpty());
            EXPECT_EQ(reports.last(), firmware.size() + 3 + 5);
        }
        // Nothing is written for an archive refused before unpacking.
        if (c.failure == F::TooLarge || c.failure == F::NoSpace) {
            EXPECT_EQ(reports.isEmpty(), c.fileSizeLimit == RLIM_INFINITY);
        }
    }
}
