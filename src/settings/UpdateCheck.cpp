#include "settings/UpdateCheck.h"

#include "shared/ServiceConfig.h"

#include "library/FolderOpener.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"

#include "platform/system/Bundle.h"
#include "platform/system/FileManager.h"
#include "platform/system/Http.h"
#include "platform/system/LogCategories.h"
#include "platform/system/StringCompare.h"
#include "platform/system/UserDefaults.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace {

// The product the service is asked about.
constexpr char kProductQueryName[] = "KAVRIn_Player_2.0_MacOS";

void printLine(const QString& text) {
    platform::logLine(platform::lcSettings(), text);
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
    return percentEncodedForUrlQuery(text);
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

namespace {

// A member as text: a text as it is, a number in decimal, a boolean as
// "true"/"false"; anything else (missing, null, list, object) the empty text.
QString jsonText(const QJsonValue& value) {
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    return {};
}

qsizetype elementCount(const QJsonValue& value) {
    if (value.isArray())
        return value.toArray().size();
    if (value.isObject())
        return value.toObject().size();
    return 0;
}

QString documentText(const QJsonDocument& document) {
    QString text = QString::fromUtf8(document.toJson(QJsonDocument::Compact));
    // The log gets the head of a large reply.
    constexpr qsizetype kLogLimit = 4096;
    if (text.size() > kLogLimit)
        text = text.left(kLogLimit) + QStringLiteral("...");
    return text;
}

} // namespace

std::optional<QUrl> installerAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    return url;
}

void handleUpdateInfo(const HttpResponse& reply, const UpdateCheckCompletion& completion,
                      const QString& applicationVersion) {
    auto finish = [&completion](const std::optional<QUrl>& url) {
        if (completion)
            completion(url);
    };
    if (!reply.statusCode || *reply.statusCode != 200) {
        finish(std::nullopt);
        return;
    }
    if (!reply.json || !reply.data || reply.data->isEmpty()) {
        finish(std::nullopt);
        return;
    }
    const QJsonDocument document = *reply.json;
    versionInfo = document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
    printLine(QStringLiteral("versionInfo : ") + documentText(document));

    const QJsonValue data =
        document.isObject() ? document.object().value(QStringLiteral("data")) : QJsonValue();
    if (elementCount(data) < 1) {
        finish(std::nullopt);
        return;
    }
    const QJsonObject first = data.isArray() ? data.toArray().at(0).toObject() : QJsonObject();
    const QString offered = jsonText(first.value(QStringLiteral("version")));
    if (compareNumeric(offered, applicationVersion) > 0) {
        // An address that is no web address is treated as no offer.
        finish(installerAddress(jsonText(first.value(QStringLiteral("datauri")))));
        return;
    }
    finish(std::nullopt);
}

void checkForUpdate(const std::function<void()>& reopenLastFolder, const UpdateCheckCompletion& completion) {
    const QString applicationVersion =
        Bundle::objectForInfoDictionaryKey(QStringLiteral("CFBundleShortVersionString")).toString();
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
    const QString base = updateServiceBaseAddress();
    const QString text = updateRequestText(base, item);
    printLine(QStringLiteral("update url = ") + text);
    const QUrl url = QUrl::fromEncoded(text.toLatin1(), QUrl::StrictMode);
    if (base.isEmpty() || !url.isValid() || url.isRelative()) {
        // No service configured (or no usable address): no newer version is offered.
        if (completion)
            completion(std::nullopt);
        return;
    }
    Http::request(
        url, nullptr,
        [completion, applicationVersion](const HttpResponse& reply) {
            handleUpdateInfo(reply, completion, applicationVersion);
        },
        updateCheckDeadline());
}

namespace {

int& deadlineMs() {
    static int deadline = kUpdateCheckDeadlineMs;
    return deadline;
}

} // namespace

int updateCheckDeadline() {
    return deadlineMs();
}

void setUpdateCheckDeadline(int milliseconds) {
    deadlineMs() = milliseconds;
}
