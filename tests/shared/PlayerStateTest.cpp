#include "shared/PlayerState.h"

#include "capture/backupData.h"
#include "capture/captureData.h"
#include "shared/mode.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <unordered_set>

namespace {

// Other tests of this executable change the shared state: the values at
// start are checked in a fresh process running only the tests below.
bool inFreshProcess() {
    return qEnvironmentVariableIsSet("KAVRIN_PLAYER_STATE_FRESH");
}

} // namespace

TEST(PlayerState, StartsFreshInANewProcess) {
    if (inFreshProcess())
        GTEST_SKIP();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KAVRIN_PLAYER_STATE_FRESH", "1");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=PlayerStateFresh.*"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray output = child.readAllStandardOutput();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 3 tests")) << output.toStdString();
}

TEST(PlayerStateFresh, InitialValuesBeforeAnyFolderIsOpened) {
    if (!inFreshProcess())
        GTEST_SKIP() << "run by PlayerState.StartsFreshInANewProcess";
    EXPECT_TRUE(recordingList.isEmpty());
    EXPECT_FALSE(displayedRecordingList.has_value());
    EXPECT_EQ(currentIndex, -1);
    ASSERT_TRUE(selectedRow.has_value());
    EXPECT_EQ(*selectedRow, -1);
    EXPECT_FALSE(currentRecording.has_value());
    EXPECT_EQ(currentAsset, nullptr);
    EXPECT_FALSE(lastPlayTime.has_value());
    EXPECT_EQ(playState, 0);
    EXPECT_EQ(playMode, mode::multiple_ch);
    EXPECT_EQ(channelCount, 0);
    EXPECT_EQ(speedIndex, 1);
    EXPECT_FLOAT_EQ(speedRates[speedIndex], 1.0f);
    EXPECT_EQ(zoomIndex, 0);
    EXPECT_DOUBLE_EQ(zoomScales[zoomIndex], 1.0);
    EXPECT_FALSE(isMono);
    EXPECT_FALSE(isRepeatOne);
    EXPECT_FALSE(isMuted);
    EXPECT_FLOAT_EQ(volume, 0.5f);
    EXPECT_TRUE(typeFilterTitle.isEmpty());
    EXPECT_FALSE(hasGps);
    EXPECT_EQ(windowTransition, 0);
    EXPECT_EQ(dataPanelIndex, 0);
    EXPECT_FALSE(cardModel.has_value());
    EXPECT_FALSE(cardVersion.has_value());
    EXPECT_TRUE(isNetworkConnected.load());
    EXPECT_FALSE(updateChecked);
    EXPECT_TRUE(versionInfo.isObject());
    EXPECT_TRUE(versionInfo.toObject().isEmpty());
    EXPECT_TRUE(packetCache.isEmpty());
}

TEST(PlayerState, RateAndZoomTables) {
    EXPECT_EQ(speedRates, (std::array<float, 4>{0.5f, 1.0f, 1.5f, 2.0f}));
    EXPECT_EQ(zoomScales, (std::array<double, 4>{1.0, 1.5, 2.0, 3.0}));
}

TEST(PlayerState, TimeStringPadsEachPartBelowTen) {
    const std::pair<qint64, const char*> cases[] = {
        {0, "00:00:00"},      {9, "00:00:09"},       {10, "00:00:10"},
        {59, "00:00:59"},     {60, "00:01:00"},      {599, "00:09:59"},
        {600, "00:10:00"},    {3599, "00:59:59"},    {3600, "01:00:00"},
        {3725, "01:02:05"},   {35999, "09:59:59"},   {36000, "10:00:00"},
        {359999, "99:59:59"}, {360000, "100:00:00"}, {3600 * 1000 + 61, "1000:01:01"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(timeString(seconds), QString::fromLatin1(text)) << "seconds " << seconds;
}

TEST(PlayerState, TimeStringShowsTheStartForNegativeSeconds) {
    EXPECT_EQ(timeString(-1), "00:00:00");
    EXPECT_EQ(timeString(-3725), "00:00:00");
    EXPECT_EQ(timeString(std::numeric_limits<qint64>::min()), "00:00:00");
    EXPECT_FALSE(timeString(std::numeric_limits<qint64>::max()).isEmpty());
}

TEST(PlayerStateFresh, RecordingCategoriesAreNineBuiltOnce) {
    if (!inFreshProcess())
        GTEST_SKIP() << "run by PlayerState.StartsFreshInANewProcess";
    const QStringList& categories = recordingCategories();
    ASSERT_EQ(categories.size(), 9);
    EXPECT_EQ(&categories, &recordingCategories());
    // Without a loaded table the keys are the names.
    EXPECT_EQ(categories.first(), "All");
    EXPECT_EQ(categories.last(), "Etc.");
    EXPECT_EQ(categories, (QStringList{"All", "Normal", "Event", "Parking", "Motion", "Camcorder", "Myfolder",
                                       "AI", "Etc."}));
}

TEST(PlayerState, ModesCompareAndHashByCaseIndex) {
    EXPECT_EQ(modeIndex(mode::ch1), 0);
    EXPECT_EQ(modeIndex(mode::none_ch), 5);
    std::unordered_set<mode> std{mode::ch1, mode::ch2, mode::ch1};
    EXPECT_EQ(std.size(), 2u);
    QSet<mode> qt{mode::multiple_ch, mode::multiple_ch, mode::none_ch};
    EXPECT_EQ(qt.size(), 2);
    EXPECT_EQ(std::hash<mode>{}(mode::ch3), std::hash<int>{}(2));

    const backupData backup;
    EXPECT_EQ(backup.asset, nullptr);
    const captureData data;
    EXPECT_EQ(data.playMode, mode::multiple_ch);
    EXPECT_FALSE(data.isMultipleVideo);
}
