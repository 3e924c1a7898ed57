#include "library/FolderOpener.h"

#include "library/RecordingListBuilder.h"
#include "metadata/PacketCache.h"
#include "metadata/RecordingList.h"
#include "platform/system/Bookmark.h"
#include "platform/system/Bundle.h"
#include "platform/system/FileManager.h"
#include "platform/system/NotificationCenter.h"
#include "platform/system/UserDefaults.h"
#include "platform/system/Volumes.h"
#include "platform/ui/showAlert.h"
#include "shared/DefaultsKeys.h"
#include "shared/NotificationNames.h"
#include "shared/PlayerState.h"

#include <QFileInfo>

namespace {

const QString kPathComponentError = QStringLiteral("Path Component Error");
const QString kOpenAnotherDirectory = QStringLiteral("Please open another directory.");
const QString kVerTxt = QStringLiteral("ver.txt");

bool isRecordingFile(const QUrl& url) {
    const QString extension = FileManager::pathExtension(url).toLower();
    return extension == QLatin1String("mp4") || extension == QLatin1String("avi");
}

void printVerTxt(const QString& text) {
    printLine(QStringLiteral("ver.txt : ") + text);
}

} // namespace

std::optional<VerTxtModel> parseVerTxt(const QString& text) {
    static const QString model = QStringLiteral("Model=");
    static const QString version = QStringLiteral("\nVersion=");
    const qsizetype modelAt = text.indexOf(model);
    const qsizetype versionAt = text.indexOf(version);
    if (modelAt < 0 || versionAt < 0 || versionAt < modelAt + model.size())
        return std::nullopt;
    VerTxtModel parsed;
    parsed.model = text.mid(modelAt + model.size(), versionAt - modelAt - model.size());
    parsed.version = text.mid(versionAt + version.size());
    parsed.version.remove(QLatin1Char('\n'));
    return parsed;
}

void storeFolderBookmark(const QUrl& url, const QString& key) {
    QString error;
    const std::optional<QByteArray> data = Bookmark::create(url, &error);
    if (!data) {
        printLine(error);
        return;
    }
    UserDefaults& defaults = UserDefaults::standard();
    defaults.removeObject(key);
    defaults.set(key, *data);
    printLine(QStringLiteral("set bookmark."));
}

void storeFolderBookmark(const QUrl& url) {
    storeFolderBookmark(url, QString::fromLatin1(DefaultsKey::kOrvoBookMark));
}

std::optional<QUrl> resolveBookmark(const QByteArray& data, const QString& key) {
    QString error;
    const std::optional<Bookmark::Resolution> resolved = Bookmark::resolve(data, &error);
    if (!resolved) {
        printLine(QStringLiteral("BookMark"));
        printLine(error);
        return std::nullopt;
    }
    if (resolved->isStale) {
        printLine(QStringLiteral("bookmark is stale."));
        storeFolderBookmark(resolved->url, key);
    }
    printLine(QStringLiteral("bookmark url : ") + resolved->url.toString());
    return resolved->url;
}

std::optional<QUrl> openPanelStartDirectory(const std::optional<QUrl>& lastDirectory,
                                            const QList<QUrl>& mountedVolumes) {
    if (lastDirectory) {
        printLine(QStringLiteral("lastDirectory : ") + lastDirectory->toString());
        if (lastDirectory->isLocalFile() && QFileInfo::exists(lastDirectory->toLocalFile()))
            return lastDirectory;
    }
    if (mountedVolumes.size() >= 3) {
        QStringList names;
        for (const QUrl& mounted : mountedVolumes)
            names.append(mounted.toString());
        printLine(QStringLiteral("first Mounted Volume except local HDD : [") +
                  names.join(QStringLiteral(", ")) + QLatin1Char(']'));
        return mountedVolumes.at(1);
    }
    return std::nullopt;
}

FolderOpener::FolderOpener(RecordingListBuilder& builder, Hooks hooks)
    : m_builder(builder), m_hooks(std::move(hooks)) {}

void FolderOpener::openFileVolume(const QUrl& url) {
    printLine(QStringLiteral("openFileVolume()"));
    // The folder is remembered before it is read, so that the folder opened
    // last is the one reopened at the next start even when it cannot be listed.
    storeFolderBookmark(url);

    QList<QUrl> files;
    QList<QUrl> folders;
    cardModel.reset();
    cardVersion.reset();

    QString error;
    const std::optional<QList<QUrl>> entries = FileManager::contentsOfDirectory(url, &error);
    if (!entries) {
        printLine(error);
        // A card opened by the scan itself does not start another scan.
        if (!m_scanning)
            scanRemovableVolumes();
        if (m_hooks.showAlert)
            m_hooks.showAlert(kPathComponentError, kOpenAnotherDirectory);
        else
            showAlert(kPathComponentError, kOpenAnotherDirectory);
        return;
    }
    for (const QUrl& entry : *entries)
        readVerTxtModel(entry, files, folders);

    if (RecordingListOutlets& outlets = m_builder.outlets(); outlets.setCardTexts) {
        if (cardModel && cardVersion)
            outlets.setCardTexts(*cardModel, *cardVersion);
        else
            outlets.setCardTexts(QString(), QString());
    }

    for (const QUrl& folder : std::as_const(folders)) {
        const std::optional<QList<QUrl>> inside = FileManager::contentsOfDirectory(folder, &error);
        if (!inside) {
            printLine(error);
            continue;
        }
        for (const QUrl& entry : *inside) {
            if (isRecordingFile(entry))
                files.append(entry);
        }
    }
    m_builder.buildRecordingList(files);
}

