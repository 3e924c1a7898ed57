// Building the recording list from a folder's file names, sorting, search and
// the kind filter. The files need not exist: only the names decide the
// entries, except the stream count of a lone inside file (0 when unreadable).

#include "common/FolderOpenTestCard.h"

#include "platform/system/Localization.h"

using namespace cardtest;

namespace {

QList<QUrl> filesIn(const QString& folder, const QStringList& names) {
    QList<QUrl> urls;
    for (const QString& name : names)
        urls.append(QUrl::fromLocalFile(folder + QLatin1Char('/') + name));
    return urls;
}

class RecordingListTest : public ::testing::Test {
protected:
    void SetUp() override { resetPlayerState(); }
    Harness harness;
};

struct MergeCase {
    const char* name;
    QStringList files;
    // Each expected entry: "file|Channel|merge|merge2" (merge names empty when none).
    QStringList entries;
};

} // namespace

TEST_F(RecordingListTest, MergesTheChannelFilesOfEachRecording) {
    const MergeCase cases[] = {
        {"front rear inside",
         {"20241108-083000_F_N.mp4", "20241108-083000_R_N.mp4", "20241108-083000_I_N.mp4"},
         {"20241108-083000_F_N.mp4|3CH|20241108-083000_R_N.mp4|20241108-083000_I_N.mp4"}},
        {"front and rear",
         {"20241108-083000_R_E.avi", "20241108-083000_F_E.avi"},
         {"20241108-083000_F_E.avi|2CH|20241108-083000_R_E.avi|"}},
        {"front and inside",
         {"20241108-083000_F_N.mp4", "20241108-083000_I_N.mp4"},
         {"20241108-083000_F_N.mp4|2CH||20241108-083000_I_N.mp4"}},
        {"rear alone", {"20241108-090000_R_N.mp4"}, {"20241108-090000_R_N.mp4|1CH||"}},
        {"rear and inside",
         {"20241108-090000_I_N.mp4", "20241108-090000_R_N.mp4"},
         {"20241108-090000_R_N.mp4|2CH||20241108-090000_I_N.mp4"}},
        {"inside alone counts its streams", {"20241108-090000_I_P.mp4"}, {"20241108-090000_I_P.mp4|0CH||"}},
        {"front-rear file", {"20241108-090000_FR_N.mp4"}, {"20241108-090000_FR_N.mp4|2CH||"}},
        {"upper-case extensions",
         {"20241108-083000_F_N.MP4", "20241108-083000_R_N.MP4", "20241108-083000_I_N.MP4",
          "20241108-093000_F_N.Avi"},
         {"20241108-083000_F_N.MP4|3CH|20241108-083000_R_N.MP4|20241108-083000_I_N.MP4",
          "20241108-093000_F_N.Avi|1CH||"}},
        {"names without a dash and other files are left out",
         {"notes.txt", "20241108-083000_F_N.jpg", "clip_F_N.mp4", "20241108-083000_F_N.avi"},
         {"20241108-083000_F_N.avi|1CH||"}},
        {"a sibling must be among the files, not merely on disk",
         {"20241108-083000_F_N.mp4"},
         {"20241108-083000_F_N.mp4|1CH||"}},
    };
    for (const MergeCase& test : cases) {
        SCOPED_TRACE(test.name);
        resetPlayerState();
        harness.builder.buildRecordingList(filesIn(QStringLiteral("/card"), test.files));
        QStringList got;
        for (const orvoTableModel& entry : std::as_const(recordingList))
            got.append(QStringList{entry.url.fileName(), entry.row.Channel,
                                   entry.row.merge ? entry.row.merge->fileName() : QString(),
                                   entry.row.merge2 ? entry.row.merge2->fileName() : QString()}
                           .join(QLatin1Char('|')));
        EXPECT_EQ(got, test.entries);
        EXPECT_EQ(displayedRecordingList, recordingList);
        EXPECT_EQ(currentIndex, 0);
    }
}

