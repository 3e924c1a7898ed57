#include "playback/ChannelComposition.h"

#include "platform/system/LogCategories.h"
#include "platform/ui/showAlert.h"
#include "shared/PlayerState.h"

#include "metadata/FFmpeg.h"
#include "metadata/RecordingList.h"
#include "metadata/RiffExtent.h"
#include "platform/media/RecordingInput.h"
#include "platform/system/Bundle.h"
#include "platform/system/FileManager.h"
#include "platform/ui/BusyCursor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace {

constexpr int kToolTimeoutMs = 10 * 60 * 1000; // a stream copy of the longest recording takes far less

void print(const QString& text) {
    platform::logLine(platform::lcPlayback(), text);
}

QString defaultMoviesFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    return folder;
}

QString moviesFolder() {
    auto& environment = channelCompositionEnvironment();
    return environment.moviesFolder ? environment.moviesFolder() : defaultMoviesFolder();
}

std::optional<QString> ffmpegTool() {
    auto& environment = channelCompositionEnvironment();
    return environment.ffmpegPath ? environment.ffmpegPath() : Bundle::ffmpegPath();
}

Process::Result runTool(const QString& program, const QStringList& arguments) {
    auto& environment = channelCompositionEnvironment();
    if (environment.run)
        return environment.run(program, arguments);
    return Process::runAndWait(program, arguments, kToolTimeoutMs);
}

void alert(const QString& title, const QString& message) {
    auto& environment = channelCompositionEnvironment();
    if (environment.alert)
        environment.alert(title, message);
    else
        showAlert(title, message);
}

// The folder's entries; none with `error` set when it cannot be listed.
std::optional<QStringList> listFolder(const QString& folder, QString& error) {
    QDir dir(folder);
    if (!dir.exists() || !QFileInfo(folder).isReadable()) {
        error = QStringLiteral("The folder \"%1\" couldn't be opened.").arg(folder);
        return std::nullopt;
    }
    return dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A list as the log shows it: ["a", "b"].
QString listText(const QStringList& list) {
    QStringList quoted;
    for (const QString& item : list)
        quoted.append(QLatin1Char('"') + item + QLatin1Char('"'));
    return QLatin1Char('[') + quoted.join(QStringLiteral(", ")) + QLatin1Char(']');
}

std::shared_ptr<Asset> probedAsset(const QString& path) {
    auto asset = Asset::assetWithUrl(FileManager::fileURLWithPath(path));
    // Read the tracks now: the file may be replaced by a later rewrap.
    asset->tracks();
    return asset;
}

bool isAvi(const QUrl& url) {
    return QFileInfo(url.path()).suffix().toLower() == QLatin1String("avi");
}

// The asset of one channel file of a composition.
std::shared_ptr<Asset> channelAsset(const QUrl& file, bool avi, int channel) {
    if (avi)
        return aviToMov(file, false, channel);
    return Asset::assetWithUrl(file);
}

// Inserts the whole of `asset`'s duration of `source` into a new track of
// `composition`; prints `label` and the reason when that fails.
void insertWholeTrack(MutableComposition& composition, const std::shared_ptr<AssetTrack>& source,
                      const std::shared_ptr<Asset>& asset, const char* label) {
    auto track = composition.addMutableTrackWithMediaType(source->mediaType(), 0);
    if (!track)
        return;
    QString error;
    if (!track->insertTimeRange(MediaTimeRange(MediaTime::zero(), asset->duration()), source,
                                MediaTime::zero(), &error)) {
        print(QString::fromLatin1(label) + error);
        composition.removeTrack(track);
    }
}

} // namespace

ChannelCompositionEnvironment& channelCompositionEnvironment() {
    static ChannelCompositionEnvironment environment;
    return environment;
}

QString rewrapFileName(int channel) {
    if (channel <= 0)
        return QStringLiteral("temp.mov");
    return QStringLiteral("temp_%1.mov").arg(channel + 1);
}

QString partialRewrapFileName(int channel) {
    return QLatin1Char('.') + QFileInfo(rewrapFileName(channel)).completeBaseName() +
           QStringLiteral(".part.mov");
}

QStringList aviToMovArguments(const QString& input, const QString& output, bool hevc, int videoStreams,
                              bool retry, std::optional<quint64> readLimit) {
    // Only the camera's containers, only files (RecordingInput.h).
    QStringList arguments =
        platform::recordingToolInputOptions(readLimit ? "subfile,file" : platform::kRecordingProtocols);
    if (readLimit) {
        arguments << QStringLiteral("-i")
                  // The tool's arguments are encoded as file names are: the path's bytes survive.
                  << QFile::decodeName(QByteArray::fromStdString(
                         boundedInputUrl(QFile::encodeName(input).toStdString(), *readLimit)));
    } else {
        arguments << QStringLiteral("-i") << input;
    }
    arguments << QStringLiteral("-vcodec") << QStringLiteral("copy");
    if (hevc && !retry)
        arguments << QStringLiteral("-vtag") << QStringLiteral("hvc1");
    arguments << QStringLiteral("-acodec") << QStringLiteral("copy");
    const int last = retry ? videoStreams - 1 : videoStreams;
    for (int i = 0; i <= last; ++i)
        arguments << QStringLiteral("-map") << QStringLiteral("0:%1").arg(i);
    arguments << output;
    return arguments;
}

