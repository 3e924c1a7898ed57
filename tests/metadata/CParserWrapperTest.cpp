// The parser facade on recordings of all three layouts.

#include "metadata/CParserWrapper.h"
#include "MetadataPrinters.h"
#include "MetadataTestFiles.h"
#include "metadata/ParserManager.h"

#include <gtest/gtest.h>

namespace {

struct LayoutCase {
    const char* name;
    samplegen::Layout layout;
    const char* file;
};

const LayoutCase kLayouts[] = {
    {"DataTrack", samplegen::Layout::DataTrack, "wrapper_datatrack.mp4"},
    {"Boxes", samplegen::Layout::Boxes, "wrapper_boxes.mp4"},
    {"Avi", samplegen::Layout::Avi, "wrapper_avi.avi"},
};

} // namespace

class WrapperLayouts : public testing::TestWithParam<LayoutCase> {};

TEST_P(WrapperLayouts, ListsOfEqualLengthMatchingTheDrive) {
    const LayoutCase& c = GetParam();
    const testfiles::Recording rec = testfiles::write(c.file, testfiles::smallRecording(c.layout));
    CParserWrapper wrapper(false);
    ASSERT_TRUE(wrapper.parse(rec.path)) << c.name;
    const auto gps = wrapper.getGpsDatas();
    const auto sensor = wrapper.getSensorDatas();
    ASSERT_TRUE(gps && sensor) << c.name;
    ASSERT_EQ(gps->size(), qsizetype(rec.drive.fixes.size())) << c.name;
    ASSERT_EQ(sensor->size(), gps->size()) << c.name;
    for (qsizetype i = 0; i < gps->size(); ++i) {
        const samplegen::Fix& fix = rec.drive.fixes[std::size_t(i)];
        const samplegen::Accel& accel = rec.drive.accel[std::size_t(i)];
        EXPECT_EQ((*gps)[i], GpsData(float(fix.speedKmh), float(fix.lat), float(fix.lng)))
            << c.name << " fix " << i;
        EXPECT_EQ((*sensor)[i], SensorData(accel.x, accel.y, accel.z)) << c.name << " sample " << i;
    }

    const std::optional<GpsData> first = CParserWrapper().getFirstGPS(rec.path);
    ASSERT_TRUE(first) << c.name;
    EXPECT_EQ(*first, gps->front()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Layouts, WrapperLayouts, testing::ValuesIn(kLayouts),
                         [](const testing::TestParamInfo<LayoutCase>& paramInfo) {
                             return paramInfo.param.name;
                         });

TEST(CParserWrapper, UnreadableFileLeavesBothListsNone) {
    for (const char* name : {"missing.mp4", "upper_case.AVI"}) {
        const QString path = QString::fromStdString((testfiles::dir() / name).string());
        if (std::string(name) == "upper_case.AVI")
            testfiles::write(name, testfiles::smallRecording(samplegen::Layout::Avi));
        CParserWrapper wrapper(false);
        EXPECT_FALSE(wrapper.parse(path)) << name;
        EXPECT_FALSE(wrapper.getGpsDatas()) << name;
        EXPECT_FALSE(wrapper.getSensorDatas()) << name;
        EXPECT_FALSE(wrapper.getFirstGPS(path)) << name;
    }
}

TEST(CParserWrapper, FailedParseKeepsEarlierLists) {
    const testfiles::Recording rec =
        testfiles::write("wrapper_keep.avi", testfiles::smallRecording(samplegen::Layout::Avi));
    CParserWrapper wrapper(false);
    ASSERT_TRUE(wrapper.parse(rec.path));
    const auto before = wrapper.getGpsDatas();
    EXPECT_FALSE(wrapper.parse(QStringLiteral("/nonexistent/file.avi")));
    EXPECT_EQ(wrapper.getGpsDatas(), before);
}

TEST(CParserWrapper, BoxesWithoutSensBoxGiveNoSensorList) {
    const testfiles::Recording rec =
        testfiles::write("wrapper_gpsr_only.mp4", testfiles::smallRecording(samplegen::Layout::Boxes));
    testfiles::renameBox(rec.path, "SENS", "free");
    CParserWrapper wrapper(false);
    ASSERT_TRUE(wrapper.parse(rec.path));
    ASSERT_TRUE(wrapper.getGpsDatas());
    EXPECT_EQ(wrapper.getGpsDatas()->size(), qsizetype(rec.drive.fixes.size()));
    EXPECT_FALSE(wrapper.getSensorDatas());
}

TEST(CParserWrapper, FirstFixOfSampleWithoutFixIsZero) {
    const samplegen::RecordingOptions options = testfiles::smallRecording(samplegen::Layout::Avi);
    samplegen::Drive drive = samplegen::makeDrive(options);
    drive.fixes.front() = samplegen::Fix{};
    const QString path = QString::fromStdString((testfiles::dir() / "wrapper_nofix.avi").string());
    samplegen::writeRecording(path.toStdString(), options, drive);
    const std::optional<GpsData> first = CParserWrapper().getFirstGPS(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, GpsData(0, 0, 0));
}

TEST(CParserWrapper, OwnsItsManager) {
    CParserWrapper wrapper;
    ASSERT_NE(wrapper.parserManager(), nullptr);
    wrapper.setParserManager(new ParserManager(false)); // the first one is deleted (ASan checks)
    EXPECT_NE(wrapper.parserManager(), nullptr);
    EXPECT_FALSE(wrapper.useH265());
}
