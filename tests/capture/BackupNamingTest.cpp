// The tool's argument lists and the outputs (file names, inputs, streams) of
// both kinds of backup, as one table.

#include "BackupTestSupport.h"

#include "capture/BackupViewController.h"
#include "capture/ClipBackup.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

using backuptest::entry;

const QString kDir = QStringLiteral("/card/Normal");

QString at(const char* name) {
    return kDir + QLatin1Char('/') + QLatin1String(name);
}

struct OutputCase {
    const char* label;
    orvoTableModel row;
    int videoStreams;
    QList<BackupOutput> screen;  // the backup screen's outputs
    QList<BackupOutput> context; // the context menu's outputs
};

TEST(BackupNaming, ArgumentListsAndOutputsOfEveryCase) {
    // The argument lists: the video stream alone, or with the extra stream.
    EXPECT_EQ(
        ffmpegRemuxArguments(0, 2, true, QStringLiteral("/in/a.avi"), QStringLiteral("/out/a_F_backup.mov")),
        (QStringList{"-i", "/in/a.avi", "-c:v", "copy", "-acodec", "copy", "-map", "0:0", "-map", "0:2",
                     "/out/a_F_backup.mov"}));
    EXPECT_EQ(
        ffmpegRemuxArguments(12, 13, false, QStringLiteral("/in/a.mp4"), QStringLiteral("/out/b.mov")),
        (QStringList{"-i", "/in/a.mp4", "-c:v", "copy", "-acodec", "copy", "-map", "0:12", "/out/b.mov"}));
    EXPECT_EQ(BackupViewController::ffmpegRemuxArguments(1, 2, true, "i", "o"),
              ffmpegRemuxArguments(1, 2, true, "i", "o"));

    const QString front = at("20241108-083000_F_N.mp4");
    const QString rear = at("20241108-083000_R_N.mp4");
    const QString inside = at("20241108-083000_I_N.mp4");
    const QString avi = at("20241108-085000_N.avi");
    const QList<OutputCase> cases = {
        {"channel files F, R and I",
         entry(front, rear, inside),
         0,
         {{front, "20241108-083000_F_N_backup.mov", 0, 1},
          {rear, "20241108-083000_R_N_backup.mov", 0, 1},
          {inside, "20241108-083000_I_N_backup.mov", 0, 1}},
         // The inside file is not copied; both names carry the main file's name.
         {{front, "20241108-083000_F_N-1CH-backup.mov", 0, 1},
          {rear, "20241108-083000_F_N-2CH-backup.mov", 0, 1}}},
        {"channel files F and R",
         entry(front, rear),
         2, // not asked for: the files count
         {{front, "20241108-083000_F_N_backup.mov", 0, 1}, {rear, "20241108-083000_R_N_backup.mov", 0, 1}},
         {{front, "20241108-083000_F_N-1CH-backup.mov", 0, 1},
          {rear, "20241108-083000_F_N-2CH-backup.mov", 0, 1}}},
        {"one file, two video streams",
         entry(avi),
         2,
         {{avi, "20241108-085000_N_F_backup.mov", 0, 2}, {avi, "20241108-085000_N_R_backup.mov", 1, 2}},
         {{avi, "20241108-085000_N-0CH-backup.mov", 0, 2}, {avi, "20241108-085000_N-1CH-backup.mov", 1, 2}}},
        {"one file, three video streams",
         entry(avi),
         3,
         {{avi, "20241108-085000_N_0CH_backup.mov", 0, 3},
          {avi, "20241108-085000_N_1CH_backup.mov", 1, 3},
          {avi, "20241108-085000_N_2CH_backup.mov", 2, 3}},
         {{avi, "20241108-085000_N-0CH-backup.mov", 0, 3},
          {avi, "20241108-085000_N-1CH-backup.mov", 1, 3},
          {avi, "20241108-085000_N-2CH-backup.mov", 2, 3}}},
        {"one front file",
         entry(front),
         1,
         {{front, "20241108-083000_F_N_F_backup.mov", 0, 1}},
         {{front, "20241108-083000_F_N-0CH-backup.mov", 0, 1}}},
        {"one rear file",
         entry(rear),
         1,
         {{rear, "20241108-083000_R_N_R_backup.mov", 0, 1}},
         {{rear, "20241108-083000_R_N-0CH-backup.mov", 0, 1}}},
        {"one inside file",
         entry(inside),
         1,
         {{inside, "20241108-083000_I_N_I_backup.mov", 0, 1}},
         {{inside, "20241108-083000_I_N-0CH-backup.mov", 0, 1}}},
        // "_I_" wins over "_R_", and the folder's path counts too.
        {"rear file in an _I_ folder",
         entry(QStringLiteral("/x_I_y/20241108-083000_R_N.mp4")),
         1,
         {{"/x_I_y/20241108-083000_R_N.mp4", "20241108-083000_R_N_I_backup.mov", 0, 1}},
         {{"/x_I_y/20241108-083000_R_N.mp4", "20241108-083000_R_N-0CH-backup.mov", 0, 1}}},
        {"no channel letter",
         entry(at("clip.MP4")),
         1,
         {{at("clip.MP4"), "clip_F_backup.mov", 0, 1}},
         {{at("clip.MP4"), "clip-0CH-backup.mov", 0, 1}}},
        {"no video stream", entry(avi), 0, {}, {}},
        {"a name without extension",
         entry(at("20241108-083000_F_N")),
         1,
         {{at("20241108-083000_F_N"), "20241108-083000_F_N_F_backup.mov", 0, 1}},
         {{at("20241108-083000_F_N"), "20241108-083000_F_N-0CH-backup.mov", 0, 1}}},
    };
    for (const OutputCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(backupOutputs(c.row, c.videoStreams), c.screen);
        EXPECT_EQ(contextBackupOutputs(c.row, c.videoStreams), c.context);
        // The outputs of one backup never share a name, and each is a plain .mov file name.
        for (const auto* outputs : {&c.screen, &c.context}) {
            QSet<QString> names;
            for (const BackupOutput& output : *outputs) {
                EXPECT_TRUE(output.name.endsWith(QLatin1String(".mov"))) << output.name.toStdString();
                EXPECT_FALSE(output.name.contains(QLatin1Char('/')));
                names.insert(output.name);
            }
            EXPECT_EQ(names.size(), outputs->size());
        }
    }

    // The suffixes differ from each other and from the front channel's.
    const QSet<QString> suffixes{BackupSuffix::kForward, BackupSuffix::kBackward, BackupSuffix::kInside,
                                 BackupSuffix::kChannelNumber};
    EXPECT_EQ(suffixes.size(), 4);
}

} // namespace