std::shared_ptr<MutableComposition> makeChannelComposition(const QUrl& url) {
    const orvoTableModel* entry = nullptr;
    for (const orvoTableModel& candidate : recordingList) {
        if (candidate.url == url) {
            entry = &candidate;
            break;
        }
    }
    if (!entry)
        return nullptr;
    const std::optional<QUrl> merge = entry->row.merge;
    const std::optional<QUrl> merge2 = entry->row.merge2;
    if (!merge && !merge2)
        return nullptr;

    // The extension of the selected file decides for its sibling files too.
    const bool avi = isAvi(url);
    const std::shared_ptr<Asset> forward = channelAsset(url, avi, 0);
    const std::shared_ptr<Asset> backward = merge ? channelAsset(*merge, avi, 1) : nullptr;

    const auto forwardVideo =
        forward ? forward->tracksWithMediaType(MediaType::Video) : QList<std::shared_ptr<AssetTrack>>{};
    if (forwardVideo.isEmpty()) {
        print(QStringLiteral("nil forward track"));
        return nullptr;
    }

    auto composition = MutableComposition::composition();
    insertWholeTrack(*composition, forwardVideo.first(), forward, "Error inserting forward track: ");

    if (backward) {
        const auto backwardVideo = backward->tracksWithMediaType(MediaType::Video);
        if (!backwardVideo.isEmpty())
            insertWholeTrack(*composition, backwardVideo.first(), backward,
                             "Error inserting backward track: ");
    }

    if (merge2) {
        const std::shared_ptr<Asset> inside = channelAsset(*merge2, avi, 2);
        const auto insideVideo =
            inside ? inside->tracksWithMediaType(MediaType::Video) : QList<std::shared_ptr<AssetTrack>>{};
        if (insideVideo.isEmpty())
            print(QStringLiteral("nil or missing inside track"));
        else
            insertWholeTrack(*composition, insideVideo.first(), inside, "Error inserting inside track: ");
    }

    const auto sound = forward->tracksWithMediaType(MediaType::Audio);
    if (sound.isEmpty())
        print(QStringLiteral("nil soundTrack"));
    else
        insertWholeTrack(*composition, sound.first(), forward, "Error inserting sound track: ");
    return composition;
}

std::shared_ptr<Asset> aviToMov(const QUrl& url, bool hevc) {
    return aviToMov(url, hevc, 0);
}

std::shared_ptr<Asset> aviToMov(const QUrl& url, bool hevc, int channel) {
    const QString input = url.isLocalFile() ? FileManager::filePath(url) : url.path();
    // A pipe or a device (or a link to one) would block the tool, or never end.
    if (!FileManager::isRegularFile(input)) {
        print(QStringLiteral("aviToMov - not a regular file: ") + input);
        return nullptr;
    }
    FFmpeg reader;
    const int count = reader.getVideoStreamCount(input);
    const std::optional<quint64> readLimit =
        riffReadLimit(FileManager::fileSystemRepresentation(input).constData());

    const QString folder = moviesFolder();
    const QString fileName = rewrapFileName(channel);
    const QString output = folder + QLatin1Char('/') + fileName;
    // The tool writes beside the result and the file is renamed only when the tool succeeded:
    // a failed or cut-off run never stands as a rewrap.
    const QString partial = folder + QLatin1Char('/') + partialRewrapFileName(channel);
    const std::optional<QString> tool = ffmpegTool();
    const QString toolText = tool ? QStringLiteral("Optional(\"%1\")").arg(*tool) : QStringLiteral("nil");
    const QString noFileMessage = QStringLiteral("ffmpeg path : ") + toolText;

    QString error;
    if (const auto listing = listFolder(folder, error)) {
        if (listing->contains(fileName) && !QFile::remove(output))
            print(QStringLiteral("\"%1\" couldn't be removed.").arg(fileName));
    } else {
        print(error);
    }

    if (!tool) {
        // Nothing to run: the same outcome as a tool that wrote nothing.
        alert(QStringLiteral("Video Playback Error"), noFileMessage);
        return nullptr;
    }

    // One run of the tool into `partial`; the asset of "temp.mov" once it holds the result.
    const auto attempt = [&](bool retry) -> std::shared_ptr<Asset> {
        // The tool is waited for on the main thread.
        const BusyCursor busy;
        QFile::remove(partial);
        const QStringList arguments = aviToMovArguments(input, partial, hevc, count, retry, readLimit);
        if (!retry)
            print(QStringLiteral("aviToMov param : ") + listText(arguments));
        const Process::Result result = runTool(*tool, arguments);
        const bool written =
            result.started && !result.crashed && result.exitCode == 0 && QFileInfo(partial).size() > 0;
        if (written) {
            std::error_code renameError;
            std::filesystem::rename(QFile::encodeName(partial).toStdString(),
                                    QFile::encodeName(output).toStdString(), renameError);
            if (!renameError) {
                auto asset = probedAsset(output);
                if (!asset->tracks().isEmpty())
                    return asset;
                QFile::remove(output);
            }
        }
        QFile::remove(partial);
        return nullptr;
    };

    const auto checkFolder = [&] {
        if (listFolder(folder, error))
            return true;
        alert(QStringLiteral("Video Playback Error"), error);
        return false;
    };

    auto asset = attempt(false);
    if (!checkFolder())
        return nullptr;
    if (asset)
        return asset;

    // The first run maps one stream more than there are video streams, for the sound; a
    // recording without sound has none there and gets the video streams alone. A file without
    // video has no stream to map alone: no retry.
    if (count > 0) {
        asset = attempt(true);
        if (!checkFolder())
            return nullptr;
        if (asset) {
            print(asset->description());
            return asset;
        }
    }
    alert(QStringLiteral("Video Playback Error"), noFileMessage);
    return nullptr;
}

bool hasMultipleVideoTracks(const std::shared_ptr<Asset>& asset) {
    return videoTrackCount(asset) > 1;
}

qint64 videoTrackCount(const std::shared_ptr<Asset>& asset) {
    if (!asset)
        return 0;
    qint64 count = 0;
    for (const auto& track : asset->tracks())
        if (track->mediaType() == MediaType::Video)
            ++count;
    return count;
}
