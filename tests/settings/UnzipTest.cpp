// Unpacking onto the card: archives made here, ordinary and hostile. An
// entry that would land outside the folder stops the unpacking before
// anything is written, and nothing outside the folder changes.

#include "SettingsTestSupport.h"

#include "platform/Unzip.h"

#include <QDirIterator>
#include <QTemporaryDir>

#include <unistd.h>

using namespace settingstest;

namespace {

QStringList tree(const QString& root) {
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

} // namespace

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
        {"absolute name", {{"ok.txt", "ok"}, {"/tmp/evil.txt", "evil"}}, {}, false, {}},
        {"dot dot", {{"ok.txt", "ok"}, {"../outside/evil.txt", "evil"}}, {}, false, {}},
        {"dot dot inside a path", {{"a/../../outside/evil.txt", "evil"}}, {}, false, {}},
        {"link to an absolute path", {{"etc", "/etc", true}}, {}, false, {}},
        {"link climbing out", {{"out", "../outside", true}, {"out/evil.txt", "evil"}}, {}, false, {}},
        {"link climbing out after a folder", {{"d/l", "x/../../..", true}}, {}, false, {}},
        {"link that stays inside",
         {{"sub/", ""}, {"l", "sub", true}, {"l/f.txt", "f"}},
         {},
         true,
         {"l -> sub", "sub", "sub/f.txt"}},
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
