// Looking for the memory card among the mounted volumes when a folder cannot
// be listed: the permission reset, which volumes count as cards, and the order
// in which several cards are opened.

#include "common/FolderOpenTestCard.h"

#include "platform/system/PermissionReset.h"

using namespace cardtest;

namespace {

class CardScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetPlayerState();
        ASSERT_TRUE(temp.isValid());
    }

    // A volume root holding `verTxt` (none when null) and empty recording files.
    QUrl volume(const QString& name, const char* verTxt, const QStringList& recordings = {}) {
        const QString root = temp.path() + QLatin1Char('/') + name;
        QDir().mkpath(root);
        if (verTxt)
            writeFile(root + QStringLiteral("/ver.txt"), verTxt);
        for (const QString& recording : recordings)
            writeFile(root + QLatin1Char('/') + recording, QByteArray());
        return QUrl::fromLocalFile(root);
    }

    QTemporaryDir temp;
    Harness harness;
};

} // namespace

TEST_F(CardScanTest, EveryVolumeWithAValidVerTxtIsOpenedInTurn) {
    const QUrl plain = volume(QStringLiteral("plain"), nullptr, {"20241108-083000_F_N.mp4"});
    const QUrl broken = volume(QStringLiteral("broken"), "Model=X\n");
    const QUrl first = volume(QStringLiteral("first"), "Model=A\nVersion=1\n", {"20241108-083000_F_N.mp4"});
    const QUrl missing = QUrl::fromLocalFile(temp.path() + QStringLiteral("/missing"));
    const QUrl second = volume(QStringLiteral("second"), "Model=B\nVersion=2\n",
                               {"20241108-090000_F_E.mp4", "20241108-090000_R_E.mp4"});

    const QStringList lines = printedLines([&] {
        harness.opener.validateCardVolumes({plain, broken, first, missing, second});
    });
    EXPECT_TRUE(lines.contains(plain.toString() + QStringLiteral(" is not validated orvo volume")));
    EXPECT_TRUE(lines.contains(broken.toString() + QStringLiteral(" is not validated orvo volume")));
    EXPECT_TRUE(lines.contains(QStringLiteral("verTxt parsing Err.")));
    EXPECT_FALSE(lines.filter(QStringLiteral("missing")).isEmpty());
    EXPECT_EQ(lines.count(QStringLiteral("openFileVolume()")), 2);
    // The last card stays open.
    EXPECT_EQ(cardModel, QStringLiteral("B"));
    EXPECT_EQ(harness.modelText, QStringLiteral("B"));
    ASSERT_EQ(recordingList.size(), 1);
    EXPECT_EQ(recordingList[0].row.Channel, QStringLiteral("2CH"));
    EXPECT_TRUE(harness.alerts.isEmpty());
}

TEST_F(CardScanTest, APermissionErrorOrNoIdentifierStopsTheScan) {
    harness.volumes = {volume(QStringLiteral("card"), "Model=A\nVersion=1\n", {"20241108-083000_F_N.mp4"})};

    harness.permissionError = QStringLiteral("tccutil: denied");
    QStringList lines = printedLines([&] { harness.opener.scanRemovableVolumes(); });
    EXPECT_EQ(lines, QStringList{"permission Err. tccutil: denied"});
    EXPECT_TRUE(recordingList.isEmpty());

    harness.permissionError.clear();
    harness.opener.hooks().bundleIdentifier = [] { return QString(); };
    lines = printedLines([&] { harness.opener.scanRemovableVolumes(); });
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(harness.permissionResets, 1);

    harness.opener.hooks().bundleIdentifier = [] { return QStringLiteral("com.kavrin.player"); };
    harness.opener.scanRemovableVolumes();
    EXPECT_EQ(recordingList.size(), 1);
}

TEST_F(CardScanTest, TheLinuxPermissionResetHasNothingToReset) {
    const PermissionReset::Result result =
        PermissionReset::resetRemovableVolumes(QStringLiteral("com.kavrin.player"));
    EXPECT_TRUE(result.nothingToReset);
    EXPECT_TRUE(result.standardError.isEmpty());

    // With the real step the scan goes on to the volumes.
    harness.opener.hooks().resetPermission = nullptr;
    harness.volumes = {volume(QStringLiteral("card"), "Model=A\nVersion=1\n", {"20241108-083000_F_N.mp4"})};
    harness.opener.scanRemovableVolumes();
    EXPECT_EQ(recordingList.size(), 1);
}
