// Channel compositions, the AVI rewrap and the video-track counts.

#include "PlaybackTestFixtures.h"

#include "platform/Bundle.h"

#include <QFile>
#include <QFileInfo>

using namespace playbacktest;

namespace {

QStringList videoSources(const std::shared_ptr<Asset>& asset) {
    QStringList sources;
    for (const auto& track : asset->tracksWithMediaType(MediaType::Video))
        sources.append(QFileInfo(track->sourcePath()).fileName());
    return sources;
}

QString name(const QString& path) {
    return QFileInfo(path).fileName();
}

class ChannelCompositionTest : public ::testing::Test {
protected:
    void SetUp() override { resetPlayerState(); }
    void TearDown() override { resetPlayerState(); }
};

} // namespace

TEST_F(ChannelCompositionTest, JoinsTheChannelFilesOfARecording) {
    const Files& f = files();
    struct Case {
        const char* what;
        orvoTableModel entry;
        QStringList video; // file names of the video tracks, in order
        bool sound;
    };
    const Case cases[] = {
        {"front, rear and inside",
         entry(f.front, f.rear, f.inside),
         {name(f.front), name(f.rear), name(f.inside)},
         true},
        {"front and rear", entry(f.front, f.rear), {name(f.front), name(f.rear)}, true},
        {"front and inside, no rear",
         entry(f.front, std::nullopt, f.inside),
         {name(f.front), name(f.inside)},
         true},
        {"rear without video", entry(f.front, f.notMedia, f.inside), {name(f.front), name(f.inside)}, true},
        {"inside unreadable", entry(f.front, f.rear, f.notMedia), {name(f.front), name(f.rear)}, true},
        {"front without sound", entry(f.frontSilent, f.rear), {name(f.frontSilent), name(f.rear)}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recordingList = {entry(f.single), c.entry};
        const auto composition = makeChannelComposition(c.entry.url);
        ASSERT_NE(composition, nullptr);
        EXPECT_EQ(videoSources(composition), c.video);
        const auto sound = composition->tracksWithMediaType(MediaType::Audio);
        EXPECT_EQ(sound.size(), c.sound ? 1 : 0);
        if (c.sound) {
            EXPECT_EQ(QFileInfo(sound.first()->sourcePath()).fileName(), name(c.entry.url.path()));
        }
        // The sound track comes last, after every video track.
        EXPECT_EQ(composition->tracks().last()->mediaType(), c.sound ? MediaType::Audio : MediaType::Video);
        EXPECT_EQ(videoTrackCount(composition), c.video.size());
        EXPECT_TRUE(hasMultipleVideoTracks(composition));
        // Every channel starts at zero.
        for (const auto& track : composition->tracks())
            EXPECT_EQ(track->timeRange().start, MediaTime::zero());
    }
}

TEST_F(ChannelCompositionTest, GivesNothingForALoneOrUnknownRecording) {
    const Files& f = files();
    recordingList = {entry(f.single), entry(f.front, f.rear, f.inside), entry(f.notMedia, f.rear)};
    EXPECT_EQ(makeChannelComposition(QUrl::fromLocalFile(f.single)), nullptr) << "no sibling files";
    EXPECT_EQ(makeChannelComposition(QUrl::fromLocalFile(f.rear)), nullptr) << "not in the list";
    EXPECT_EQ(makeChannelComposition(QUrl::fromLocalFile(f.notMedia)), nullptr) << "front without video";
    EXPECT_EQ(makeChannelComposition(QUrl()), nullptr);
}

TEST_F(ChannelCompositionTest, CountsVideoTracks) {
    const Files& f = files();
    EXPECT_EQ(videoTrackCount(nullptr), 0);
    EXPECT_FALSE(hasMultipleVideoTracks(nullptr));
    EXPECT_EQ(videoTrackCount(Asset::assetWithUrl(QUrl::fromLocalFile(f.notMedia))), 0);
    EXPECT_EQ(videoTrackCount(Asset::assetWithUrl(QUrl::fromLocalFile(f.single))), 1);
    EXPECT_FALSE(hasMultipleVideoTracks(Asset::assetWithUrl(QUrl::fromLocalFile(f.single))));
    EXPECT_EQ(videoTrackCount(Asset::assetWithUrl(QUrl::fromLocalFile(f.twoStreamAvi))), 2);
}

TEST(AviRewrapArguments, FirstRunAndRetry) {
    EXPECT_EQ(aviToMovArguments("/in.avi", "/m/temp.mov", true, 2, false),
              (QStringList{"-i", "/in.avi", "-vcodec", "copy", "-vtag", "hvc1", "-acodec", "copy", "-map",
                           "0:0", "-map", "0:1", "-map", "0:2", "/m/temp.mov"}));
    EXPECT_EQ(aviToMovArguments("/in.avi", "/m/temp.mov", true, 2, true),
              (QStringList{"-i", "/in.avi", "-vcodec", "copy", "-acodec", "copy", "-map", "0:0", "-map",
                           "0:1", "/m/temp.mov"}));
    EXPECT_EQ(aviToMovArguments("/in.avi", "/m/temp.mov", false, 1, false),
              (QStringList{"-i", "/in.avi", "-vcodec", "copy", "-acodec", "copy", "-map", "0:0", "-map",
                           "0:1", "/m/temp.mov"}));
}

namespace {

struct FakeTool {
    QList<QStringList> runs;
    // Which runs (0-based) write the output file.
    QList<int> writing;
};

} // namespace

TEST_F(ChannelCompositionTest, RewrapRetriesAndReplacesTempMov) {
    const Files& f = files();
    QTemporaryDir movies;
    MediaEnvironmentGuard guard(movies.path());
    const QString output = movies.path() + QStringLiteral("/temp.mov");
    struct Case {
        const char* what;
        std::optional<QString> tool;
        QList<int> writing;
        int expectedRuns;
        bool asset;
        QString alert;
    };
    const Case cases[] = {
        {"first run writes", QStringLiteral("/x/ffmpeg"), {0}, 1, true, {}},
        {"retry writes", QStringLiteral("/x/ffmpeg"), {1}, 2, true, {}},
        {"neither writes",
         QStringLiteral("/x/ffmpeg"),
         {},
         2,
         false,
         QStringLiteral("Video Playback Error | ffmpeg path : Optional(\"/x/ffmpeg\")")},
        {"no tool", std::nullopt, {}, 0, false, QStringLiteral("Video Playback Error | ffmpeg path : nil")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        guard.alerts.clear();
        // An old file from an earlier rewrap is replaced.
        {
            QFile old(output);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        FakeTool tool;
        tool.writing = c.writing;
        auto& environment = channelCompositionEnvironment();
        environment.ffmpegPath = [&] { return c.tool; };
        environment.run = [&](const QString& program, const QStringList& arguments) {
            EXPECT_FALSE(QFile::exists(output)) << "the old temp.mov is still there";
            EXPECT_EQ(program, *c.tool);
            const int run = static_cast<int>(tool.runs.size());
            tool.runs.append(arguments);
            if (tool.writing.contains(run))
                QFile::copy(f.single, output);
            return Process::Result{true, 0, false};
        };
        const auto asset = aviToMov(QUrl::fromLocalFile(f.twoStreamAvi), true);
        EXPECT_EQ(tool.runs.size(), c.expectedRuns);
        EXPECT_EQ(asset != nullptr, c.asset);
        if (asset) {
            EXPECT_EQ(asset->url().toLocalFile(), output);
        }
        EXPECT_EQ(guard.alerts, c.alert.isEmpty() ? QStringList{} : QStringList{c.alert});
        if (c.expectedRuns >= 1) {
            EXPECT_TRUE(tool.runs[0].contains("hvc1"));
        }
        if (c.expectedRuns == 2) {
            EXPECT_FALSE(tool.runs[1].contains("hvc1"));
            EXPECT_EQ(tool.runs[1].mid(tool.runs[1].size() - 5),
                      (QStringList{"-map", "0:0", "-map", "0:1", output}));
        }
    }
}

TEST_F(ChannelCompositionTest, RewrapsATwoStreamAviWithTheRealTool) {
    if (!Bundle::ffmpegPath())
        GTEST_SKIP() << "no ffmpeg";
    const Files& f = files();
    QTemporaryDir movies;
    MediaEnvironmentGuard guard(movies.path());
    const auto asset = aviToMov(QUrl::fromLocalFile(f.twoStreamAvi), false);
    ASSERT_NE(asset, nullptr) << guard.alerts.join('\n').toStdString();
    EXPECT_TRUE(QFile::exists(movies.path() + QStringLiteral("/temp.mov")));
    EXPECT_EQ(videoTrackCount(asset), 2);
    EXPECT_TRUE(guard.alerts.isEmpty());
}

TEST_F(ChannelCompositionTest, AviChannelFilesEachKeepTheirOwnRewrap) {
    if (!Bundle::ffmpegPath())
        GTEST_SKIP() << "no ffmpeg";
    const Files& f = files();
    QTemporaryDir movies;
    MediaEnvironmentGuard guard(movies.path());
    // Three full-form AVI channel files of one recording.
    QStringList paths;
    for (const auto& [letter, look] :
         {std::pair{"F", samplegen::Look::Front}, std::pair{"R", samplegen::Look::Rear},
          std::pair{"I", samplegen::Look::Interior}}) {
        samplegen::RecordingOptions o;
        o.layout = samplegen::Layout::Avi;
        o.seconds = 2;
        o.width = 160;
        o.height = 96;
        o.look = look;
        paths.append(f.dir + QStringLiteral("/20241108-100000_%1_N.avi").arg(QLatin1String(letter)));
        samplegen::writeRecording(paths.last().toStdString(), o);
    }
    recordingList = {entry(paths[0], paths[1], paths[2])};
    const auto composition = makeChannelComposition(QUrl::fromLocalFile(paths[0]));
    ASSERT_NE(composition, nullptr);
    const auto video = composition->tracksWithMediaType(MediaType::Video);
    ASSERT_EQ(video.size(), 3);
    // Three different files: a later rewrap must not replace an earlier channel's picture.
    EXPECT_EQ(QFileInfo(video[0]->sourcePath()).fileName(), QStringLiteral("temp.mov"));
    EXPECT_NE(video[0]->sourcePath(), video[1]->sourcePath());
    EXPECT_NE(video[1]->sourcePath(), video[2]->sourcePath());
}
