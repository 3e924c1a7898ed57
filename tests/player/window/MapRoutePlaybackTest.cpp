// The map page's route while a generated one-channel recording plays through
// the real window player (software renderer, no sound device): the positions
// reach the page in the order of the recording's packets, a repeated position
// is not sent twice, and the district name shows with the Korean interface only.

#include "common/PlaybackTestFixtures.h"
#include "common/SmallRecording.h"
#include "common/WebViewTestSupport.h"
#include "player/window/OrvoViewController.h"

#include "common/EventLoopWait.h"

#include "metadata/DistrictTable.h"
#include "metadata/PacketCache.h"
#include "metadata/nmeaToDegrees.h"
#include "platform/system/UserDefaults.h"
#include "platform/web/WebView.h"

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace playbacktest;

namespace {

const QString kLanguages = QStringLiteral("AppleLanguages");
constexpr int kRouteTimeoutMs = 30000;
constexpr int kPlayTimeoutMs = 60000;
constexpr double kTolerance = 1e-5;

struct Position {
    double lat = 0;
    double lng = 0;
};

// A packet's position as the map page computes it: direction codes (1 keeps
// the sign), then NMEA values outside the degree ranges converted.
std::optional<Position> mapPosition(const OrvoVideoPacket& packet) {
    if (!packet.gps_latitude || !packet.gps_longitude)
        return std::nullopt;
    float lat = packet.gps_dir_lati == 1 ? *packet.gps_latitude : -*packet.gps_latitude;
    float lng = packet.gps_dir_longi == 1 ? *packet.gps_longitude : -*packet.gps_longitude;
    if (lat < -90.0f || lat > 90.0f)
        lat = nmeaToDegrees(lat);
    if (lng < -180.0f || lng > 180.0f)
        lng = nmeaToDegrees(lng);
    return Position{lat, lng};
}

bool samePosition(const Position& a, const Position& b) {
    return std::abs(a.lat - b.lat) <= kTolerance && std::abs(a.lng - b.lng) <= kTolerance;
}

std::string describe(const Position& p) {
    return "(" + std::to_string(p.lat) + ", " + std::to_string(p.lng) + ")";
}

class MapRoutePlayback : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Long enough that the recording does not end (and start again) while
        // the route is read, even when the browser engine starts slowly.
        s_path = paneltest::writeSmallRecording("kavrin-maproute-tests", "20241108-083000_F_N.mp4",
                                                samplegen::Layout::DataTrack, 40);
    }

    void SetUp() override {
        resetPlayerState();
        packetCache.clear();
        districtTable().clear();
        isNetworkConnected = true;
        const orvoTableModel recording = entry(s_path);
        // A window player with a recording list restores it instead of
        // starting the update check and reopening the last folder.
        recordingList = {recording};
        displayedRecordingList = recordingList;
        guard = std::make_unique<MediaEnvironmentGuard>(movies.path());
    }

    void TearDown() override {
        if (vc)
            vc->stopPlayback();
        vc.reset();
        guard.reset();
        resetPlayerState();
        packetCache.clear();
        districtTable().clear();
        UserDefaults::standard().set(kLanguages, QStringList{QStringLiteral("en")});
    }

    // Makes the window player with `languages` as the interface languages.
    void makePlayer(const QStringList& languages) {
        UserDefaults::standard().set(kLanguages, languages);
        vc = std::make_unique<OrvoViewController>();
        vc->setAttribute(Qt::WA_DontShowOnScreen);
        vc->resize(1280, 800);
        vc->loadViewIfNeeded();
        vc->show();
        if (vc->players.isEmpty())
            vc->setupPlayerViews(4);
        if (!vc->currentTrackTimer)
            vc->startPlayTimer();
        if (districtTable().isEmpty())
            loadAdminDistrictInfo();
        ASSERT_EQ(vc->players.size(), 4);
        ASSERT_TRUE(vc->mapWebView);
    }

    // Why the page did not load: a missing page file (the resources are not
    // built beside the executable) or the web engine.
    std::string skipReason() const {
        const QUrl url = vc->mapWebView->url();
        if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
            return "the map page file " + url.toLocalFile().toStdString() +
                   " is missing (build the kavrin_resources target)";
        return "the web engine could not load the map page " + url.toString().toStdString();
    }

    QVariantList route() {
        return webtest::evaluate(*vc->mapWebView, QStringLiteral("kavrinRoute()")).toList();
    }
    QString district() {
        return webtest::evaluate(*vc->mapWebView, QStringLiteral("kavrinDistrict()")).toString();
    }

    // Plays the recording until the page's route holds at least three
    // positions, then pauses; false (with a failure or a skip recorded) when
    // it does not get there.
    bool playUntilRoute() {
        vc->playNext(); // from no current recording: the first entry
        if (!vc->mapWebView || vc->mapWebView->url().isEmpty()) {
            ADD_FAILURE() << "playing did not load the map page";
            return false;
        }
        if (!webtest::waitForLoad(*vc->mapWebView)) {
            skipped = true;
            return false;
        }
        if (!looptest::waitUntil([&] { return vc->orvoPlayer && vc->orvoPlayer->currentSeconds() > 0.2; },
                                 kPlayTimeoutMs)) {
            ADD_FAILURE() << "the recording did not start playing";
            return false;
        }
        const bool enough = looptest::waitUntil([&] { return route().size() >= 3; }, kRouteTimeoutMs);
        // Paused: the route stops growing and the recording does not reach its end.
        if (playState == 1)
            vc->playPause();
        if (!enough) {
            ADD_FAILURE() << "the route holds " << route().size() << " positions after "
                          << (vc->orvoPlayer ? vc->orvoPlayer->currentSeconds() : -1.0) << " s of playing";
            return false;
        }
        return true;
    }

    // Reads the route and the district name until two readings agree (a tick
    // already queued may still send the paused position's packet).
    void readStable(QVariantList& routeOut, QString& districtOut) {
        routeOut = route();
        districtOut = district();
        for (int i = 0; i < 20; ++i) {
            looptest::spinFor(200);
            QVariantList again = route();
            QString againDistrict = district();
            if (again == routeOut && againDistrict == districtOut)
                return;
            routeOut = again;
            districtOut = againDistrict;
        }
    }

    // The route's positions, each checked against the recording's packets:
    // in packet order, none repeated right after itself.
    std::vector<Position> checkRoute(const QVariantList& points) {
        std::vector<Position> positions;
        EXPECT_TRUE(currentRecording);
        if (!currentRecording)
            return positions;
        const std::optional<orvoPacketModel> model = packetModelForURL(currentRecording->url);
        EXPECT_TRUE(model) << "no packets for the playing recording";
        if (!model)
            return positions;
        EXPECT_GE(model->packet.size(), 40);

        std::vector<Position> packets;
        for (const OrvoVideoPacket& packet : model->packet)
            if (const std::optional<Position> p = mapPosition(packet))
                packets.push_back(*p);

        qsizetype next = 0; // the first packet a route position may still match
        for (qsizetype i = 0; i < points.size(); ++i) {
            const QVariantList point = points[i].toList();
            EXPECT_EQ(point.size(), 2) << "point " << i;
            if (point.size() != 2)
                return positions;
            const Position p{point[0].toDouble(), point[1].toDouble()};
            if (!positions.empty()) {
                EXPECT_FALSE(samePosition(p, positions.back()))
                    << "point " << i << " " << describe(p) << " repeats the position before it";
            }
            qsizetype match = next;
            while (match < static_cast<qsizetype>(packets.size()) && !samePosition(packets[match], p))
                ++match;
            EXPECT_LT(match, static_cast<qsizetype>(packets.size()))
                << "point " << i << " " << describe(p)
                << " is not the position of a later packet than the point before it";
            if (match < static_cast<qsizetype>(packets.size()))
                next = match + 1;
            positions.push_back(p);
        }
        return positions;
    }

    static QString s_path;
    QTemporaryDir movies;
    std::unique_ptr<MediaEnvironmentGuard> guard;
    std::unique_ptr<OrvoViewController> vc;
    bool skipped = false;
};

