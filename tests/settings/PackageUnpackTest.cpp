// A card package unpacked off the main thread, whole or cancelled.

#include "SettingsTestSupport.h"

#include "settings/PackageUnpack.h"

#include <QPointer>
#include <QTemporaryDir>

#include <optional>

using namespace looptest;
using namespace settingstest;
using ziptest::noise;
using ziptest::tree;

TEST(PackageUnpackTest, APackageUnpacksOffTheMainThreadAndACancelLeavesNothing) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString root = temp.path() + QStringLiteral("/card");
    const QString archive = root + QStringLiteral("/firmware.zip");
    const QByteArray firmware = noise(16 * 1024 * 1024, 3);
    const struct {
        const char* name;
        bool cancel;
        QStringList after;
    } cases[] = {
        {"unpacked", false, {QStringLiteral("FW.bin"), QStringLiteral("ver.txt")}},
        {"cancelled at once", true, {QStringLiteral("ver.txt")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(root).removeRecursively();
        writeFile(root + QStringLiteral("/ver.txt"), "old");
        ASSERT_TRUE(writeZip(archive, {{"FW.bin", firmware}}));
        QList<qint64> reports;
        std::optional<UnzipResult> result;
        QPointer<PackageUnpack> unpack = new PackageUnpack(
            archive, root, [&](qint64 written, qint64) { reports.append(written); },
            [&](const UnzipResult& r, const QString& removalError) {
                result = r;
                EXPECT_TRUE(removalError.isEmpty());
            },
            nullptr);
        // The constructor returns while the thread works.
        EXPECT_FALSE(result);
        if (c.cancel) {
            unpack->cancel();
            EXPECT_TRUE(unpack->isFinished());
        } else {
            EXPECT_TRUE(waitUntil([&] { return result.has_value(); }, 30000));
            ASSERT_TRUE(result);
            EXPECT_TRUE(result->succeeded()) << result->error.toStdString();
            ASSERT_FALSE(reports.isEmpty());
            EXPECT_EQ(reports.last(), firmware.size());
        }
        spinFor(100);
        EXPECT_EQ(result.has_value(), !c.cancel);
        EXPECT_EQ(tree(root), c.after);
        delete unpack;
    }
}
