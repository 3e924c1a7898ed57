#include "library/RecordingRow.h"

#include "metadata/FFmpeg.h"
#include "platform/system/Localization.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

struct RowCase {
    const char* label;
    const char* fileName;
    bool isRow;
    const char* date;
    const char* time;
    const char* channel;
    const char* typeKey;
    bool countsStreams; // the short form asks for the video-stream count
};

// The stream counter answers 2 for every file.
const RowCase kCases[] = {
    // Full form: channel letters and kind letters.
    {"front normal", "20241108-083000_F_N.mp4", true, "20241108", "083000", "F", "Normal", false},
    {"rear event, upper-case extension", "20241108-083000_R_E.MP4", true, "20241108", "083000", "R", "Event",
     false},
    {"inside parking", "20241108-083000_I_P.avi", true, "20241108", "083000", "I", "Parking", false},
    {"front and rear motion", "20241108-083000_FR_M.mp4", true, "20241108", "083000", "FR", "Motion", false},
    {"camcorder", "20241108-083000_F_C.mp4", true, "20241108", "083000", "F", "Camcorder", false},
    {"AI kind", "20241108-083000_F_I.mp4", true, "20241108", "083000", "F", "AI", false},
    {"other channel piece kept", "20241108-083000_X_N.mp4", true, "20241108", "083000", "X", "Normal", false},
    {"lower-case kind letter", "20241108-083000_F_n.mp4", true, "20241108", "083000", "F", "Etc.", false},
    {"unknown kind letter", "20241108-083000_F_Z.mp4", true, "20241108", "083000", "F", "Etc.", false},
    {"two-letter kind", "20241108-083000_F_NE.mp4", true, "20241108", "083000", "F", "Etc.", false},
    // "my" anywhere in the kind, lower case only.
    {"my kind", "20241108-083000_F_my.mp4", true, "20241108", "083000", "F", "Myfolder", false},
    {"my inside the kind", "20241108-083000_F_Nmyx.mp4", true, "20241108", "083000", "F", "Myfolder", false},
    {"My upper case", "20241108-083000_F_My.mp4", true, "20241108", "083000", "F", "Etc.", false},
    {"my only in the extension", "20241108-083000_F_N.my", true, "20241108", "083000", "F", "Normal", false},
    {"my after leading dots", "20241108-083000_F_..my.mp4", true, "20241108", "083000", "F", "Myfolder",
     false},
    // Full form with missing or odd pieces.
    {"third piece without dot", "20241108-083000_F_N", true, "20241108", "083000", "F", "Etc.", false},
    {"kind piece only dots", "20241108-083000_F_...", true, "20241108", "083000", "F", "Etc.", false},
    {"extension only kind", "20241108-083000_F_.mp4", true, "20241108", "083000", "F", "Etc.", false},
    {"empty pieces skipped for fields", "20241108-083000__F_N.mp4", true, "20241108", "083000", "F", "Normal",
     false},
    {"empty third piece", "20241108-083000_F_", true, "20241108", "083000", "F", "Etc.", false},
    {"only underscores", "20241108-__", true, "20241108", "", "-", "Etc.", false},
    {"fourth piece ignored", "20241108-083000_F_E.mp4_x", true, "20241108", "083000", "F", "Event", false},
    {"kind from third non-empty piece", "20241108-083000_F__P_N.mp4", true, "20241108", "083000", "F", "Etc.",
     false},
    // Short form: channel count from the file's video streams.
    {"short form normal", "20241108-083000_N.mp4", true, "20241108", "083000", "2CH", "Normal", true},
    {"short form event", "20241108-083000_E.avi", true, "20241108", "083000", "2CH", "Event", true},
    {"short form kind without dot", "20241108-083000_P", true, "20241108", "083000", "2CH", "Parking", true},
    {"short form my", "20241108-083000_amy.mp4", true, "20241108", "083000", "2CH", "Myfolder", true},
    {"rest without underscore", "20241108-083000.mp4", true, "20241108", "083000.mp4", "2CH", "Etc.", true},
    {"short form kind only dots", "20241108-083000_..", true, "20241108", "083000", "2CH", "Etc.", true},
    {"short form leading underscore", "20241108-_N.mp4", true, "20241108", "N.mp4", "2CH", "Etc.", true},
    {"single underscore rest", "20241108-_", true, "20241108", "", "2CH", "Etc.", true},
    // Dashes.
    {"second dash ignored", "20241108-083000_F_N-x_R_E.mp4", true, "20241108", "083000", "F", "Etc.", false},
    {"date split by dashes", "2024-11-08-083000_F_N.mp4", true, "2024", "11", "2CH", "Etc.", true},
    {"double dash", "20241108--083000_F_N.mp4", true, "20241108", "083000", "F", "Normal", false},
    {"leading dash", "-083000_F_N.mp4", true, "083000_F_N.mp4", "", "-", "Etc.", false},
    {"trailing dash", "20241108-", true, "20241108", "", "-", "Etc.", false},
    {"dash only", "-", true, "", "", "-", "Etc.", false},
    {"dashes only", "---", true, "", "", "-", "Etc.", false},
    // Not recordings.
    {"no dash", "20241108_083000_F_N.mp4", false, "", "", "", "", false},
    {"empty name", "", false, "", "", "", "", false},
    {"ver.txt", "ver.txt", false, "", "", "", "", false},
};