QString MapRoutePlayback::s_path;

} // namespace

TEST_F(MapRoutePlayback, KoreanInterfaceGetsThePacketRouteOnceEachAndTheDistrict) {
    makePlayer(QStringList{QStringLiteral("ko")});
    if (HasFatalFailure())
        return;
    const bool played = playUntilRoute();
    if (skipped)
        GTEST_SKIP() << skipReason();
    ASSERT_TRUE(played);
    EXPECT_TRUE(vc->mapWebView->url().toString().endsWith(QLatin1String("/Kavrin/gps.html")))
        << vc->mapWebView->url().toString().toStdString();

    QVariantList points;
    QString name;
    readStable(points, name);
    ASSERT_GE(points.size(), 3);
    const std::vector<Position> positions = checkRoute(points);
    EXPECT_FALSE(name.isEmpty()) << "no district name with the Korean interface";
    ASSERT_FALSE(positions.empty());
    const std::optional<QString> nearest = nearestDistrictName(static_cast<float>(positions.back().lat),
                                                               static_cast<float>(positions.back().lng));
    ASSERT_TRUE(nearest);
    EXPECT_EQ(name, *nearest) << "the district of the last position";
}

TEST_F(MapRoutePlayback, EnglishInterfaceGetsThePacketRouteWithoutDistrict) {
    makePlayer(QStringList{QStringLiteral("en")});
    if (HasFatalFailure())
        return;
    const bool played = playUntilRoute();
    if (skipped)
        GTEST_SKIP() << skipReason();
    ASSERT_TRUE(played);
    EXPECT_TRUE(vc->mapWebView->url().toString().endsWith(QLatin1String("/Kavrin/gps_eng.html")))
        << vc->mapWebView->url().toString().toStdString();

    QVariantList points;
    QString name;
    readStable(points, name);
    ASSERT_GE(points.size(), 3);
    checkRoute(points);
    EXPECT_EQ(name, QString()) << "a district name with the English interface";
}
