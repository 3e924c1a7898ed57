#include "metadata/DistrictTable.h"
#include "metadata/GeoDistance.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <random>

namespace {

QString sourceResource() {
    return QStringLiteral(KAVRIN_SOURCE_DIR "/resources/AdminDistrictInfo.dat");
}

class DistrictTableTest : public ::testing::Test {
protected:
    void SetUp() override { districtTable().clear(); }
    void TearDown() override { districtTable().clear(); }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};

struct SplitCase {
    const char* label;
    const char* text;
    QList<QStringList> rows;
};

TEST(DistrictTableParse, SplitsFieldsOnSpacesOnly) {
    const SplitCase cases[] = {
        {"empty", "", {}},
        {"nine fields give two rows", "a b c d e f g h i", {{"a", "b", "c", "d"}, {"e", "f", "g", "h"}}},
        {"five fields give one row", "a b c d e", {{"a", "b", "c", "d"}}},
        {"runs and ends of spaces", "   a  b    c d   ", {{"a", "b", "c", "d"}}},
        {"line break belongs to its field", "a b c d\ne f g h", {{"a", "b", "c", "d\ne"}}},
        {"break after a space starts the next field",
         "a b c d \ne f g h \n",
         {{"a", "b", "c", "d"}, {"\ne", "f", "g", "h"}}},
        {"tab is no separator", "a\tb c d e", {{"a\tb", "c", "d", "e"}}},
        {"an underscore in a name stands for a space",
         "11_140 서울특별시_중구 126.99 37.56 1 _a__b_ 2_ _3",
         {{"11_140", "서울특별시 중구", "126.99", "37.56"}, {"1", " a  b ", "2_", "_3"}}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(DistrictTable::parseRows(QString::fromUtf8(c.text)), c.rows) << c.label;
}

TEST(DistrictTableParse, CoordinateMustBeAWholeValidNumber) {
    struct Case {
        const char* field;
        double limit;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"126.978", 180, 126.978},
        {"-33.5", 90, -33.5},
        {"+37.5", 90, 37.5},
        {"1e1", 90, 10.0},
        {"0", 90, 0.0},
        {"90", 90, 90.0},
        {"-180", 180, -180.0},
        {"90.0001", 90, {}},
        {"181", 180, {}},
        {"", 90, {}},
        {"abc", 90, {}},
        {"37.5x", 90, {}},
        {" 37.5", 90, {}},
        {"37.5\n", 90, {}},
        {"\n11110", 90, {}},
        {"nan", 90, {}},
        {"inf", 180, {}},
        {"-", 90, {}},
        {"+", 90, {}},
        {"+-1", 90, {}},
        {"--1", 90, {}},
        {"0x10", 90, {}},
        {"３７", 90, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DistrictTable::parseCoordinate(QString::fromUtf8(c.field), c.limit), c.value) << c.field;
}

TEST(GeoDistanceTest, KnownDistances) {
    struct Case {
        const char* label;
        double lat1, lon1, lat2, lon2, metres, tolerance;
    };
    const Case cases[] = {
        {"same point", 37.5665, 126.978, 37.5665, 126.978, 0, 1e-6},
        {"one degree of latitude", 0, 0, 1, 0, 111195.08, 0.1},
        {"one degree of longitude at 60 degrees", 60, 10, 60, 11, 55596.0, 2},
        {"Seoul to Busan city halls", 37.5665, 126.978, 35.1796, 129.0756, 325000, 1500},
        {"antipodes", 10, 20, -10, -160, geo::kEarthRadiusMetres * M_PI, 1},
        {"across the date line", 0, 179.5, 0, -179.5, 111195.08, 0.1},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(geo::geoDistance(c.lat1, c.lon1, c.lat2, c.lon2), c.metres, c.tolerance) << c.label;
}

TEST_F(DistrictTableTest, ZeroPositionGivesDashEvenWithoutTable) {
    EXPECT_EQ(nearestDistrictName(0, 0), QStringLiteral("-"));
    districtTable().appendText(u"1 A 0.001 0.001");
    EXPECT_EQ(nearestDistrictName(0, 0), QStringLiteral("-"));
    EXPECT_EQ(nearestDistrictName(0, 0.0005f), QStringLiteral("A")); // only (0, 0) is no position
}

TEST_F(DistrictTableTest, EmptyTableGivesNoneAndSaysSo) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(nearestDistrictName(37.5f, 127.0f), std::nullopt);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "collection indicising minimum value Err.\n");
}

TEST_F(DistrictTableTest, NearestRowWinsAndEarlierRowWinsTies) {
    // B and C are equally far from (0, 1); D is a copy of A further down.
    districtTable().appendText(u"1 A 0 10 2 B 0 2 3 C 2 0 4 D 0 10");
    struct Case {
        float latitude, longitude;
        const char* name;
    };
    const Case cases[] = {{9.0f, 0.5f, "A"}, {1.0f, 1.0f, "B"}, {0.5f, 1.9f, "C"}, {10.0f, 0.0f, "A"}};
    for (const Case& c : cases)
        EXPECT_EQ(nearestDistrictName(c.latitude, c.longitude), QString::fromUtf8(c.name))
            << c.latitude << ", " << c.longitude;
}

TEST_F(DistrictTableTest, RowsWithoutNumbersAreSkipped) {
    districtTable().appendText(u"1 Bad x 37.5 2 Worse 127.0 north 3 Far 90.5 95 4 Good 129 35");
    EXPECT_EQ(districtTable().size(), 4);
    EXPECT_EQ(nearestDistrictName(37.5f, 127.0f), QStringLiteral("Good"));

    districtTable().clear();
    districtTable().appendText(u"1 Bad x y");
    testing::internal::CaptureStdout();
    EXPECT_EQ(nearestDistrictName(37.5f, 127.0f), std::nullopt);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "collection indicising minimum value Err.\n");
}

TEST_F(DistrictTableTest, InvalidPositionGivesNone) {
    districtTable().appendText(u"1 A 127 37");
    for (const auto& [latitude, longitude] : {std::pair{NAN, 127.0f}, std::pair{37.0f, INFINITY},
                                              std::pair{95.0f, 127.0f}, std::pair{37.0f, -181.0f}})
        EXPECT_EQ(nearestDistrictName(latitude, longitude), std::nullopt) << latitude << ", " << longitude;
}

// The indexed lookup must answer exactly as measuring every row in file order does.
TEST_F(DistrictTableTest, IndexedLookupMatchesFullScan) {
    std::mt19937 random(42);
    std::uniform_real_distribution<double> latitudes(-90, 90), longitudes(-180, 180), near(-0.5, 0.5);
    DistrictTable table;
    QString text;
    for (int i = 0; i < 500; ++i) {
        // Coarse coordinates make many equal latitudes and exact ties; some rows repeat.
        const double latitude = std::round(latitudes(random) / 4) * 4 / 10;
        const double longitude = std::round(longitudes(random) / 4) * 4 / 10;
        text += QStringLiteral("%1 R%1 %2 %3 ").arg(i).arg(longitude).arg(latitude);
        if (i % 50 == 0)
            text += QStringLiteral("x bad %1 - ").arg(longitude);
    }
    table.appendText(text);
    table.appendText(text); // a second load appends copies
    for (int i = 0; i < 2000; ++i) {
        const bool local = i % 2 == 0;
        const double latitude = local ? near(random) * 20 : latitudes(random);
        const double longitude = local ? near(random) * 40 : longitudes(random);
        ASSERT_EQ(table.nearestRow(latitude, longitude), table.nearestRowByScan(latitude, longitude))
            << latitude << ", " << longitude;
    }
    for (const auto& [latitude, longitude] :
         {std::pair{0.0, 0.0}, std::pair{0.4, 0.4}, std::pair{90.0, 0.0}, std::pair{-90.0, 180.0}})
        EXPECT_EQ(table.nearestRow(latitude, longitude), table.nearestRowByScan(latitude, longitude));
}

TEST_F(DistrictTableTest, LoadsFileAndAppendsOnEachLoad) {
    const QString path = writeFile(QStringLiteral("d.dat"), "1 A 127 37 \n2 B 129 35 \n");
    EXPECT_TRUE(loadAdminDistrictInfo(path));
    EXPECT_EQ(districtTable().size(), 2);
    EXPECT_TRUE(loadAdminDistrictInfo(path));
    EXPECT_EQ(districtTable().size(), 4);
    EXPECT_EQ(districtTable().rows()[1], (QStringList{"\n2", "B", "129", "35"}));
    EXPECT_EQ(districtTable().rows()[2], (QStringList{"1", "A", "127", "37"}));
    EXPECT_EQ(nearestDistrictName(35.1f, 129.1f), QStringLiteral("B"));
}

TEST_F(DistrictTableTest, UnreadableFileLeavesTableAsItWas) {
    districtTable().appendText(u"1 A 127 37");
    const struct {
        const char* label;
        QString path;
    } cases[] = {
        {"missing file", dir.filePath(QStringLiteral("absent.dat"))},
        {"folder", dir.path()},
        {"not UTF-8", writeFile(QStringLiteral("latin1.dat"), "1 \xc0\xff 127 37")},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(loadAdminDistrictInfo(c.path)) << c.label;
        EXPECT_FALSE(testing::internal::GetCapturedStdout().empty()) << c.label;
        EXPECT_EQ(districtTable().size(), 1) << c.label;
    }
}

TEST_F(DistrictTableTest, ResourceFolderCanBeOverridden) {
    writeFile(QStringLiteral("AdminDistrictInfo.dat"), "1 Override 127 37");
    qputenv("KAVRIN_RESOURCES_DIR", dir.path().toUtf8());
    EXPECT_EQ(adminDistrictInfoPath(), dir.filePath(QStringLiteral("AdminDistrictInfo.dat")));
    loadAdminDistrictInfo();
    qunsetenv("KAVRIN_RESOURCES_DIR");
    EXPECT_EQ(nearestDistrictName(37.0f, 127.0f), QStringLiteral("Override"));
    // Without the override the shipped table is found beside the program or in the source tree.
    EXPECT_TRUE(adminDistrictInfoPath().has_value());
}

TEST_F(DistrictTableTest, ShippedTableNamesKnownPlaces) {
    ASSERT_TRUE(loadAdminDistrictInfo(sourceResource()));
    ASSERT_GT(districtTable().size(), 1000);
    for (const QStringList& row : districtTable().rows()) {
        ASSERT_TRUE(DistrictTable::parseCoordinate(row[2], 180) && DistrictTable::parseCoordinate(row[3], 90))
            << row.join(u' ').toStdString();
        ASSERT_FALSE(row[1].contains(u'_')) << row[1].toStdString();
    }
    struct Case {
        const char* label;
        float latitude, longitude;
        QStringList accepted;
    };
    const Case cases[] = {
        {"Seoul City Hall", 37.5665f, 126.9780f, {"서울특별시 중구"}},
        {"Busan Station", 35.1151f, 129.0415f, {"부산광역시 동구", "부산광역시 중구"}},
        {"Gangnam Station", 37.4979f, 127.0276f, {"서울특별시 강남구", "서울특별시 서초구"}},
        {"Jeju City Hall", 33.4996f, 126.5312f, {"제주특별자치도 제주시"}},
        {"Suwon Hwaseong Haenggung", 37.2818f, 127.0136f, {"경기도 수원시 팔달구"}},
        {"Tokyo Station", 35.6812f, 139.7671f, {"도쿄"}},
        {"Dokdo", 37.2417f, 131.8650f, {"경상북도 울릉군"}},
    };
    for (const Case& c : cases) {
        const std::optional<QString> name = nearestDistrictName(c.latitude, c.longitude);
        ASSERT_TRUE(name) << c.label;
        EXPECT_TRUE(c.accepted.contains(*name)) << c.label << ": " << name->toStdString();
    }
    // Near the country and anywhere on earth, the indexed lookup answers as the full scan.
    std::mt19937 random(1);
    std::uniform_real_distribution<float> latitudes(32.5f, 39.0f), longitudes(124.0f, 132.5f);
    std::uniform_real_distribution<float> anyLatitude(-90, 90), anyLongitude(-180, 180);
    for (int i = 0; i < 300; ++i) {
        const bool near = i % 3 != 0;
        const float latitude = near ? latitudes(random) : anyLatitude(random);
        const float longitude = near ? longitudes(random) : anyLongitude(random);
        ASSERT_EQ(districtTable().nearestRow(latitude, longitude),
                  districtTable().nearestRowByScan(latitude, longitude))
            << latitude << ", " << longitude;
    }
}

} // namespace
