// The location of a recording-list entry from the first metadata packet.

#include "metadata/FirstPacketLocation.h"
#include "TestAviWriter.h"
#include "metadata/DistrictTable.h"
#include "metadata/FFmpeg.h"
#include "metadata/RecordingList.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const QString kFront = QStringLiteral("/card/20241108-083000_F_N.avi");
const QString kOther = QStringLiteral("/card/20241108-090000_F_E.avi");

class FirstPacketLocationTest : public testing::Test {
protected:
    void SetUp() override {
        districtTable().clear();
        districtTable().appendRows({
            {QStringLiteral("11140"), QStringLiteral("Jung-gu"), QStringLiteral("126.9975"),
             QStringLiteral("37.5641")},
            {QStringLiteral("26350"), QStringLiteral("Haeundae-gu"), QStringLiteral("129.1604"),
             QStringLiteral("35.1631")},
        });
        recordingList.clear();
        for (const QString& path : {kOther, kFront, kFront}) {
            orvoTableModel entry;
            entry.url = QUrl::fromLocalFile(path);
            recordingList.append(entry);
        }
    }
    void TearDown() override {
        recordingList.clear();
        districtTable().clear();
    }

    QStringList locations() const {
        QStringList out;
        for (const orvoTableModel& entry : std::as_const(recordingList))
            out << entry.row.location;
        return out;
    }
};

} // namespace

TEST_F(FirstPacketLocationTest, WritesTheNearestDistrictToTheFirstMatchingEntry) {
    struct Case {
        const char* name;
        testavi::Bytes packet;
        QString path;
        QStringList expected; // locations of kOther, kFront, kFront
    };
    const Case cases[] = {
        {"Degrees",
         testavi::packetBytes({0, 0, 0, 5, 30, 37.5665f, 126.978f}),
         kFront,
         {"-", "Jung-gu", "-"}},
        {"NmeaBoth",
         testavi::packetBytes({0, 0, 0, 5, 30, 3733.99f, 12658.68f}),
         kFront,
         {"-", "Jung-gu", "-"}},
        {"NmeaBusan",
         testavi::packetBytes({0, 0, 0, 5, 30, 3509.786f, 12909.624f}),
         kOther,
         {"Haeundae-gu", "-", "-"}},
        // Only the longitude is out of range: the latitude stays as it is.
        {"NmeaLongitudeOnly",
         testavi::packetBytes({0, 0, 0, 5, 30, 35.16f, 12909.624f}),
         kFront,
         {"-", "Haeundae-gu", "-"}},
        // The direction codes are not applied.
        {"DirectionCodesIgnored",
         testavi::packetBytes({0, 0, 0, 0b1010, 30, 37.5665f, 126.978f}),
         kFront,
         {"-", "Jung-gu", "-"}},
        {"NoMatchingEntry",
         testavi::packetBytes({0, 0, 0, 5, 30, 37.5665f, 126.978f}),
         QStringLiteral("/card/none.avi"),
         {"-", "-", "-"}},
        {"CutBeforeLongitude",
         testavi::packetBytes({0, 0, 0, 5, 30, 37.5665f, 126.978f}, 64),
         kFront,
         {"-", "-", "-"}},
        {"Empty", {}, kFront, {"-", "-", "-"}},
    };
    for (const Case& c : cases) {
        SetUp();
        fillFirstPacketLocation(c.packet, c.path);
        EXPECT_EQ(locations(), c.expected) << c.name;
    }
}

TEST_F(FirstPacketLocationTest, ZeroPositionGivesDashAndEmptyTableChangesNothing) {
    recordingList[1].row.location = QStringLiteral("Old");
    fillFirstPacketLocation(testavi::packetBytes({}), kFront);
    EXPECT_EQ(recordingList[1].row.location, QStringLiteral("-"));

    districtTable().clear();
    recordingList[1].row.location = QStringLiteral("Old");
    fillFirstPacketLocation(testavi::packetBytes({0, 0, 0, 5, 30, 37.5665f, 126.978f}), kFront);
    EXPECT_EQ(recordingList[1].row.location, QStringLiteral("Old"));
}

TEST_F(FirstPacketLocationTest, ReaderFillsTheEntryOfItsFile) {
    const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "kavrin-first-packet";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "20241108-083000_F_N.avi").string();
    testavi::writeFile(path, testavi::aviBytes(testavi::samples({{0, 0, 1, 5, 30, 3509.786f, 12909.624f},
                                                                 {0, 0, 1, 5, 30, 37.5665f, 126.978f}})));
    orvoTableModel entry;
    entry.url = QUrl::fromLocalFile(QString::fromStdString(path));
    recordingList.append(entry);
    FFmpeg reader;
    EXPECT_EQ(reader.getFirstGPSForFile(QString::fromStdString(path)), 0);
    EXPECT_EQ(recordingList.back().row.location, QStringLiteral("Haeundae-gu"));
    EXPECT_EQ(locations().mid(0, 3), QStringList({"-", "-", "-"}));
}