TEST_F(RecordingListTest, SiblingsAreLookedUpByNameInTheSameFolder) {
    const QList<QUrl> files = filesIn(QStringLiteral("/card"), {"a-F_F.mp4", "a-R_R.mp4", "x/a-R_F.mp4"});
    const QUrl front = files[0];
    // Every occurrence is replaced.
    EXPECT_EQ(RecordingListBuilder::siblingFileURL(front, files, "F", "R"), files[1]);
    // A file of that name in another folder is not a sibling.
    EXPECT_EQ(RecordingListBuilder::siblingFileURL(files[2], files, "R", "F"), std::nullopt);
    EXPECT_EQ(RecordingListBuilder::siblingFileURL(front, files, "F", "I"), std::nullopt);
    // Names are compared case-sensitively.
    EXPECT_EQ(RecordingListBuilder::siblingFileURL(front, files, "F", "r"), std::nullopt);
}

TEST_F(RecordingListTest, AnEmptyFolderEmptiesTheListsAndTheCache) {
    recordingList = {orvoTableModel{QUrl::fromLocalFile("/old/a-1_F_N.mp4"), {}}};
    displayedRecordingList = recordingList;
    packetCache.append(orvoPacketModel{});
    cardModel = QStringLiteral("M");
    cardVersion = QStringLiteral("1");
    currentIndex = 3;
    const QStringList lines = printedLines([&] {
        harness.builder.buildRecordingList(filesIn(QStringLiteral("/card"), {"ver.txt", "a.jpg"}));
    });
    EXPECT_TRUE(lines.contains(QStringLiteral("nil")));
    EXPECT_TRUE(recordingList.isEmpty());
    ASSERT_TRUE(displayedRecordingList.has_value());
    EXPECT_TRUE(displayedRecordingList->isEmpty());
    EXPECT_TRUE(packetCache.isEmpty());
    EXPECT_EQ(currentIndex, -1);
    EXPECT_FALSE(cardModel.has_value());
    EXPECT_FALSE(cardVersion.has_value());
    EXPECT_EQ(harness.modelText, QString());
    EXPECT_EQ(harness.reloads, 1);
    EXPECT_EQ(harness.firstCategorySelections, 0);

    // An absent displayed list stays absent.
    displayedRecordingList.reset();
    harness.builder.buildRecordingList({});
    EXPECT_FALSE(displayedRecordingList.has_value());
}

TEST_F(RecordingListTest, ABuildWithRecordingsKeepsTheCacheAndSelectsAll) {
    packetCache.append(orvoPacketModel{QStringLiteral("/earlier.mp4"), {}});
    selectedRow = 4;
    typeFilterTitle = localized("Event");
    harness.builder.buildRecordingList(filesIn(QStringLiteral("/card"), {"20241108-083000_F_N.mp4"}));
    EXPECT_EQ(packetCache.size(), 1);
    EXPECT_EQ(harness.firstCategorySelections, 1);
    EXPECT_EQ(harness.stops, 1);
    EXPECT_EQ(playState, 0);
    EXPECT_EQ(selectedRow, 4);
    EXPECT_EQ(typeFilterTitle, localized("Event"));
}

TEST_F(RecordingListTest, SortsByDateAndTimeTextKeepingFolderOrderOfEqualKeys) {
    harness.builder.buildRecordingList(
        filesIn(QStringLiteral("/card"),
                {"20241108-083000_F_E.mp4", "20241108-083000_F_N.mp4", "20241107-235959_F_N.mp4",
                 "2024118-000000_F_N.mp4", "sub/20241108-083000_F_P.mp4"}));
    // "20241107..." < "20241108..." < "2024118..." as text; equal keys in folder order.
    EXPECT_EQ(entryNames(recordingList),
              (QStringList{"20241107-235959_F_N.mp4", "20241108-083000_F_E.mp4", "20241108-083000_F_N.mp4",
                           "20241108-083000_F_P.mp4", "2024118-000000_F_N.mp4"}));
}

TEST_F(RecordingListTest, ANonKoreanInterfaceLeavesEveryLocationEmpty) {
    for (const QStringList& languages : {QStringList{"en"}, QStringList{"ko", "en"}, QStringList{"ko-KR"}}) {
        resetPlayerState();
        setLanguages(languages);
        const QStringList lines = printedLines([&] {
            harness.builder.buildRecordingList(filesIn(QStringLiteral("/card"), {"20241108-083000_F_N.mp4"}));
        });
        ASSERT_EQ(recordingList.size(), 1);
        EXPECT_EQ(recordingList[0].row.location, QStringLiteral("-"));
        // No file was parsed for its first fix.
        EXPECT_FALSE(lines.contains(QStringLiteral("not CParserWrapper Format.")));
    }
}

