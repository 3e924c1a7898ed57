// Channel compositions, the AVI rewrap and the video-track counts.

#include "common/PlaybackTestFixtures.h"
#include "common/PlaylistRecording.h"

#include "platform/system/Bundle.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

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
    // The input is read only as a camera's container, from the file alone.
    const QStringList restricted{"-format_whitelist", "mov,mp4,m4a,3gp,3g2,mj2,avi", "-protocol_whitelist",
                                 "file"};
    EXPECT_EQ(aviToMovArguments("/in.avi", "/m/temp.mov", true, 2, false),
              restricted + (QStringList{"-i", "/in.avi", "-vcodec", "copy", "-vtag", "hvc1", "-acodec",
                                        "copy", "-map", "0:0", "-map", "0:1", "-map", "0:2", "/m/temp.mov"}));
    EXPECT_EQ(aviToMovArguments("/in.avi", "/m/temp.mov", true, 2, true),
              restricted + (QStringList{"-i", "/in.avi", "-vcodec", "copy", "-acodec", "copy", "-map", "0:0",
                                        "-map", "0:1", "/m/temp.mov"}));
    EXPECT_EQ(aviToMovArguments("/in.avi", "/m/temp.mov", false, 1, false),
              restricted + (QStringList{"-i", "/in.avi", "-vcodec", "copy", "-acodec", "copy", "-map", "0:0",
                                        "-map", "0:1", "/m/temp.mov"}));
}

namespace {

// What one run of a stand-in tool leaves in its output file, and how it ends.
enum class Leaves { Nothing, Empty, Garbage, Recording };
struct FakeRun {
    int exitCode;
    Leaves leaves;
    bool crashed = false; // killed (the time limit) or crashed
};

} // namespace

TEST_F(ChannelCompositionTest, RewrapRetriesAndReplacesTempMov) {
    const Files& f = files();
    QTemporaryDir movies;
    MediaEnvironmentGuard guard(movies.path());
    const QString output = movies.path() + QStringLiteral("/temp.mov");
    const QString partial = movies.path() + QStringLiteral("/.temp.part.mov");
    const QString failed = QStringLiteral("Video Playback Error | ffmpeg path : Optional(\"/x/ffmpeg\")");
    struct Case {
        const char* what;
        std::optional<QString> tool;
        QList<FakeRun> runs;
        bool asset;
        QString alert;
    };
    const Case cases[] = {
        {"first run writes", QStringLiteral("/x/ffmpeg"), {{0, Leaves::Recording}}, true, {}},
        {"retry writes",
         QStringLiteral("/x/ffmpeg"),
         {{1, Leaves::Nothing}, {0, Leaves::Recording}},
         true,
         {}},
        // A recording without sound: the first run maps a stream that is not there, fails and
        // leaves an empty file.
        {"first run fails leaving an empty file",
         QStringLiteral("/x/ffmpeg"),
         {{1, Leaves::Empty}, {0, Leaves::Recording}},
         true,
         {}},
        {"first run succeeds but writes nothing",
         QStringLiteral("/x/ffmpeg"),
         {{0, Leaves::Empty}, {0, Leaves::Recording}},
         true,
         {}},
        {"first run fails after writing a part",
         QStringLiteral("/x/ffmpeg"),
         {{1, Leaves::Recording}, {0, Leaves::Recording}},
         true,
         {}},
        {"first run writes no movie",
         QStringLiteral("/x/ffmpeg"),
         {{0, Leaves::Garbage}, {0, Leaves::Recording}},
         true,
         {}},
        {"both runs killed at the time limit",
         QStringLiteral("/x/ffmpeg"),
         {{-1, Leaves::Recording, true}, {-1, Leaves::Recording, true}},
         false,
         failed},
        {"retry fails with an empty file",
         QStringLiteral("/x/ffmpeg"),
         {{1, Leaves::Empty}, {1, Leaves::Empty}},
         false,
         failed},
        {"neither writes",
         QStringLiteral("/x/ffmpeg"),
         {{1, Leaves::Nothing}, {1, Leaves::Nothing}},
         false,
         failed},
        {"no tool", std::nullopt, {}, false, QStringLiteral("Video Playback Error | ffmpeg path : nil")},
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
        QList<QStringList> runs;
        auto& environment = channelCompositionEnvironment();
        environment.ffmpegPath = [&] { return c.tool; };
        environment.run = [&](const QString& program, const QStringList& arguments) {
            EXPECT_FALSE(QFile::exists(output)) << "the old temp.mov is still there";
            EXPECT_EQ(program, *c.tool);
            const qsizetype run = runs.size();
            runs.append(arguments);
            if (run >= c.runs.size())
                return Process::Result{true, 1, false};
            const FakeRun& fake = c.runs[run];
            QFile target(arguments.last());
            if (fake.leaves == Leaves::Recording) {
                QFile::remove(arguments.last());
                QFile::copy(f.single, arguments.last());
            } else if (fake.leaves != Leaves::Nothing && target.open(QIODevice::WriteOnly)) {
                target.write(fake.leaves == Leaves::Garbage ? QByteArray("no movie") : QByteArray());
            }
            return Process::Result{true, fake.exitCode, fake.crashed};
        };
        const auto asset = aviToMov(QUrl::fromLocalFile(f.twoStreamAvi), true);
        EXPECT_EQ(runs.size(), c.runs.size());
        EXPECT_EQ(asset != nullptr, c.asset);
        if (asset) {
            EXPECT_EQ(asset->url().toLocalFile(), output);
            EXPECT_EQ(videoTrackCount(asset), 1);
        }
        // Only a finished rewrap stands as temp.mov; nothing half-written is left behind.
        EXPECT_EQ(QFile::exists(output), c.asset);
        EXPECT_FALSE(QFile::exists(partial));
        EXPECT_EQ(guard.alerts, c.alert.isEmpty() ? QStringList{} : QStringList{c.alert});
        if (!runs.isEmpty()) {
            EXPECT_TRUE(runs[0].contains("hvc1"));
            EXPECT_EQ(runs[0].last(), partial);
        }
        if (runs.size() == 2) {
            EXPECT_FALSE(runs[1].contains("hvc1"));
            EXPECT_EQ(runs[1].mid(runs[1].size() - 5), (QStringList{"-map", "0:0", "-map", "0:1", partial}));
        }
    }
}

