#include "player/dataviews/MapPage.h"

#include "shared/ServiceConfig.h"

#include "metadata/DistrictTable.h"
#include "metadata/PacketCache.h"
#include "metadata/nmeaToDegrees.h"
#include "platform/system/Bundle.h"
#include "platform/system/Localization.h"
#include "platform/system/LogCategories.h"
#include "platform/system/UserDefaults.h"
#include "platform/web/WebView.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QWidget>

#include <charconv>
#include <cmath>

namespace {

constexpr char kKoreanPage[] = "gps.html";
constexpr char kEnglishPage[] = "gps_eng.html";
constexpr char kJapanesePage[] = "gps_jpn.html";
constexpr char kPageFolder[] = "Kavrin";
constexpr double kLoadTimeoutSeconds = 60.0;

// The message lines (keys of "Localizable").
constexpr char kNoGpsFirst[] = "해당 영상에 GPS 정보가 없습니다.";
constexpr char kNoGpsSecond[] = "외장 GPS의 연결을 확인해 주세요.";
constexpr char kNoNetworkFirst[] = "지도를 표시할 수 없습니다.";
constexpr char kNoNetworkSecond[] = "인터넷 연결을 확인해 주세요.";

void printLine(const QString& text) {
    platform::logLine(platform::lcPlayer(), text);
}

// A stored value as the diagnostics show it: a list of texts as ["a", "b"].
QString describe(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList || value.typeId() == QMetaType::QVariantList) {
        QStringList items;
        for (const QVariant& item : value.toList())
            items << QLatin1Char('"') + item.toString() + QLatin1Char('"');
        return QLatin1Char('[') + items.join(QLatin1String(", ")) + QLatin1Char(']');
    }
    return value.toString();
}

void setShown(QWidget* view, bool shown) {
    if (view)
        view->setVisible(shown);
}

// The sign rule of the direction codes: 1 keeps the sign, any other value negates.
float applyDirection(std::uint32_t code, float value) {
    return code == 1 ? value : -value;
}

} // namespace

QString MapPage::mapPageName(const std::optional<QStringList>& languages) {
    if (languages == QStringList{QStringLiteral("ko")})
        return QString::fromLatin1(kKoreanPage);
    if (languages == QStringList{QStringLiteral("ja")})
        return QString::fromLatin1(kJapanesePage);
    return QString::fromLatin1(kEnglishPage);
}

QString MapPage::mapServer() {
    QString server = serviceAddress(QStringLiteral("mapServer"));
    if (server.isEmpty())
        return {};
    const QUrl url(server, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        qCWarning(platform::lcPlayer,
                  "config.json: mapServer \"%s\" is not an http address; the bundled map pages are used",
                  server.toUtf8().constData());
        return {};
    }
    while (server.endsWith(QLatin1Char('/')))
        server.chop(1);
    return server;
}

QUrl MapPage::mapPageUrl(const QString& page) {
    const QString server = mapServer();
    if (!server.isEmpty())
        return QUrl(server + QLatin1Char('/') + QLatin1String(kPageFolder) + QLatin1Char('/') + page);
    const QDir folder(Bundle::resourcePath() + QStringLiteral("/map/") + QLatin1String(kPageFolder));
    return QUrl::fromLocalFile(folder.absoluteFilePath(page));
}