TEST(RecordingRow, FileNamesGiveRowTexts) {
    for (const RowCase& c : kCases) {
        QStringList counted;
        const VideoStreamCounter counter = [&counted](const QString& path) {
            counted.append(path);
            return 2;
        };
        const QUrl url = QUrl::fromLocalFile(QStringLiteral("/card/DCIM/") + QString::fromUtf8(c.fileName));
        const std::optional<orvoTableRowModel> row = recordingRowFromFileName(url, counter);
        ASSERT_EQ(row.has_value(), c.isRow) << c.label;
        if (!row)
            continue;
        orvoTableRowModel expected;
        expected.Date = QString::fromUtf8(c.date);
        expected.Time = QString::fromUtf8(c.time);
        expected.Channel = QString::fromUtf8(c.channel);
        expected.type = localized(c.typeKey);
        EXPECT_EQ(row->Date, expected.Date) << c.label;
        EXPECT_EQ(row->Time, expected.Time) << c.label;
        EXPECT_EQ(row->Channel, expected.Channel) << c.label;
        EXPECT_EQ(row->type, expected.type) << c.label;
        // The name never fills the location or the other channel files.
        EXPECT_EQ(*row, expected) << c.label;
        EXPECT_EQ(counted, c.countsStreams ? QStringList{url.toLocalFile()} : QStringList{}) << c.label;
    }
}

TEST(RecordingRow, OnlyTheLastPathComponentCounts) {
    const VideoStreamCounter counter = [](const QString&) { return 1; };
    struct Case {
        const char* label;
        QUrl url;
        std::optional<QString> date;
    };
    const Case cases[] = {
        {"dash in a folder name",
         QUrl::fromLocalFile(QStringLiteral("/my-card/20241108_083000_F_N.mp4")),
         {}},
        {"encoded characters", QUrl(QStringLiteral("file:///card/2024%2011-083000_F_N.mp4")),
         QStringLiteral("2024 11")},
        {"trailing slash", QUrl(QStringLiteral("file:///card/20241108-083000_F_N.mp4/")),
         QStringLiteral("20241108")},
        {"root", QUrl(QStringLiteral("file:///")), {}},
        {"empty URL", QUrl(), {}},
    };
    for (const Case& c : cases) {
        const std::optional<orvoTableRowModel> row = recordingRowFromFileName(c.url, counter);
        ASSERT_EQ(row.has_value(), c.date.has_value()) << c.label;
        if (row) {
            EXPECT_EQ(row->Date, *c.date) << c.label;
        }
    }
}

TEST(RecordingRow, ShortFormFileThatCannotBeOpenedCountsZeroChannels) {
    FFmpeg reader;
    const std::optional<orvoTableRowModel> row = recordingRowFromFileName(
        QUrl::fromLocalFile(QStringLiteral("/nonexistent/20241108-083000_N.mp4")), reader);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->Channel, QStringLiteral("0CH"));
    EXPECT_EQ(row->type, localized("Normal"));
}

} // namespace