TEST_F(ChannelCompositionTest, RewrapPlaysEveryAviAndRefusesWhatIsNoFile) {
    if (!Bundle::ffmpegPath())
        GTEST_SKIP() << "no ffmpeg";
    QTemporaryDir movies;
    // Hostile files of their own: other tests list the shared recordings folder.
    QTemporaryDir recordings;
    ASSERT_TRUE(recordings.isValid());
    MediaEnvironmentGuard guard(movies.path());
    QList<QStringList> runs;
    channelCompositionEnvironment().run = [&](const QString& program, const QStringList& arguments) {
        runs.append(arguments);
        return Process::runAndWait(program, arguments, 60000);
    };
    const auto avi = [&](const QString& name, int streams, bool audio) {
        samplegen::RecordingOptions o;
        o.layout = samplegen::Layout::Avi;
        o.seconds = 2;
        o.width = 160;
        o.height = 96;
        o.fps = 10;
        o.videoStreams = streams;
        o.audio = audio;
        const QString path = recordings.path() + QLatin1Char('/') + name;
        samplegen::writeRecording(path.toStdString(), o);
        return path;
    };
    // A power cut in a camera that reserves its files: the recording, then zeros.
    const QString powerCut = avi(QStringLiteral("20241108-095000_F_N.avi"), 1, true);
    const qint64 recorded = QFileInfo(powerCut).size();
    ASSERT_TRUE(QFile::resize(powerCut, recorded + (64 << 20)));
    const QString fifo = recordings.path() + QStringLiteral("/20241108-095100_F_N.avi");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString device = recordings.path() + QStringLiteral("/20241108-095200_F_N.avi");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), device));
    const QString folder = recordings.path() + QStringLiteral("/20241108-095300_F_N.avi");
    ASSERT_TRUE(QDir().mkpath(folder));
    // Playlists naming a pipe beside them: the tool reads no container of a camera there and stops.
    const QString hls = recordings.path() + QStringLiteral("/20241108-095800_F_N.avi");
    ASSERT_TRUE(
        playlisttest::writePlaylistRecording(hls, playlisttest::Playlist::Hls, QStringLiteral("seg.ts")));
    const QString concat = recordings.path() + QStringLiteral("/20241108-095900_F_N.avi");
    ASSERT_TRUE(playlisttest::writePlaylistRecording(concat, playlisttest::Playlist::Concat,
                                                     QStringLiteral("seg.ts")));

    struct Case {
        const char* what;
        QString path;
        int video, audio; // tracks of the result; -1: no asset
        int runs;
        bool bounded; // the tool reads only the recording's data
    };
    const Case cases[] = {
        {"one video stream with sound", avi(QStringLiteral("20241108-095400_F_N.avi"), 1, true), 1, 1, 1,
         false},
        {"one video stream without sound", avi(QStringLiteral("20241108-095500_F_N.avi"), 1, false), 1, 0, 2,
         false},
        {"two video streams with sound", avi(QStringLiteral("20241108-095600_N.avi"), 2, true), 2, 1, 1,
         false},
        {"two video streams without sound", avi(QStringLiteral("20241108-095700_N.avi"), 2, false), 2, 0, 2,
         false},
        {"a power cut's reserved tail", powerCut, 1, 1, 1, true},
        {"a pipe", fifo, -1, 0, 0, false},
        {"a link to a device", device, -1, 0, 0, false},
        {"a folder", folder, -1, 0, 0, false},
        {"an HLS playlist", hls, -1, 0, 1, false},
        {"a concat list", concat, -1, 0, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        runs.clear();
        guard.alerts.clear();
        playlisttest::FifoWatchdog watchdog(recordings.path() + QStringLiteral("/seg.ts"));
        const auto asset = aviToMov(QUrl::fromLocalFile(c.path), false);
        EXPECT_EQ(runs.size(), c.runs);
        EXPECT_FALSE(watchdog.released()) << "the tool waited at the pipe a playlist names";
        if (c.video < 0) {
            // What is no file is not run, with no alert of its own (the player says it cannot play
            // the file); a file the tool could not read is said to have failed.
            EXPECT_EQ(asset, nullptr);
            EXPECT_EQ(guard.alerts.size(), c.runs);
            continue;
        }
        ASSERT_NE(asset, nullptr) << guard.alerts.join('\n').toStdString();
        EXPECT_EQ(videoTrackCount(asset), c.video);
        EXPECT_EQ(asset->tracksWithMediaType(MediaType::Audio).size(), c.audio);
        EXPECT_NEAR(asset->duration().seconds(), 2.0, 0.3);
        EXPECT_TRUE(guard.alerts.isEmpty());
        ASSERT_FALSE(runs.isEmpty());
        EXPECT_EQ(runs.first().join(' ').contains(QStringLiteral("subfile,,start,0,end,%1,,:").arg(recorded)),
                  c.bounded)
            << runs.first().join(' ').toStdString();
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
