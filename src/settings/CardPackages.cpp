#include "settings/CardPackages.h"

#include "platform/system/StringCompare.h"
#include "shared/ServiceConfig.h"

namespace CardPackages {

std::optional<QUrl> encodedWebAddress(const QString& text) {
    const QUrl url = QUrl::fromEncoded(percentEncodedForUrlQuery(text).toLatin1(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    return url;
}

std::optional<QUrl> serviceURL(const QString& serviceKey, const QString& pathAndQuery) {
    QString base = serviceAddress(serviceKey);
    if (base.isEmpty())
        return std::nullopt;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return encodedWebAddress(base + pathAndQuery);
}

std::optional<QUrl> englishDownloadPageURL() {
    return serviceURL(QStringLiteral("englishProductSite"), QStringLiteral("/support/download/dashcam"));
}

std::optional<QUrl> koreanFirmwareBoardURL() {
    return serviceURL(
        QStringLiteral("koreanSite"),
        QStringLiteral("/custcenter/firmware.do?method=sboard&return_name=update_firmware&board_code=0079"));
}

std::optional<QUrl> firmwareVersionPageURL() {
    return serviceURL(QStringLiteral("downloadServer"), QStringLiteral("/kavrin/support/download/ver.html"));
}

std::optional<QUrl> speedCamPackageURL() {
    return serviceURL(QStringLiteral("downloadServer"),
                      QStringLiteral("/kavrin/support/download/data/") + QLatin1String(kSpeedCamArchiveName));
}

QStringList speedCamBoardModels() {
    return serviceList(QStringLiteral("speedCamBoardModels"));
}

Route routeForLanguages(const std::optional<QStringList>& languages) {
    if (!languages)
        return Route::MissingLanguage;
    if (*languages == QStringList{QStringLiteral("en")} || *languages == QStringList{QStringLiteral("ja")})
        return Route::EnglishPage;
    if (*languages == QStringList{QStringLiteral("ko")})
        return Route::Korean;
    return Route::Unsupported;
}

std::optional<FirmwareOffer> firmwareOffer(const HtmlDocument& page, const QString& model) {
    std::optional<FirmwareOffer> offer;
    for (qsizetype row = 0; row + 5 <= page.cellCount(); row += 5) {
        if (page.cell(row + 1) != model)
            continue;
        const QStringView address = page.cell(row + 4);
        if (address.size() > kMaximumAddressLength)
            continue;
        const std::optional<QUrl> package = encodedWebAddress(address.toString());
        if (!package)
            continue;
        offer = FirmwareOffer{page.cell(row + 2).toString(), *package};
    }
    return offer;
}

namespace {

int& deadlineMs() {
    static int deadline = kVersionPageDeadlineMs;
    return deadline;
}

} // namespace

int versionPageDeadline() {
    return deadlineMs();
}

void setVersionPageDeadline(int milliseconds) {
    deadlineMs() = milliseconds;
}

QString capacityText(double size, double free) {
    const double used = size - free;
    constexpr double kGigabyte = 1000.0 * 1000.0 * 1000.0;
    return QString::asprintf("%.2fGB / %.2fGB", used / kGigabyte, size / kGigabyte);
}

} // namespace CardPackages
