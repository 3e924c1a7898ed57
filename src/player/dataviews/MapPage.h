#pragma once

#include "platform/web/WebView.h"

#include <QLabel>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <optional>

// The map page of the window player: a web page that draws the current
// recording's route, chosen by the interface language and driven through its
// functions delPos(), addPos(lat, lng) and setAdminDistrictName('name'), with
// a message over it when the network is down or the position is missing.
//
// The pages are "gps.html" (Korean), "gps_eng.html" (English) and
// "gps_jpn.html" (Japanese) under "/Kavrin/" of the map server named by
// "mapServer" in the resources' config.json; with no server configured the
// pages bundled in the resources are loaded from disk. Main thread only.
class MapPage {
public:
    // The window player's views the map page works on; any may be missing.
    struct Outlets {
        QPointer<WebView> mapWebView;
        QPointer<QWidget> mapDefaultImg;
        QPointer<QLabel> mapFirstLabel;
        QPointer<QLabel> mapSecondLabel;
    };

    MapPage() = default;
    explicit MapPage(const Outlets& outlets) : m_outlets(outlets) {}

    void setOutlets(const Outlets& outlets) { m_outlets = outlets; }
    const Outlets& outlets() const { return m_outlets; }

    // Loads the page of the interface language (not when the network is down,
    // then only the message shows); the page loads behind the message when the
    // recording has no GPS.
    void loadMapPage(bool hasGps);
    // Shows the map or the message over it: the "no GPS" lines while connected
    // (the map only with a position and showMap), the "no network" lines and an
    // emptied route while not.
    void showMapMessage(bool hasPosition, bool showMap, bool connected);
    // Sends one position (direction codes applied, NMEA values converted) and,
    // with the Korean interface, its district; a position equal to the last one
    // sent is not sent again, nor one outside -90..90 / -180..180 after the
    // conversion.
    void updateMapPosition(std::uint32_t dirLat, std::uint32_t dirLng, float lat, float lng);
    // Draws the current recording's route again, from its first packet up to
    // and including the packet at `index`.
    void redrawMapTrack(qint64 index);
    // Empties the page's route ("delPos()").
    void delPos();

    // The last addPos call sent; empty before the first and whenever the route
    // is emptied or a page is loaded.
    QString lastAddPos;

    // The page for the user default "AppleLanguages" as read (none: absent or
    // not a list of texts): "gps.html" for exactly ["ko"], "gps_jpn.html" for
    // exactly ["ja"], "gps_eng.html" otherwise.
    static QString mapPageName(const std::optional<QStringList>& languages);
    // Where a page is loaded from: <mapServer>/Kavrin/<page> when config.json
    // names an http or https server, else the bundled page's file.
    static QUrl mapPageUrl(const QString& page);
    // The configured map server ("mapServer" of config.json); empty when none
    // is configured or the value is not an http or https address.
    static QString mapServer();
    // "addPos(lat, lng)" with each number as the shortest text that reads
    // back as the same 32-bit float; none when either is not a finite number
    // or the position lies outside -90..90 / -180..180.
    static std::optional<QString> addPosScript(float lat, float lng);
    // "setAdminDistrictName('name')" with the name as an escaped string literal.
    static QString districtScript(const QString& name);
    // The shortest decimal text that reads back as `value`.
    static QString floatText(float value);
    // The running interface's "AppleLanguages" is exactly ["ko"].
    static bool isKoreanInterface();

private:
    // The district step: the nearest district's name to the page (Korean interface only).
    void collectDistrict(float lat, float lng, QStringList& scripts) const;
    // The position step: addPos unless it repeats lastAddPos.
    void collectPosition(float lat, float lng, QStringList& scripts);
    void run(const QStringList& scripts) const;

    Outlets m_outlets;
};
