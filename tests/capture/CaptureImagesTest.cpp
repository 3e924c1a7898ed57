// The pictures and files of a still capture: the time text, the file-name table, the band
// image of all channels, the frame stacked over the map, and the JPEG file written into
// the capture folder (grey copy, replacement, names that hold a path, unwritable folders).

#include "CaptureTestSupport.h"
#include "ScratchMount.h"

#include "capture/CaptureImageSaver.h"
#include "capture/CaptureViewController.h"
#include "platform/system/Localization.h"
#include "player/window/OrvoViewController.h"

#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <string>

#include <sys/stat.h>

using namespace capturetest;

namespace {

QImage filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below `dir` (names relative to it).
QStringList filesBelow(const QString& dir) {
    QStringList names;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        names.append(QDir(dir).relativeFilePath(it.next()));
    names.sort();
    return names;
}

TEST(CaptureTimeText, HoursMinutesSecondsBecomeLetters) {
    const struct {
        const char* text;
        const char* expected;
    } rows[] = {
        {"01:02:03", "01h02m03s"},
        {"00:00:07", "00h00m07s"},
        {"100:00:00", "100h00m00s"},
        {"7", "7"},
        {"", ""},
        {"01:02", "01:02"},
        {"1::2:3", "1h2m3s"},
        {"1:2:3:4", "1:2:3:4"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(OrvoViewController::captureTimeText(QString::fromUtf8(row.text)),
                  QString::fromUtf8(row.expected))
            << row.text;
}

TEST(CaptureFileName, FollowsTheTableOfKindsAndModes) {
    const struct {
        const char* name;
        bool multipleVideo;
        mode playMode;
        int kind;
        std::optional<const char*> expected;
    } rows[] = {
        {"clip_F_01", true, mode::multiple_ch, 0, "clip_A_01_player_00h01m02s"},
        {"clip_F_01", false, mode::ch2, 1, "clip_F_01_video_2CH_00h01m02s"},
        {"clip_F_01", false, mode::multiple_ch, 2, "clip_F_01_map_ALL_00h01m02s"},
        {"clip_F_01", true, mode::ch1, 1, "clip_F_01_video_00h01m02s"},
        {"20241108-083000_R_N", true, mode::multiple_ch, 1, "20241108-083000_A_N_video_00h01m02s"},
        {"x_I_y_F_z", true, mode::multiple_ch, 2, "x_A_y_A_z_map_00h01m02s"},
        {"plain", true, mode::multiple_ch, 0, "plain_player_00h01m02s"},
        {"clip", false, mode::ch4, 0, "clip_player_4CH_00h01m02s"},
        {"clip", false, mode::multiple_ch, 0, "clip_player_ALL_00h01m02s"},
        {"clip", false, mode::none_ch, 0, std::nullopt},
        {"clip", false, mode::ch1, 3, std::nullopt},
        {"clip", false, mode::ch1, -1, std::nullopt},
    };
    for (const auto& row : rows) {
        captureData data;
        data.name = QString::fromUtf8(row.name);
        data.time = QStringLiteral("00h01m02s");
        data.isMultipleVideo = row.multipleVideo;
        data.playMode = row.playMode;
        const std::optional<QString> name = CaptureViewController::captureFileName(data, row.kind);
        SCOPED_TRACE(std::string(row.name) + " kind " + std::to_string(row.kind));
        ASSERT_EQ(name.has_value(), row.expected.has_value());
        if (name) {
            EXPECT_EQ(*name, QString::fromUtf8(*row.expected));
        }
    }
}

TEST(CaptureImages, ChannelsFillEqualBandsChannelOneOnTop) {
    // Frames of any shape are stretched into 640 x 360 bands, in channel order from the top.
    const QList<QImage> frames = {filled(1920, 1080, Qt::red), filled(640, 480, Qt::green),
                                  filled(180, 320, Qt::blue)};
    const QImage bands = OrvoViewController::combineImagesInBands(frames, QRect(0, 0, 640, 1080));
    ASSERT_EQ(bands.size(), QSize(640, 1080));
    const QColor expected[] = {Qt::red, Qt::green, Qt::blue};
    for (int band = 0; band < 3; ++band) {
        for (const int y : {band * 360 + 2, band * 360 + 180, band * 360 + 357}) {
            for (const int x : {1, 320, 638})
                EXPECT_EQ(bands.pixelColor(x, y), expected[band])
                    << "band " << band << " at " << x << "," << y;
        }
    }
    EXPECT_TRUE(OrvoViewController::combineImagesInBands({}, QRect(0, 0, 640, 360)).isNull());
}

TEST(CaptureImages, FrameStacksOverTheMapAtTheFramesWidth) {
    const std::optional<QImage> stacked = CaptureViewController::stackImagesVertically(
        {filled(640, 1080, Qt::red), filled(1200, 800, Qt::blue)});
    ASSERT_TRUE(stacked);
    // 1080 + 800 / 1200 x 640 = 1080 + 426.66..., truncated.
    EXPECT_EQ(stacked->size(), QSize(640, 1506));
    EXPECT_EQ(stacked->pixelColor(320, 0), QColor(Qt::red));
    EXPECT_EQ(stacked->pixelColor(320, 1078), QColor(Qt::red));
    EXPECT_EQ(stacked->pixelColor(320, 1081), QColor(Qt::blue));
    EXPECT_EQ(stacked->pixelColor(639, 1505), QColor(Qt::blue));
    EXPECT_FALSE(CaptureViewController::stackImagesVertically({}));
    const std::optional<QImage> one =
        CaptureViewController::stackImagesVertically({filled(300, 100, Qt::green)});
    ASSERT_TRUE(one);
    EXPECT_EQ(one->size(), QSize(300, 100));
}

class CaptureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        folder = home.filePath(QStringLiteral("captures"));
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    QTemporaryDir home;
    QString folder;
};

TEST_F(CaptureFiles, WritesRealJpegGreyWhenMonoAndReplacesTheOldFile) {
    // A colourful picture: bands of red, green and blue.
    const QImage picture = OrvoViewController::combineImagesInBands(
        {filled(64, 36, Qt::red), filled(64, 36, Qt::green), filled(64, 36, Qt::blue)},
        QRect(0, 0, 640, 1080));

    CaptureImageSaver::Result result = CaptureImageSaver::save(
        picture, QStringLiteral("clip_F_01_video_ALL_00h00m07s"), 640, 1080, false, folder);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.path, folder + QStringLiteral("/clip_F_01_video_ALL_00h00m07s.jpg"));
    QFile file(result.path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // JPEG data (SOI and a JFIF/EXIF marker), not JPEG 2000 under a ".jpg" name.
    EXPECT_TRUE(file.read(3) == QByteArray("\xFF\xD8\xFF", 3));
    file.close();
    QImageReader reader(result.path);
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    const QImage colour = reader.read();
    ASSERT_EQ(colour.size(), QSize(640, 1080));
    EXPECT_GT(qRed(colour.pixel(320, 100)), 200);
    EXPECT_LT(qGreen(colour.pixel(320, 100)), 60);

    // The same name again with the mono filter on: the grey picture replaces the colour one.
    result = CaptureImageSaver::save(picture, QStringLiteral("clip_F_01_video_ALL_00h00m07s"), 640, 1080,
                                     true, folder);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(filesBelow(folder), QStringList{QStringLiteral("clip_F_01_video_ALL_00h00m07s.jpg")});
    const QImage grey(result.path);
    EXPECT_TRUE(grey.isGrayscale());
    // Red, green and blue keep different brightness in grey.
    EXPECT_NE(qGray(grey.pixel(320, 100)), qGray(grey.pixel(320, 540)));
}

TEST_F(CaptureFiles, NamesStayInTheirFolderAndFailuresLeaveNothing) {
    const QImage picture = filled(320, 180, Qt::darkCyan);
    // Recording names come from file names and may hold what a path holds.
    const struct {
        const char* name;
        const char* file;
    } names[] = {
        {"../../escape", ".._.._escape.jpg"},
        {"/etc/passwd", "_etc_passwd.jpg"},
        {"a/b_video_00h00m01s", "a_b_video_00h00m01s.jpg"},
        {"..", "...jpg"},
        {"한글 이름_F_N", "한글 이름_F_N.jpg"},
    };
    for (const auto& row : names) {
        const CaptureImageSaver::Result result =
            CaptureImageSaver::save(picture, QString::fromUtf8(row.name), 320, 180, false, folder);
        EXPECT_TRUE(result.ok) << row.name << ": " << result.error.toStdString();
        EXPECT_EQ(QFileInfo(result.path).absolutePath(), QFileInfo(folder).absoluteFilePath()) << row.name;
        EXPECT_EQ(QFileInfo(result.path).fileName(), QString::fromUtf8(row.file));
    }
    EXPECT_EQ(filesBelow(home.path()).size(), static_cast<qsizetype>(std::size(names)));

    // An old capture stays whole when the new one cannot be written.
    const QString keep = folder + QStringLiteral("/keep.jpg");
    ASSERT_TRUE(CaptureImageSaver::save(picture, QStringLiteral("keep"), 320, 180, false, folder).ok);
    const QByteArray before = [&] {
        QFile f(keep);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const QStringList everything = filesBelow(home.path());

    // A folder deleted since it was chosen, and a "folder" that is a file.
    const QString gone = home.filePath(QStringLiteral("gone"));
    const QString plainFile = folder + QStringLiteral("/keep.jpg");
    for (const QString& bad : {gone, plainFile}) {
        const CaptureImageSaver::Result result =
            CaptureImageSaver::save(picture, QStringLiteral("keep"), 320, 180, false, bad);
        EXPECT_FALSE(result.ok) << bad.toStdString();
        EXPECT_FALSE(result.error.isEmpty());
    }
    EXPECT_EQ(filesBelow(home.path()), everything);
    QFile after(keep);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST_F(CaptureFiles, WhatStandsUnderTheNameIsReplacedNeverWrittenThrough) {
    const QString elsewhere = home.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    const QString precious = elsewhere + QStringLiteral("/precious.txt");
    const struct {
        const char* label;
        std::function<bool(const QString& name)> arrange;
        bool written;
    } rows[] = {
        {"link to a file elsewhere", [&](const QString& n) { return QFile::link(precious, n); }, true},
        {"link to no file yet",
         [&](const QString& n) { return QFile::link(elsewhere + QStringLiteral("/new.txt"), n); }, true},
        {"link to a folder", [&](const QString& n) { return QFile::link(elsewhere, n); }, true},
        {"FIFO", [](const QString& n) { return ::mkfifo(QFile::encodeName(n).constData(), 0644) == 0; },
         true},
        {"folder", [](const QString& n) { return QDir().mkdir(n); }, false},
    };
    // The rest of a capture killed mid-write: the next capture into the folder removes it.
    QFile abandoned(folder + QStringLiteral("/.shot.jpg.partial-AbCd1234"));
    ASSERT_TRUE(abandoned.open(QIODevice::WriteOnly));
    abandoned.close();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        QFile file(precious);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("precious");
        file.close();
        const QString name = folder + QStringLiteral("/shot.jpg");
        ASSERT_TRUE(row.arrange(name));
        const CaptureImageSaver::Result result =
            CaptureImageSaver::save(filled(64, 36, Qt::red), QStringLiteral("shot"), 64, 36, false, folder);
        EXPECT_EQ(result.ok, row.written) << result.error.toStdString();
        EXPECT_EQ(contents(precious), QByteArray("precious"));
        EXPECT_EQ(filesBelow(elsewhere), QStringList{QStringLiteral("precious.txt")});
        EXPECT_EQ(QFileInfo(name).isFile() && !QFileInfo(name).isSymLink(), row.written);
        if (row.written)
            EXPECT_EQ(QImageReader(name).format(), QByteArray("jpeg"));
        else
            EXPECT_EQ(result.error, QStringLiteral("A folder of the same name is in the way."));
        // Nothing half-written is left beside it.
        EXPECT_EQ(
            QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("shot.jpg")});
        QDir(name).removeRecursively();
        QFile::remove(name);
    }
}

TEST_F(CaptureFiles, FullAndReadOnlyFoldersSayWhyInTheUsersLanguage) {
    using Kind = ScratchMount::Kind;
    const struct {
        Kind kind;
        const char* language;
        const char* reason;
    } rows[] = {
        {Kind::Full, "en", "No space left on device."},
        {Kind::Full, "ko", "디스크에 남은 공간이 없습니다."},
        {Kind::ReadOnly, "en", "The folder is on a read-only disk."},
        {Kind::ReadOnly, "ja", "フォルダーは読み取り専用のディスクにあります。"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reason);
        ScratchMount mount(row.kind);
        if (!mount.mounted())
            GTEST_SKIP() << "no permission to mount a file system";
        const QStringList before = filesBelow(mount.path());
        ASSERT_TRUE(setLocalizationLanguage(QString::fromLatin1(row.language)));
        const CaptureImageSaver::Result result = CaptureImageSaver::save(
            filled(320, 180, Qt::red), QStringLiteral("shot"), 320, 180, false, mount.path());
        setLocalizationLanguage(QString());
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, QString::fromUtf8(row.reason));
        EXPECT_EQ(filesBelow(mount.path()), before);
    }
}

TEST_F(CaptureFiles, DesktopFolderIsMadeWhenMissingAndAFailureIsShown) {
    const QString desktop = home.filePath(QStringLiteral("Desktop-not-yet"));
    setDesktopFolder(desktop);
    EXPECT_EQ(CaptureImageSaver::desktopFolder(), desktop);
    EXPECT_TRUE(QFileInfo(desktop).isDir());

    // No folder given: the desktop.
    const CaptureImageSaver::Result result =
        CaptureImageSaver::save(filled(32, 32, Qt::red), QStringLiteral("shot"), 32, 32, false, QString());
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(QFileInfo::exists(desktop + QStringLiteral("/shot.jpg")));

    // A desktop that cannot be made (its parent is a file): the alert says which file and where.
    QFile blocker(home.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    setDesktopFolder(home.filePath(QStringLiteral("blocker/Desktop")));
    const CaptureImageSaver::Result failed =
        CaptureImageSaver::save(filled(32, 32, Qt::red), QStringLiteral("shot"), 32, 32, false, QString());
    EXPECT_FALSE(failed.ok);
    AlertCatcher catcher;
    CaptureImageSaver::alertFailure(failed);
    ASSERT_EQ(catcher.alerts.size(), 1);
    EXPECT_TRUE(catcher.alerts.first().startsWith(QStringLiteral("Unknown error | ")));
    EXPECT_TRUE(catcher.alerts.first().contains(QStringLiteral("blocker")))
        << catcher.alerts.first().toStdString();
}

} // namespace
