#pragma once

// The card downloads' fixed parts: the addresses of the maker's pages and
// packages, the interface-language rule of both download buttons, the
// reading of the firmware version page, and the capacity text.

#include "platform/system/HtmlDocument.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace CardPackages {

// The names of the two archives saved in the card's root.
inline constexpr char kFirmwareArchiveName[] = "firmware.zip";
inline constexpr char kSpeedCamArchiveName[] = "speedcam_parking.zip";
// Entry names that show a package already unpacked on the card.
inline constexpr char kFirmwareFileMarker[] = "FW.bin";
inline constexpr char kSpeedCamFileMarker[] = "speedcam_k.bin";

// The address of `pathAndQuery` on the service configured under `serviceKey`,
// percent-encoded with the URL-query-allowed characters; none when the
// service is not configured or the text makes no absolute address.
std::optional<QUrl> serviceURL(const QString& serviceKey, const QString& pathAndQuery);

// The maker's English download page (HTTPS, "/support/download/dashcam").
std::optional<QUrl> englishDownloadPageURL();
// The Korean firmware board page (HTTP, "/custcenter/firmware.do?...").
std::optional<QUrl> koreanFirmwareBoardURL();
// The firmware version page on the download server.
std::optional<QUrl> firmwareVersionPageURL();
// The speed-camera package on the download server.
std::optional<QUrl> speedCamPackageURL();
// The models whose speed-camera data is offered only on the Korean board.
QStringList speedCamBoardModels();

// What the download buttons do for an "AppleLanguages" value.
enum class Route {
    EnglishPage,     // ["en"] or ["ja"]: open the English download page
    MissingLanguage, // no list of texts: store ["en"], then open the English page
    Korean,          // ["ko"]: fetch the package onto the card
    Unsupported,     // any other list: nothing is opened
};
Route routeForLanguages(const std::optional<QStringList>& languages);

// The latest firmware of `model` on the version page `page` (read for its
// `td` cells): rows of five cells (model in cell 1, version in 2, package
// address in 4; cells after the last whole row ignored). The last matching
// row whose address, percent-encoded, makes an absolute http(s) address wins;
// an address longer than kMaximumAddressLength is none.
struct FirmwareOffer {
    QString latestVersion;
    QUrl packageURL;
};
inline constexpr qsizetype kMaximumAddressLength = 64 * 1024;
std::optional<FirmwareOffer> firmwareOffer(const HtmlDocument& page, const QString& model);

// The time the whole version page may take, in milliseconds (30 seconds);
// tests shorten it.
inline constexpr int kVersionPageDeadlineMs = 30000;
int versionPageDeadline();
void setVersionPageDeadline(int milliseconds);

// The percent-encoded absolute http(s) address of `text`; none otherwise.
std::optional<QUrl> encodedWebAddress(const QString& text);

// "12.34GB / 63.86GB": used and total bytes in decimal gigabytes.
QString capacityText(double size, double free);

} // namespace CardPackages