QString MapPage::floatText(float value) {
    char buffer[48];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (result.ec != std::errc())
        return QString::number(static_cast<double>(value), 'g', 9);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

std::optional<QString> MapPage::addPosScript(float lat, float lng) {
    // A damaged file can hold a finite but absurd coordinate; the page's map library never
    // returns from one, and grows without bound meanwhile.
    if (!std::isfinite(lat) || !std::isfinite(lng) || std::fabs(lat) > 90.0f || std::fabs(lng) > 180.0f)
        return std::nullopt;
    return QStringLiteral("addPos(") + floatText(lat) + QStringLiteral(", ") + floatText(lng) +
           QLatin1Char(')');
}

QString MapPage::districtScript(const QString& name) {
    return QStringLiteral("setAdminDistrictName(") + WebView::javaScriptStringLiteral(name) +
           QLatin1Char(')');
}

bool MapPage::isKoreanInterface() {
    return ::isKoreanInterface();
}

void MapPage::loadMapPage(bool withGps) {
    if (!isNetworkConnected.load()) {
        showMapMessage(false, false, false);
        return;
    }
    UserDefaults& defaults = UserDefaults::standard();
    const QString key = QString::fromLatin1(DefaultsKey::kAppleLanguages);
    // The page of the running interface, not of a language chosen since the start.
    const std::optional<QStringList> languages = interfaceLanguages();
    if (!languages) {
        printLine(QStringLiteral("nil currentLng err."));
        defaults.set(key, QStringList{QStringLiteral("en")});
    } else if (*languages != QStringList{QStringLiteral("en")} &&
               *languages != QStringList{QStringLiteral("ko")} &&
               *languages != QStringList{QStringLiteral("ja")}) {
        printLine(QStringLiteral("currentLng err."));
        printLine(describe(defaults.object(key)));
    }
    const QUrl url = mapPageUrl(mapPageName(languages));

    showMapMessage(true, withGps, isNetworkConnected.load());
    if (m_outlets.mapWebView)
        m_outlets.mapWebView->load(url, kLoadTimeoutSeconds);
    // A new page holds no route: its first position is sent even when it repeats the last.
    lastAddPos.clear();
}

void MapPage::showMapMessage(bool hasPosition, bool showMap, bool connected) {
    QLabel* first = m_outlets.mapFirstLabel;
    QLabel* second = m_outlets.mapSecondLabel;
    if (connected) {
        const bool mapShown = hasPosition && showMap;
        setShown(m_outlets.mapWebView, mapShown);
        setShown(m_outlets.mapDefaultImg, !mapShown);
        if (first)
            first->setText(localized(kNoGpsFirst));
        if (second)
            second->setText(localized(kNoGpsSecond));
        setShown(first, !showMap);
        setShown(second, !showMap);
        return;
    }
    setShown(m_outlets.mapWebView, false);
    setShown(m_outlets.mapDefaultImg, true);
    setShown(first, true);
    setShown(second, true);
    if (first)
        first->setText(localized(kNoNetworkFirst));
    if (second)
        second->setText(localized(kNoNetworkSecond));
    delPos();
}

void MapPage::delPos() {
    run({QStringLiteral("delPos()")});
    // The route is empty: the next position is sent whatever it is.
    lastAddPos.clear();
}

void MapPage::updateMapPosition(std::uint32_t dirLat, std::uint32_t dirLng, float lat, float lng) {
    lat = applyDirection(dirLat, lat);
    lng = applyDirection(dirLng, lng);
    if (lat < -90.0f || lat > 90.0f)
        lat = nmeaToDegrees(lat);
    if (lng < -180.0f || lng > 180.0f)
        lng = nmeaToDegrees(lng);
    QStringList scripts;
    collectDistrict(lat, lng, scripts);
    collectPosition(lat, lng, scripts);
    run(scripts);
}

void MapPage::redrawMapTrack(qint64 index) {
    if (!currentRecording)
        return;
    const std::optional<orvoPacketModel> model = packetModelForURL(currentRecording->url);
    if (!model || index < 0 || index > model->packet.size())
        return;

    delPos();
    QStringList scripts;
    const auto degrees = [](const OrvoVideoPacket& packet, float& lat, float& lng) {
        lat = applyDirection(packet.gps_dir_lati, *packet.gps_latitude);
        lng = applyDirection(packet.gps_dir_longi, *packet.gps_longitude);
        if (!(lat > -90.0f && lat < 90.0f))
            lat = nmeaToDegrees(lat);
        if (!(lng > -180.0f && lng < 180.0f))
            lng = nmeaToDegrees(lng);
    };
    for (qint64 i = 0; i < index; ++i) {
        const OrvoVideoPacket& packet = model->packet[i];
        if (!packet.gps_latitude || !packet.gps_longitude)
            continue;
        float lat = 0;
        float lng = 0;
        degrees(packet, lat, lng);
        collectPosition(lat, lng, scripts);
    }
    if (index < model->packet.size()) {
        const OrvoVideoPacket& packet = model->packet[index];
        if (packet.gps_latitude && packet.gps_longitude) {
            float lat = 0;
            float lng = 0;
            degrees(packet, lat, lng);
            collectDistrict(lat, lng, scripts);
            collectPosition(lat, lng, scripts);
        }
    }
    run(scripts);
}

void MapPage::collectDistrict(float lat, float lng, QStringList& scripts) const {
    // No place on earth is nearest to a position that is none.
    if (!addPosScript(lat, lng))
        return;
    const std::optional<QString> name = nearestDistrictName(lat, lng);
    if (name && isKoreanInterface())
        scripts << districtScript(*name);
}

void MapPage::collectPosition(float lat, float lng, QStringList& scripts) {
    const std::optional<QString> text = addPosScript(lat, lng);
    if (!text || *text == lastAddPos)
        return;
    scripts << *text;
    lastAddPos = *text;
}

void MapPage::run(const QStringList& scripts) const {
    if (!m_outlets.mapWebView)
        return;
    // One evaluation per call: a call that fails in the page loses only itself.
    for (const QString& script : scripts)
        m_outlets.mapWebView->evaluateJavaScript(script);
}
