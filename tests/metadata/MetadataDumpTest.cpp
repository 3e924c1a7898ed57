// The developer tool build/tools/metadata-dump, run as a program.

#include "MetadataTestFiles.h"
#include "metadata/DistrictTable.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace {

struct DumpRun {
    int status = -1;
    std::string out;
};

std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs the tool with `args`, standard error discarded.
DumpRun runDump(const std::vector<std::string>& args) {
    std::string command = quoted(std::string(KAVRIN_BINARY_DIR) + "/tools/metadata-dump");
    for (const std::string& arg : args)
        command += " " + quoted(arg);
    command += " 2>/dev/null";
    DumpRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class MetadataDumpTest : public testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(std::string(KAVRIN_BINARY_DIR) + "/tools/metadata-dump"))
            GTEST_SKIP() << "build/tools/metadata-dump is not built";
    }
};

std::string fields(float a, float b, float c) {
    char text[128];
    std::snprintf(text, sizeof text, "%.9g,%.9g,%.9g", double(a), double(b), double(c));
    return text;
}

} // namespace

TEST_F(MetadataDumpTest, PacketsAsCsv) {
    samplegen::RecordingOptions options = testfiles::smallRecording(samplegen::Layout::Avi);
    options.aviNmeaPositions = true;
    const testfiles::Recording rec = testfiles::write("dump_avi.avi", options);
    const DumpRun run = runDump({rec.path.toStdString()});
    EXPECT_EQ(run.status, 0);
    const QStringList lines = QString::fromStdString(run.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), qsizetype(rec.drive.fixes.size()) + 1) << run.out;
    EXPECT_EQ(lines[0], "index,speed,lat,lng,x,y,z");
    for (std::size_t i = 0; i < rec.drive.fixes.size(); ++i) {
        const samplegen::Fix& f = rec.drive.fixes[i];
        const samplegen::Accel& a = rec.drive.accel[i];
        const std::string expected = std::to_string(i) + "," +
                                     fields(float(f.speedKmh), float(f.lat), float(f.lng)) + "," +
                                     fields(a.x, a.y, a.z);
        EXPECT_EQ(lines[qsizetype(i) + 1].toStdString(), expected);
        // The printed numbers read back as the same floats.
        const QStringList cells = lines[qsizetype(i) + 1].split(',');
        ASSERT_EQ(cells.size(), 7);
        EXPECT_EQ(cells[2].toFloat(), float(f.lat));
    }
}

TEST_F(MetadataDumpTest, AbsentValuesAreEmptyFields) {
    const testfiles::Recording rec =
        testfiles::write("dump_gpsr_only.mp4", testfiles::smallRecording(samplegen::Layout::Boxes));
    testfiles::renameBox(rec.path, "SENS", "free");
    const DumpRun run = runDump({rec.path.toStdString()});
    EXPECT_EQ(run.status, 0);
    const QStringList lines = QString::fromStdString(run.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), qsizetype(rec.drive.fixes.size()) + 1);
    EXPECT_TRUE(lines[1].startsWith("0,")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(",,,")) << lines[1].toStdString();
}

TEST_F(MetadataDumpTest, UnreadableFileGivesHeaderAlone) {
    const testfiles::Recording upper =
        testfiles::write("dump_upper.AVI", testfiles::smallRecording(samplegen::Layout::Avi));
    for (const std::string& path : {upper.path.toStdString(), std::string("/nonexistent/x.mp4")}) {
        const DumpRun run = runDump({path});
        EXPECT_EQ(run.status, 1) << path;
        EXPECT_EQ(run.out, "index,speed,lat,lng,x,y,z\n") << path;
    }
}

TEST_F(MetadataDumpTest, FirstFixAndStreams) {
    samplegen::RecordingOptions options = testfiles::smallRecording(samplegen::Layout::Avi);
    options.videoStreams = 2;
    options.audio = true;
    const testfiles::Recording rec = testfiles::write("dump_two.avi", options);
    const samplegen::Fix& f = rec.drive.fixes.front();

    const DumpRun first = runDump({"--first", rec.path.toStdString()});
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.out, fields(float(f.speedKmh), float(f.lat), float(f.lng)) + "\n");

    const DumpRun noFix = runDump({"--first", "/nonexistent/x.avi"});
    EXPECT_EQ(noFix.status, 1);
    EXPECT_EQ(noFix.out, "");

    const DumpRun streams = runDump({"--streams", rec.path.toStdString()});
    EXPECT_EQ(streams.status, 0);
    EXPECT_EQ(streams.out, "2,1,0\n");
    // A file that cannot be opened: no streams, and HEVC.
    EXPECT_EQ(runDump({"--streams", "/nonexistent/x.avi"}).out, "0,0,1\n");
}

TEST_F(MetadataDumpTest, DistrictOfTheShippedTable) {
    const std::string table = std::string(KAVRIN_SOURCE_DIR) + "/resources/AdminDistrictInfo.dat";
    if (!std::filesystem::exists(table))
        GTEST_SKIP() << "resources/AdminDistrictInfo.dat is not there";
    districtTable().clear();
    ASSERT_TRUE(loadAdminDistrictInfo(QString::fromStdString(table)));
    const std::optional<QString> expected = nearestDistrictName(37.5665f, 126.978f);
    districtTable().clear();
    ASSERT_TRUE(expected);

    const DumpRun seoul = runDump({"--district", "37.5665", "126.978"});
    EXPECT_EQ(seoul.status, 0);
    EXPECT_EQ(seoul.out, expected->toStdString() + "\n");
    EXPECT_EQ(runDump({"--district", "0", "0"}).out, "-\n");
    const DumpRun invalid = runDump({"--district", "95", "200"});
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.out, "");
    EXPECT_EQ(runDump({"--district", "north", "east"}).status, 2);
    EXPECT_EQ(runDump({}).status, 2);
}