TEST_F(RecordingListTest, SearchMatchesLocationsAndStartsFromTheWholeList) {
    recordingList.clear();
    const struct {
        const char* name;
        const char* location;
        const char* kind;
    } rows[] = {{"a-1_F_N.mp4", "강남구", "Normal"},
                {"a-2_F_E.mp4", "-", "Event"},
                {"a-3_F_E.mp4", "해운대구", "Event"},
                {"a-4_F_x.mp4", "중-구", "Etc."}};
    for (const auto& row : rows) {
        orvoTableModel entry{QUrl::fromLocalFile(QStringLiteral("/card/") + row.name), {}};
        entry.row.location = QString::fromUtf8(row.location);
        entry.row.type = localized(row.kind);
        recordingList.append(entry);
    }
    currentIndex = 2;
    selectedRow = 2;

    // A kind chosen before does not narrow the search.
    harness.builder.onTableSortMenuTap(localized("Normal"));
    EXPECT_EQ(entryNames(*displayedRecordingList), QStringList{"a-1_F_N.mp4"});
    const struct {
        const char* text;
        QStringList names;
    } searches[] = {{"-", {"a-2_F_E.mp4", "a-4_F_x.mp4"}},
                    {"구", {"a-1_F_N.mp4", "a-3_F_E.mp4", "a-4_F_x.mp4"}},
                    {"서초", {}},
                    {"", {"a-1_F_N.mp4", "a-2_F_E.mp4", "a-3_F_E.mp4", "a-4_F_x.mp4"}}};
    currentIndex = 1;
    for (const auto& search : searches) {
        SCOPED_TRACE(search.text);
        const int stops = harness.stops;
        harness.builder.onSearchFieldChanged(QString::fromUtf8(search.text));
        EXPECT_EQ(entryNames(*displayedRecordingList), search.names);
        EXPECT_EQ(harness.stops, stops + 1);
        // The search keeps the current index and the kind.
        EXPECT_EQ(currentIndex, 1);
        EXPECT_EQ(typeFilterTitle, localized("Normal"));
    }
}

TEST_F(RecordingListTest, KindFilterResetsTheCurrentRowOnlyForANewKind) {
    for (const char* kind : {"Event", "Normal", "Event", "Etc."}) {
        orvoTableModel entry{
            QUrl::fromLocalFile(QStringLiteral("/card/a-%1_F.mp4").arg(recordingList.size())), {}};
        entry.row.type = localized(kind);
        recordingList.append(entry);
    }
    harness.builder.onSearchFieldChanged(QStringLiteral("zzz"));
    currentIndex = 1;
    selectedRow = 1;

    harness.builder.onTableSortMenuTap(localized("Event"));
    EXPECT_EQ(entryNames(*displayedRecordingList), (QStringList{"a-0_F.mp4", "a-2_F.mp4"}));
    EXPECT_EQ(currentIndex, -1);
    EXPECT_EQ(selectedRow, -1);
    EXPECT_EQ(typeFilterTitle, localized("Event"));

    // The same kind again stops nothing and keeps the index, but rebuilds the list.
    currentIndex = 1;
    const int stops = harness.stops;
    displayedRecordingList->clear();
    harness.builder.onTableSortMenuTap(localized("Event"));
    EXPECT_EQ(currentIndex, 1);
    EXPECT_EQ(harness.stops, stops);
    EXPECT_EQ(displayedRecordingList->size(), 2);

    harness.builder.onTableSortMenuTap(localized("Etc."));
    EXPECT_EQ(entryNames(*displayedRecordingList), QStringList{"a-3_F.mp4"});
    harness.builder.onTableSortMenuTap(localized("All"));
    EXPECT_EQ(displayedRecordingList->size(), 4);

    // No selected item: nothing happens.
    const int reloads = harness.reloads;
    harness.builder.onTableSortMenuTap(std::nullopt);
    EXPECT_EQ(harness.reloads, reloads);
    EXPECT_EQ(typeFilterTitle, localized("All"));
}
