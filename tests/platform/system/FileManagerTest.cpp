// File names as the file system holds them (bytes that need not be UTF-8),
// and text files read from a card that may hold anything under a text's name.

#include "platform/system/FileManager.h"
#include "platform/system/Process.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeBytes(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    ::close(fd);
    return ok;
}

} // namespace

// A name listed from a folder leads back to the same bytes through its URL,
// its path string and the URL made again from that string; a UTF-8 name's
// URL is the one Qt makes for it.
TEST(FileManager, NamesKeepTheirBytesThroughUrlsAndPaths) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
    const struct {
        const char* name;
        QByteArray bytes;
        bool utf8;
    } cases[] = {
        {"Ascii", "20241108-083000_F_N.mp4", true},
        {"Korean", "\xec\x9d\xb4\xeb\xb2\xa4\xed\x8a\xb8.mp4", true},
        {"UrlCharacters", "50% #1?;a=b&c.mp4", true},
        {"Cp949", "\xc0\xcc\xba\xa5\xc6\xae.mp4", false},
        {"Latin1", "caf\xe9.mp4", false},
        {"LoneContinuation", "a\x80z.mp4", false},
        {"CutCharacter", "a\xed\x95.mp4", false},
        {"EncodedSurrogate", "\xed\xa0\x80.mp4", false},
        {"Overlong", "\xc0\xaf.mp4", false},
        {"PrivateUseBesideBytes", "\xee\x80\x80\xff.mp4", false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        const QByteArray path = folder + test.bytes;
        ASSERT_TRUE(writeBytes(path, "x"));
        const std::optional<QList<QUrl>> listed =
            FileManager::contentsOfDirectory(QUrl::fromLocalFile(dir.path()));
        ASSERT_TRUE(listed);
        ASSERT_EQ(listed->size(), 1);
        const QUrl url = listed->front();
        EXPECT_EQ(FileManager::fileSystemRepresentation(url), path);
        const QString string = FileManager::filePath(url);
        EXPECT_EQ(FileManager::fileSystemRepresentation(string), path);
        EXPECT_EQ(FileManager::fileURLWithPath(string), url);
        EXPECT_EQ(FileManager::fileURLWithFileSystemRepresentation(path), url);
        EXPECT_TRUE(FileManager::isRegularFile(string));
        EXPECT_EQ(FileManager::stringWithContentsOfUtf8File(url), QStringLiteral("x"));
        if (test.utf8) {
            EXPECT_EQ(url, QUrl::fromLocalFile(QString::fromUtf8(path)));
            EXPECT_EQ(string, QString::fromUtf8(path));
        }
        ASSERT_EQ(::unlink(path.constData()), 0);
    }
}

// Only a regular file (links followed) is read as text, and only its first
// 64 KiB; a character cut by that limit is dropped.
TEST(FileManager, TextFilesAreReadOnlyWhenRegularAndOnlyTheirStart) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + QStringLiteral("/ver.txt");
    const QByteArray encoded = QFile::encodeName(path);
    const QByteArray big =
        QByteArray(FileManager::kTextFileLimit - 1, 'a') + "\xed\x95\x9c" + QByteArray(5000, 'b');
    const struct {
        const char* name;
        std::function<bool()> make;
        std::optional<QString> text;
    } cases[] = {
        {"Text", [&] { return writeBytes(encoded, "Model=M\nVersion=1\n"); },
         QStringLiteral("Model=M\nVersion=1\n")},
        {"Empty", [&] { return writeBytes(encoded, ""); }, QString()},
        {"NotUtf8", [&] { return writeBytes(encoded, "\xff"); }, std::nullopt},
        {"CutAtTheLimit", [&] { return writeBytes(encoded, big); },
         QString(FileManager::kTextFileLimit - 1, QLatin1Char('a'))},
        {"Fifo", [&] { return mkfifo(encoded.constData(), 0644) == 0; }, std::nullopt},
        {"LinkToDevZero", [&] { return QFile::link(QStringLiteral("/dev/zero"), path); }, std::nullopt},
        {"Folder", [&] { return QDir().mkpath(path); }, std::nullopt},
        {"Missing", [] { return true; }, std::nullopt},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        ::unlink(encoded.constData());
        ::rmdir(encoded.constData());
        ASSERT_TRUE(test.make());
        QString error;
        const std::optional<QString> text =
            FileManager::stringWithContentsOfUtf8File(QUrl::fromLocalFile(path), &error);
        EXPECT_EQ(text, test.text);
        EXPECT_EQ(error.isEmpty(), test.text.has_value()) << error.toStdString();
    }
}

// A tool started with paths whose names are not UTF-8 reads and writes those
// very files, and the aliases it was given are gone afterwards.
TEST(FileManager, ToolsGetPathsNamedInAnotherEncoding) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray input = folder + "/\xc0\xcc\xba\xa5\xc6\xae_F_N.avi";
    const QByteArray output = folder + "/caf\xe9.mov";
    ASSERT_TRUE(writeBytes(input, "recording"));
    const QStringList before = QDir::temp().entryList({QStringLiteral("kavrin-names-*")});

    // Like ffmpeg, the shell opens its output by name and so creates it.
    const Process::Result result = Process::runAndWait(
        QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("cat \"$0\" > \"$1\""),
                               FileManager::stringWithFileSystemRepresentation(input),
                               FileManager::stringWithFileSystemRepresentation(output)});
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 0);
    struct stat info {};
    ASSERT_EQ(::lstat(output.constData(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_size, 9);
    EXPECT_EQ(QDir::temp().entryList({QStringLiteral("kavrin-names-*")}), before);
}
