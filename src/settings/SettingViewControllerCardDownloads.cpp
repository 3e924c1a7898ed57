// The settings screen's card downloads: firmware and speed-camera packages for
// the card's model, fetched with the Korean interface into the card's root,
// unpacked there and deleted; with English or Japanese the maker's download
// page opens instead.

#include "settings/SettingViewController.h"

#include "settings/CardPackages.h"
#include "settings/FailureText.h"
#include "settings/PackageUnpack.h"

#include "platform/system/FileManager.h"
#include "platform/system/HtmlDocument.h"
#include "platform/system/Http.h"
#include "platform/system/Localization.h"
#include "platform/system/LogCategories.h"
#include "platform/system/StringCompare.h"
#include "platform/system/Unzip.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/Workspace.h"
#include "platform/ui/showAlert.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void print(const QString& text) {
    platform::logLine(platform::lcSettings(), text);
}

const QString kFirmwareTitle = QStringLiteral("펌웨어 업데이트");
const QString kSpeedCamTitle = QStringLiteral("안전운전도우미 업데이트");
const QString kLatestFirmware = QStringLiteral("현재 설치되어 있는 버전이 최신 펌웨어 입니다.");
const QString kDownloadFailed = QStringLiteral("다운로드가 실패되었습니다. 다시 시도해 주세요.");
const QString kFirmwareExists = QStringLiteral("펌웨어 파일이 이미 존재합니다.");
const QString kSpeedCamExists = QStringLiteral("안전운전도우미 파일이 이미 존재합니다.");
const QString kDownloadComplete = QStringLiteral("다운로드가 완료되었습니다.\n적용하시려면 다운로드 받은 "
                                                 "메모리카드를 블랙박스에 삽입 후 전원을 인가해 주세요.");
const QString kInvalidUrl = QStringLiteral("유효하지 않은 URL입니다.");

void openPage(const std::optional<QUrl>& url) {
    if (!url) {
        // The site is not configured: nothing to open.
        print(kInvalidUrl);
        return;
    }
    Workspace::openURL(*url);
}

// The names of the card root's entries; none (with the reason) when it cannot be listed.
std::optional<QStringList> entryNames(const QUrl& folder, QString* error) {
    const std::optional<QList<QUrl>> entries = FileManager::contentsOfDirectory(folder, error);
    if (!entries)
        return std::nullopt;
    QStringList names;
    for (const QUrl& entry : *entries)
        names.append(FileManager::lastPathComponent(entry));
    return names;
}

bool anyNameContains(const QStringList& names, const char* marker) {
    for (const QString& name : names) {
        if (name.contains(QLatin1String(marker)))
            return true;
    }
    return false;
}