void FolderOpener::readVerTxtModel(const QUrl& entry, QList<QUrl>& files, QList<QUrl>& folders) {
    if (FileManager::lastPathComponent(entry) == kVerTxt) {
        QString error;
        const std::optional<QString> text = FileManager::stringWithContentsOfUtf8File(entry, &error);
        if (!text) {
            printLine(error);
            return;
        }
        printVerTxt(*text);
        if (const std::optional<VerTxtModel> parsed = parseVerTxt(*text)) {
            cardModel = parsed->model;
            cardVersion = parsed->version;
        } else {
            printLine(QStringLiteral("verTxt parsing Err."));
        }
        return;
    }
    if (isRecordingFile(entry))
        files.append(entry);
    else
        folders.append(entry);
}

void FolderOpener::playInBookMark() {
    printLine(QStringLiteral("playInBookMark"));
    const QString key = QString::fromLatin1(DefaultsKey::kOrvoBookMark);
    const std::optional<QByteArray> data = UserDefaults::standard().data(key);
    if (!data)
        return;
    const std::optional<QUrl> url = resolveBookmark(*data, key);
    if (!url)
        return;
    // A folder that resolves but cannot be listed (a card taken out, a folder
    // whose permissions changed) is told to the user like any other opening.
    openFileVolume(*url);
}

void FolderOpener::scanRemovableVolumes() {
    const QString identifier =
        m_hooks.bundleIdentifier ? m_hooks.bundleIdentifier() : Bundle::bundleIdentifier();
    if (identifier.isEmpty())
        return;
    const PermissionReset::Result reset = m_hooks.resetPermission
                                              ? m_hooks.resetPermission(identifier)
                                              : PermissionReset::resetRemovableVolumes(identifier);
    if (!reset.standardError.isEmpty()) {
        printLine(QStringLiteral("permission Err. ") + reset.standardError);
        return;
    }
    const QList<QUrl> volumes =
        m_hooks.mountedVolumeURLs ? m_hooks.mountedVolumeURLs() : Volumes::mountedVolumeURLs(true);
    validateCardVolumes(volumes);
}

void FolderOpener::validateCardVolumes(const QList<QUrl>& volumes) {
    const bool wasScanning = m_scanning;
    m_scanning = true;
    for (const QUrl& candidate : volumes) {
        QString error;
        const std::optional<QList<QUrl>> entries = FileManager::contentsOfDirectory(candidate, &error);
        if (!entries) {
            printLine(error);
            continue;
        }
        bool isCard = false;
        for (const QUrl& entry : *entries) {
            if (FileManager::lastPathComponent(entry) != kVerTxt)
                continue;
            const std::optional<QString> text = FileManager::stringWithContentsOfUtf8File(entry, &error);
            if (!text) {
                printLine(error);
                continue;
            }
            printVerTxt(*text);
            if (text->contains(QLatin1String("Model=")) && text->contains(QLatin1String("\nVersion="))) {
                isCard = true;
                break;
            }
            printLine(QStringLiteral("verTxt parsing Err."));
        }
        if (isCard)
            openFileVolume(candidate);
        else
            printLine(candidate.toString() + QStringLiteral(" is not validated orvo volume"));
    }
    m_scanning = wasScanning;
}

void FolderOpener::didBookMarkChanged() {
    const QString key = QString::fromLatin1(DefaultsKey::kOrvoBookMark);
    const std::optional<QByteArray> data = UserDefaults::standard().data(key);
    const std::optional<QUrl> url = data ? resolveBookmark(*data, key) : std::nullopt;
    if (!url) {
        printLine(QStringLiteral("no bookMark"));
        return;
    }
    cardModel.reset();
    cardVersion.reset();
    if (RecordingListOutlets& outlets = m_builder.outlets(); outlets.setCardTexts)
        outlets.setCardTexts(QString(), QString());

    recordingList.clear();
    packetCache.clear();
    if (displayedRecordingList)
        displayedRecordingList->clear();
    currentAsset.reset();
    currentIndex = -1;
    if (m_hooks.releaseOrvoPlayer)
        m_hooks.releaseOrvoPlayer();

    UserDefaults::standard().set(QString::fromLatin1(DefaultsKey::kSDcardDirectory), *url);
    if (RecordingListOutlets& outlets = m_builder.outlets(); outlets.reloadTable)
        outlets.reloadTable();
    NotificationCenter::defaultCenter().post(QString::fromLatin1(NotificationName::kBookmarkChangeComplete));
}
