// The per-file metadata cache filled by getUserData and read by packetModelForURL.

#include "metadata/PacketCache.h"
#include "MetadataPrinters.h"
#include "MetadataTestFiles.h"
#include "metadata/FFmpeg.h"

#include <gtest/gtest.h>

namespace {

class PacketCacheTest : public testing::Test {
protected:
    void SetUp() override { packetCache.clear(); }
    void TearDown() override { packetCache.clear(); }
    FFmpeg reader;
};

OrvoVideoPacket packetOf(const samplegen::Fix& fix, const samplegen::Accel& accel) {
    return {accel.x, accel.y, accel.z, float(fix.speedKmh), float(fix.lat), float(fix.lng), 1, 1};
}

} // namespace

TEST_F(PacketCacheTest, CachesEveryLayoutOnce) {
    const struct {
        samplegen::Layout layout;
        const char* file;
    } cases[] = {
        {samplegen::Layout::DataTrack, "cache_datatrack.mp4"},
        {samplegen::Layout::Boxes, "cache_boxes.mp4"},
        {samplegen::Layout::Avi, "cache_avi.avi"},
    };
    for (const auto& c : cases) {
        const testfiles::Recording rec = testfiles::write(c.file, testfiles::smallRecording(c.layout));
        getUserData(rec.path, reader);
        const std::optional<orvoPacketModel> model = packetModelForURL(QUrl::fromLocalFile(rec.path));
        ASSERT_TRUE(model) << c.file;
        EXPECT_EQ(model->name, rec.path);
        ASSERT_EQ(model->packet.size(), qsizetype(rec.drive.fixes.size())) << c.file;
        for (qsizetype i = 0; i < model->packet.size(); ++i)
            EXPECT_EQ(model->packet[i],
                      packetOf(rec.drive.fixes[std::size_t(i)], rec.drive.accel[std::size_t(i)]))
                << c.file << " packet " << i;
    }
    EXPECT_EQ(packetCache.size(), 3);
}

TEST_F(PacketCacheTest, SameFileTwiceParsesOnce) {
    const testfiles::Recording first =
        testfiles::write("cache_twice.avi", testfiles::smallRecording(samplegen::Layout::Avi, 1));
    getUserData(first.path, reader);
    ASSERT_EQ(packetCache.size(), 1);
    const orvoPacketModel cached = packetCache.front();

    // The file changes on disk; a second play must not parse it again.
    samplegen::RecordingOptions other = testfiles::smallRecording(samplegen::Layout::Avi, 7);
    other.seconds = 6;
    testfiles::write("cache_twice.avi", other);
    getUserData(first.path, reader);
    ASSERT_EQ(packetCache.size(), 1);
    EXPECT_EQ(packetCache.front(), cached);

    // Once the cache is emptied the file is parsed again.
    packetCache.clear();
    getUserData(first.path, reader);
    ASSERT_EQ(packetCache.size(), 1);
    EXPECT_EQ(packetCache.front().packet.size(), 6);
}

TEST_F(PacketCacheTest, NoEntryForFilesNoParserReads) {
    const testfiles::Recording upper =
        testfiles::write("cache_upper.AVI", testfiles::smallRecording(samplegen::Layout::Avi));
    const QString missing = QString::fromStdString((testfiles::dir() / "cache_missing.mp4").string());
    const QString garbage = QString::fromStdString((testfiles::dir() / "cache_garbage.avi").string());
    {
        std::ofstream out(garbage.toStdString(), std::ios::binary | std::ios::trunc);
        out << std::string(1000, 'x');
    }
    for (const QString& path :
         {upper.path, missing, garbage, QString(), QStringLiteral("relative/none.avi")}) {
        getUserData(path, reader);
        EXPECT_TRUE(packetCache.isEmpty()) << path.toStdString();
        EXPECT_FALSE(packetModelForURL(QUrl::fromLocalFile(path))) << path.toStdString();
    }
}

TEST_F(PacketCacheTest, MissingBoxLeavesItsFieldsNone) {
    const testfiles::Recording gpsOnly =
        testfiles::write("cache_gpsr_only.mp4", testfiles::smallRecording(samplegen::Layout::Boxes));
    testfiles::renameBox(gpsOnly.path, "SENS", "free");
    getUserData(gpsOnly.path, reader);
    const std::optional<orvoPacketModel> model = packetModelForURL(QUrl::fromLocalFile(gpsOnly.path));
    ASSERT_TRUE(model);
    ASSERT_EQ(model->packet.size(), qsizetype(gpsOnly.drive.fixes.size()));
    for (const OrvoVideoPacket& p : model->packet) {
        EXPECT_FALSE(p.gsensor_x || p.gsensor_y || p.gsensor_z);
        EXPECT_TRUE(p.gps_speed && p.gps_latitude && p.gps_longitude);
        EXPECT_EQ(p.gps_dir_lati, 1u);
        EXPECT_EQ(p.gps_dir_longi, 1u);
    }
}

TEST_F(PacketCacheTest, LookupComparesThePathAsText) {
    packetCache.append({QStringLiteral("/cards/a b#1.avi"), {}});
    packetCache.append({QStringLiteral("/cards/x.avi"), {OrvoVideoPacket{}}});
    packetCache.append({QStringLiteral("/cards/x.avi"), {}}); // never reached: the first entry wins
    EXPECT_TRUE(packetModelForURL(QUrl::fromLocalFile(QStringLiteral("/cards/a b#1.avi"))));
    const auto x = packetModelForURL(QUrl::fromLocalFile(QStringLiteral("/cards/x.avi")));
    ASSERT_TRUE(x);
    EXPECT_EQ(x->packet.size(), 1);
    EXPECT_FALSE(packetModelForURL(QUrl::fromLocalFile(QStringLiteral("/cards/X.avi"))));
    EXPECT_FALSE(packetModelForURL(QUrl::fromLocalFile(QStringLiteral("/cards/x.avi/"))));
    EXPECT_FALSE(packetModelForURL(QUrl()));
}