// Whether `name` in `folder` is a leftover archive: a regular file (not a
// folder, not a link) whose name ends in ".zip" in any case.
bool isLeftoverArchive(const QString& folder, const QString& name) {
    if (!name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        return false;
    struct stat info {};
    return ::lstat(QFile::encodeName(folder + QLatin1Char('/') + name).constData(), &info) == 0 &&
           S_ISREG(info.st_mode);
}

// Removes a file; the reason when that fails.
std::optional<QString> removeFile(const QString& path) {
    if (::unlink(QFile::encodeName(path).constData()) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return std::nullopt;
}

} // namespace

bool SettingViewController::takeKoreanRoute() {
    UserDefaults& defaults = UserDefaults::standard();
    const QString languagesKey = QString::fromLatin1(DefaultsKey::kAppleLanguages);
    // The running interface decides; a language chosen since the start waits for the next.
    const std::optional<QStringList> languages = interfaceLanguages();
    switch (CardPackages::routeForLanguages(languages)) {
    case CardPackages::Route::EnglishPage:
        openPage(CardPackages::englishDownloadPageURL());
        return false;
    case CardPackages::Route::MissingLanguage:
        print(QStringLiteral("nil currentLng err."));
        defaults.set(languagesKey, QStringList{QStringLiteral("en")});
        openPage(CardPackages::englishDownloadPageURL());
        return false;
    case CardPackages::Route::Unsupported:
        print(QStringLiteral("currentLng err.") + languages->join(QStringLiteral(", ")));
        return false;
    case CardPackages::Route::Korean:
        return true;
    }
    return false;
}

void SettingViewController::updateFirmware() {
    if (!takeKoreanRoute())
        return;
    if (cardModel && cardVersion)
        requestFirmwareVersionPage(*cardModel, *cardVersion);
    else
        openPage(CardPackages::koreanFirmwareBoardURL());
}

void SettingViewController::requestFirmwareVersionPage(const QString& model, const QString& version) {
    // One fetch at a time: a press while one runs asks nothing new.
    if (m_versionPageRequested) {
        print(QStringLiteral("requesting already"));
        return;
    }
    const std::optional<QUrl> page = CardPackages::firmwareVersionPageURL();
    if (!page) {
        print(kInvalidUrl);
        return;
    }
    m_versionPageRequested = true;
    // A server that drips its page is given up at the deadline, with the version page's alert.
    Http::request(
        *page, this,
        [this, model, version](const HttpResponse& reply) {
            m_versionPageRequested = false;
            // A page the server does not have is a failed fetch, not an empty table.
            if (!reply.statusCode || *reply.statusCode < 200 || *reply.statusCode >= 300) {
                print(QStringLiteral("오류 발생: ") +
                      (reply.statusCode ? QStringLiteral("HTTP %1").arg(*reply.statusCode) : reply.error));
                showAlert(kFirmwareTitle, FailureText::versionPage(reply));
                return;
            }
            const QByteArray html = reply.data.value_or(QByteArray());
            if (!html.isValidUtf8()) {
                print(QStringLiteral("오류 발생: the page is not UTF-8 text"));
                showAlert(kFirmwareTitle, FailureText::versionPage(reply));
                return;
            }
            checkFirmwareUpdate(model, version, html);
        },
        CardPackages::versionPageDeadline());
}

void SettingViewController::checkFirmwareUpdate(const QString& model, const QString& version,
                                                const QByteArray& html) {
    const std::optional<HtmlDocument> document = HtmlDocument::parse(html, "td");
    if (!document) {
        // Nothing to read (an empty page): the page could not be read, as any failed fetch.
        print(QStringLiteral("오류 발생: the page holds no HTML document"));
        showAlert(kFirmwareTitle, FailureText::unreadableVersionPage());
        return;
    }
    const std::optional<CardPackages::FirmwareOffer> offer = CardPackages::firmwareOffer(*document, model);
    if (!offer) {
        showAlert(kFirmwareTitle, kLatestFirmware);
        return;
    }
    // Only a strictly older offer stops here: the same version is fetched again.
    if (compareNumeric(offer->latestVersion, version) < 0) {
        showAlert(kFirmwareTitle, kLatestFirmware);
        return;
    }
    const std::optional<QUrl> card = bookmarkedCardFolder();
    if (!card)
        return;
    QString error;
    const std::optional<QStringList> names = entryNames(*card, &error);
    if (!names) {
        print(error);
        showAlert(kFirmwareTitle, kDownloadFailed);
        return;
    }
    // Archives left by an earlier run go; folders and links whatever their names stay.
    const QString root = card->toLocalFile();
    for (const QString& name : *names) {
        if (!isLeftoverArchive(root, name))
            continue;
        print(name);
        if (const std::optional<QString> failure = removeFile(root + QLatin1Char('/') + name))
            print(*failure);
    }
    if (anyNameContains(*names, CardPackages::kFirmwareFileMarker)) {
        showAlert(kFirmwareTitle, kFirmwareExists);
        return;
    }
    downloadCardPackage(offer->packageURL, *card, QLatin1String(CardPackages::kFirmwareArchiveName),
                        kFirmwareTitle);
}

void SettingViewController::updateSpeedCamData() {
    if (!takeKoreanRoute())
        return;
    if (!cardModel || cardModel->isEmpty() || !cardVersion || cardVersion->isEmpty() ||
        CardPackages::speedCamBoardModels().contains(*cardModel)) {
        openPage(CardPackages::koreanFirmwareBoardURL());
        return;
    }
    const std::optional<QUrl> card = bookmarkedCardFolder();
    if (!card)
        return;
    QString error;
    const std::optional<QStringList> names = entryNames(*card, &error);
    if (!names) {
        print(error);
        return;
    }
    if (anyNameContains(*names, CardPackages::kSpeedCamFileMarker)) {
        showAlert(kSpeedCamTitle, kSpeedCamExists);
        return;
    }
    const std::optional<QUrl> package = CardPackages::speedCamPackageURL();
    if (!package) {
        print(kInvalidUrl);
        return;
    }
    downloadCardPackage(*package, *card, QLatin1String(CardPackages::kSpeedCamArchiveName), kSpeedCamTitle);
}

std::optional<QUrl> SettingViewController::bookmarkedCardFolder() {
    const std::optional<QByteArray> bookmark =
        UserDefaults::standard().data(QString::fromLatin1(DefaultsKey::kOrvoBookMark));
    if (!bookmark)
        return std::nullopt;
    return resolveCardBookmark(*bookmark);
}

void SettingViewController::downloadCardPackage(const QUrl& url, const QUrl& cardFolder,
                                                const QString& archiveName, const QString& title) {
    if (isCardWorkRunning()) {
        print(QStringLiteral("downloading already"));
        return;
    }
    showDownloadOverlay();
    const QString destination = cardFolder.toLocalFile() + QLatin1Char('/') + archiveName;
    m_cardDownload = Http::download(
        url, destination, this,
        [this](const HttpProgress& progress) {
            print(QString::number(progress.fractionCompleted()));
            showOverlayProgress(progress.completedUnitCount, progress.totalUnitCount);
        },
        [this, title, cardFolder](const HttpDownloadResponse& response) {
            cardDownloadFinished(title, cardFolder, response);
        });
}

void SettingViewController::cardDownloadFinished(const QString& title, const QUrl& cardFolder,
                                                 const HttpDownloadResponse& response) {
    print(response.description());
    if (!response.fileURL) {
        // Whatever failed (the server, the network, the card) is said; a
        // cancelled download ends quietly. Nothing of it stays on the card.
        hideDownloadOverlay();
        if (const std::optional<QString> reason =
                FailureText::download(response, cardFolder.toLocalFile(), true))
            showAlert(title, *reason);
        return;
    }
    // Unpacked off the main thread; the overlay shows how far it has come.
    showOverlayProgress(0, 1);
    m_cardUnpack = new PackageUnpack(
        response.fileURL->toLocalFile(), cardFolder.toLocalFile(),
        [this](qint64 written, qint64 total) { showOverlayProgress(written, total); },
        [this, title](const UnzipResult& result, const QString& removalError) {
            cardUnpackFinished(title, result, removalError);
        },
        this);
}

void SettingViewController::cardUnpackFinished(const QString& title, const UnzipResult& result,
                                               const QString& removalError) {
    if (!result.succeeded())
        print(result.error);
    if (!removalError.isEmpty())
        print(QStringLiteral("Deleting ZipFile Error. ") + removalError);
    if (m_cardUnpack)
        m_cardUnpack->deleteLater();
    hideDownloadOverlay();
    if (result.succeeded())
        showAlert(title, kDownloadComplete);
    else if (const std::optional<QString> reason = FailureText::unpack(result))
        showAlert(title, *reason);
}
