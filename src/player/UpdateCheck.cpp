#include "UpdateCheck.h"

#include "ServiceConfig.h"

#include "DefaultsKeys.h"
#include "FolderOpener.h"
#include "PlayerState.h"

#include "platform/Bundle.h"
#include "platform/FileManager.h"
#include "platform/UserDefaults.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

// The product the service is asked about.
constexpr char kProductQueryName[] = "KAVRIn_Player_2.0_MacOS";

void printLine(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

// The update service's plain HTTP address ("updateServer" in the resources'
// config.json); empty while none is configured.
QString updateServiceBaseAddress() {
    return serviceAddress(QStringLiteral("updateServer"));
}

} // namespace

QString updateItemName(bool debugMarker) {
    return debugMarker ? QStringLiteral("FILE_TEST") : QStringLiteral("kavrin_player");
}

QString updateRequestText(const QString& baseAddress, const QString& item) {
    const QString text = baseAddress + QStringLiteral("/file-server/services/") + item +
                         QStringLiteral("?query={\"name\":\"") + QLatin1String(kProductQueryName) +
                         QStringLiteral("\",\"last_field\":\"version\"}");
    // Letters, digits and ! $ & ' ( ) * + , - . / : ; = ? @ _ ~ stay as they are.
    return QString::fromLatin1(QUrl::toPercentEncoding(text, QByteArrayLiteral("!$&'()*+,/:;=?@")));
}

bool cardHasDebugMarker() {
    const QString key = QString::fromLatin1(DefaultsKey::kOrvoBookMark);
    const std::optional<QByteArray> data = UserDefaults::standard().data(key);
    if (!data)
        return false;
    const std::optional<QUrl> folder = resolveBookmark(*data, key);
    if (!folder)
        return false;
    const std::optional<QList<QUrl>> entries = FileManager::contentsOfDirectory(*folder);
    if (!entries)
        return false;
    bool marker = false;
    for (const QUrl& entry : *entries) {
        if (entry.fileName() != QLatin1String("ver.txt"))
            continue;
        // A file that cannot be read as UTF-8 text is skipped.
        const std::optional<QString> text = FileManager::stringWithContentsOfUtf8File(entry);
        if (text && text->contains(QLatin1String("DEBUG")))
            marker = true;
    }
    return marker;
}

void checkForUpdate(const std::function<void()>& reopenLastFolder, const UpdateCheckCompletion& completion) {
    const std::optional<bool> autoUpdate =
        UserDefaults::standard().boolean(QString::fromLatin1(DefaultsKey::kAutoUpdate));
    if (!autoUpdate.value_or(false)) {
        // Switched off: what the completion does without an address, without asking.
        updateChecked = true;
        if (reopenLastFolder)
            reopenLastFolder();
        return;
    }
    const QString item = updateItemName(cardHasDebugMarker());
    printLine(QStringLiteral("update url = ") + updateRequestText(updateServiceBaseAddress(), item));
    // The service's reply is not asked for yet: no newer version is offered.
    if (completion)
        completion(std::nullopt);
}
