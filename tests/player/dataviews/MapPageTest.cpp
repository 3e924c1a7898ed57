// The map page: which page loads, what is sent to it and when, first as the
// texts sent and then in a real browser engine with the bundled pages, driven
// tick by tick with the metadata of a generated recording.

#include "common/SmallRecording.h"
#include "common/WebViewTestSupport.h"

#include "controls/BarSliderCell.h"
#include "controls/DefaultImgBtnCell.h"
#include "player/dataviews/DataPanel.h"
#include "player/dataviews/MapPage.h"
#include "shared/PlayerState.h"

#include "metadata/DistrictTable.h"
#include "metadata/FFmpeg.h"
#include "metadata/PacketCache.h"
#include "platform/system/Bundle.h"
#include "platform/system/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <cmath>
#include <functional>
#include <limits>

namespace {

const QString kLanguages = QStringLiteral("AppleLanguages");

void setLanguages(const QVariant& value) {
    UserDefaults::standard().set(kLanguages, value);
}

// The two numbers of an "addPos(lat, lng)" text.
std::pair<double, double> addPosNumbers(const QString& text) {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^addPos\\(([^,]+), ([^)]+)\\)$")).match(text);
    EXPECT_TRUE(m.hasMatch()) << text.toStdString();
    return {m.captured(1).toDouble(), m.captured(2).toDouble()};
}

// Runs `body` with the resources folder switched to `dir`.
template <typename Body> void withResources(const QString& dir, Body body) {
    const QByteArray old = qgetenv("KAVRIN_RESOURCES_DIR");
    const bool had = qEnvironmentVariableIsSet("KAVRIN_RESOURCES_DIR");
    qputenv("KAVRIN_RESOURCES_DIR", dir.toLocal8Bit());
    body();
    if (had)
        qputenv("KAVRIN_RESOURCES_DIR", old);
    else
        qunsetenv("KAVRIN_RESOURCES_DIR");
}

void writeConfig(const QString& dir, const QByteArray& json) {
    QFile file(dir + QStringLiteral("/config.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(json);
}

} // namespace

TEST(MapPageRules, PageIsChosenByTheWholeLanguageList) {
    const struct {
        std::optional<QStringList> languages;
        const char* page;
    } cases[] = {
        {QStringList{"ko"}, "gps.html"},           {QStringList{"en"}, "gps_eng.html"},
        {QStringList{"ja"}, "gps_jpn.html"},       {QStringList{"en", "ko"}, "gps_eng.html"},
        {QStringList{"ko", "en"}, "gps_eng.html"}, {QStringList{"ko-KR"}, "gps_eng.html"},
        {QStringList{}, "gps_eng.html"},           {std::nullopt, "gps_eng.html"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapPage::mapPageName(c.languages), QString::fromLatin1(c.page))
            << (c.languages ? c.languages->join(',').toStdString() : "none");
}

TEST(MapPageRules, PositionTextsAreShortestFloatsAndNeverNonFinite) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(MapPage::addPosScript(37.5665f, 126.978f), "addPos(37.5665, 126.978)");
    EXPECT_EQ(MapPage::addPosScript(-33.8688f, 151.2093f), "addPos(-33.8688, 151.2093)");
    EXPECT_EQ(MapPage::addPosScript(0.0f, 0.0f), "addPos(0, 0)");
    EXPECT_EQ(MapPage::addPosScript(nan, 127.0f), std::nullopt);
    EXPECT_EQ(MapPage::addPosScript(37.0f, -inf), std::nullopt);
    // Every text reads back as the same float.
    for (const float v : {0.1f, 1.0f / 3.0f, 37.566498f, 126.97799f, 1e-7f, 3.4e38f})
        EXPECT_EQ(MapPage::floatText(v).toFloat(), v);
    EXPECT_EQ(MapPage::districtScript(QStringLiteral("a'b")), "setAdminDistrictName('a\\'b')");
}

TEST(MapPageRules, PositionsAreConvertedAndRepeatsAreNotSentAgain) {
    isNetworkConnected = true;
    MapPage map;
    // NMEA values become degrees.
    map.updateMapPosition(1, 1, 3733.99f, 12658.68f);
    auto [lat, lng] = addPosNumbers(map.lastAddPos);
    EXPECT_NEAR(lat, 37.566, 0.001);
    EXPECT_NEAR(lng, 126.978, 0.001);
    // A direction code other than 1 negates, before the conversion.
    map.updateMapPosition(0, 1, 3733.99f, 12658.68f);
    std::tie(lat, lng) = addPosNumbers(map.lastAddPos);
    EXPECT_NEAR(lat, -37.566, 0.001);
    EXPECT_NEAR(lng, 126.978, 0.001);
    map.updateMapPosition(1, 2, 37.5f, 127.0f);
    EXPECT_EQ(map.lastAddPos, "addPos(37.5, -127)");
    // Degrees on the range's edge stay; beyond it they are NMEA.
    map.updateMapPosition(1, 1, 90.0f, 180.0f);
    EXPECT_EQ(map.lastAddPos, "addPos(90, 180)");
    // A coordinate that is not a number is not sent (the last text stays).
    map.updateMapPosition(1, 1, std::numeric_limits<float>::quiet_NaN(), 127.0f);
    EXPECT_EQ(map.lastAddPos, "addPos(90, 180)");
}

TEST(MapPageRules, PositionsOffTheGlobeAreNotSent) {
    isNetworkConnected = true;
    const QString before = QStringLiteral("addPos(1, 2)");
    const struct {
        const char* what;
        std::uint32_t dirLat, dirLng;
        float lat, lng;
        const char* sent; // empty: nothing sent
    } cases[] = {
        {"a huge longitude", 1, 1, 37.5f, 1e16f, ""},
        {"a huge latitude", 1, 1, 1e16f, 127.0f, ""},
        {"a huge negated latitude", 0, 1, 1e16f, 127.0f, ""},
        {"the largest floats", 1, 1, 3.4e38f, -3.4e38f, ""},
        {"NMEA beyond the pole", 1, 1, 9100.0f, 127.0f, ""},
        {"NMEA beyond the date line", 1, 1, 37.5f, 18100.0f, ""},
        {"NMEA on the pole", 1, 1, 9000.0f, 127.0f, "addPos(90, 127)"},
        {"degrees", 1, 2, 37.5f, 127.0f, "addPos(37.5, -127)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MapPage map;
        map.lastAddPos = before;
        map.updateMapPosition(c.dirLat, c.dirLng, c.lat, c.lng);
        EXPECT_EQ(map.lastAddPos, *c.sent ? QString::fromLatin1(c.sent) : before);
    }
    EXPECT_EQ(MapPage::addPosScript(90.5f, 0.0f), std::nullopt);
    EXPECT_EQ(MapPage::addPosScript(0.0f, -180.5f), std::nullopt);
    EXPECT_EQ(MapPage::addPosScript(-90.0f, -180.0f), "addPos(-90, -180)");

    // An emptied route or a new page takes its first position whatever the last one was.
    MapPage map;
    map.updateMapPosition(1, 1, 37.5f, 127.0f);
    map.delPos();
    EXPECT_TRUE(map.lastAddPos.isEmpty());
    map.updateMapPosition(1, 1, 37.5f, 127.0f);
    map.loadMapPage(true);
    EXPECT_TRUE(map.lastAddPos.isEmpty());
}

TEST(MapPageRules, MapServerComesFromTheConfiguration) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        QByteArray json;
        const char* url; // empty: the bundled page
    } cases[] = {
        {R"({"mapServer": ""})", ""},
        {R"({"mapServer": "http://127.0.0.1:8123"})", "http://127.0.0.1:8123/Kavrin/gps.html"},
        {R"({"mapServer": "https://maps.example.org/"})", "https://maps.example.org/Kavrin/gps.html"},
        {R"({"mapServer": "ftp://maps.example.org"})", ""},
        {R"({"mapServer": "not an address"})", ""},
        {R"({"mapServer": 5})", ""},
        {"{broken", ""},
    };
    for (const auto& c : cases) {
        writeConfig(dir.path(), c.json);
        withResources(dir.path(), [&] {
            const QUrl url = MapPage::mapPageUrl(QStringLiteral("gps.html"));
            if (*c.url) {
                EXPECT_EQ(url.toString(), QString::fromLatin1(c.url)) << c.json.toStdString();
            } else {
                EXPECT_TRUE(url.isLocalFile()) << c.json.toStdString();
                EXPECT_EQ(url.toLocalFile(),
                          QDir(dir.path()).filePath(QStringLiteral("map/Kavrin/gps.html")));
            }
        });
    }
    // The shipped configuration loads the bundled pages, which exist.
    const QUrl shipped = MapPage::mapPageUrl(QStringLiteral("gps_jpn.html"));
    ASSERT_TRUE(shipped.isLocalFile());
    EXPECT_TRUE(QFile::exists(shipped.toLocalFile()));
}

TEST(MapPageRules, LoadingReportsUnusableLanguageListsAndRespectsTheNetwork) {
    QLabel first, second;
    DefaultImgBtnCell placeholder;
    WebView view;
    MapPage map({&view, &placeholder, &first, &second});
    // The view is not loaded in this test: the network is down first.
    isNetworkConnected = false;
    map.loadMapPage(true);
    EXPECT_TRUE(view.url().isEmpty());
    EXPECT_TRUE(view.isHidden());
    EXPECT_FALSE(placeholder.isHidden());
    EXPECT_EQ(first.text(), QString::fromUtf8("지도를 표시할 수 없습니다."));
    EXPECT_EQ(second.text(), QString::fromUtf8("인터넷 연결을 확인해 주세요."));

    // Without a web view the language rules still apply.
    isNetworkConnected = true;
    MapPage headless({nullptr, &placeholder, &first, &second});
    setLanguages(5);
    testing::internal::CaptureStdout();
    headless.loadMapPage(true);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "nil currentLng err.\n");
    EXPECT_EQ(UserDefaults::standard().stringArray(kLanguages), QStringList{"en"});

    setLanguages(QStringList{"en", "ko"});
    testing::internal::CaptureStdout();
    headless.loadMapPage(false);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "currentLng err.\n[\"en\", \"ko\"]\n");
    // Connected without GPS: the "no GPS" lines over the placeholder.
    EXPECT_FALSE(first.isHidden());
    EXPECT_FALSE(placeholder.isHidden());
    EXPECT_EQ(first.text(), QString::fromUtf8("해당 영상에 GPS 정보가 없습니다."));
    EXPECT_EQ(second.text(), QString::fromUtf8("외장 GPS의 연결을 확인해 주세요."));
    setLanguages(QStringList{"en"});
}

TEST(MapPageRules, RedrawOutsideThePacketsDoesNothing) {
    packetCache.clear();
    const QString path = QStringLiteral("/recordings/redraw.mp4");
    OrvoVideoPacket p;
    p.gps_latitude = 37.5f;
    p.gps_longitude = 127.0f;
    packetCache.append(orvoPacketModel{path, {p, p}});
    currentRecording = orvoTableModel{QUrl::fromLocalFile(path), {}};
    MapPage map;
    map.redrawMapTrack(-1);
    map.redrawMapTrack(3);
    EXPECT_TRUE(map.lastAddPos.isEmpty());
    map.redrawMapTrack(2); // one past the last packet: the whole route
    EXPECT_EQ(map.lastAddPos, "addPos(37.5, 127)");
    currentRecording.reset();
    packetCache.clear();
}

namespace {

// A map server for the tests: serves the files of a folder over HTTP on 127.0.0.1.
class MapServer : public QObject {
public:
    explicit MapServer(const QString& root) : m_root(root) {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    QStringList requests;

private:
    void serve(QTcpSocket* socket) {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> words = buffer.left(buffer.indexOf("\r\n")).split(' ');
        const QString path =
            words.size() > 1 ? QString::fromLatin1(words[1]).section(QLatin1Char('?'), 0, 0) : QString();
        requests << path;
        QFile file(m_root + path);
        QByteArray reply;
        if (!path.contains(QLatin1String("..")) && file.open(QIODevice::ReadOnly)) {
            const QByteArray body = file.readAll();
            const QByteArray type = path.endsWith(".html")  ? "text/html; charset=utf-8"
                                    : path.endsWith(".js")  ? "application/javascript"
                                    : path.endsWith(".css") ? "text/css"
                                                            : "application/octet-stream";
            reply = "HTTP/1.1 200 OK\r\nContent-Type: " + type +
                    "\r\nContent-Length: " + QByteArray::number(body.size()) +
                    "\r\nConnection: close\r\n\r\n" + body;
        } else {
            reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        }
        socket->write(reply);
        socket->disconnectFromHost();
        m_buffers.remove(socket);
    }

    QString m_root;
    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};

// The map in a real browser engine, fed with a generated recording's metadata.
class MapPageWeb : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_path = paneltest::writeSmallRecording("kavrin-map-tests", "20241108-083000_F_N.mp4",
                                                samplegen::Layout::DataTrack, 6);
    }

    void SetUp() override {
        packetCache.clear();
        FFmpeg reader;
        getUserData(s_path, reader);
        const std::optional<orvoPacketModel> model = packetModelForURL(QUrl::fromLocalFile(s_path));
        ASSERT_TRUE(model);
        ASSERT_GE(model->packet.size(), 10);
        packets = model->packet;
        currentRecording = orvoTableModel{QUrl::fromLocalFile(s_path), {}};
        isNetworkConnected = true;
        districtTable().clear();
        loadAdminDistrictInfo();

        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.resize(380, 276);
        view.show();
        slider.setRange(0, 1000000);
        slider.setMinValue(0.0);
        slider.setMaxValue(1.0);
        map.setOutlets({&view, &placeholder, &first, &second});
        DataPanel::Outlets o;
        o.videoSlider = &slider;
        panel = std::make_unique<DataPanel>(o, map);
    }

    void TearDown() override {
        currentRecording.reset();
        packetCache.clear();
        districtTable().clear();
        setLanguages(QStringList{"en"});
    }

    // Two ticks per packet, as the 0.1-second timer gives while playing.
    void play() {
        const double n = static_cast<double>(packets.size());
        for (qsizetype i = 0; i < packets.size(); ++i) {
            for (const double part : {0.25, 0.75}) {
                slider.setDoubleValue((static_cast<double>(i) + part) / n);
                panel->updateDataPanel(false);
            }
        }
    }

    // The positions the page should hold after packets 0..last, each sent once.
    QList<QPair<float, float>> positions(qsizetype last) const {
        QList<QPair<float, float>> out;
        for (qsizetype i = 0; i <= last; ++i) {
            const QPair<float, float> p(*packets[i].gps_latitude, *packets[i].gps_longitude);
            if (out.isEmpty() || out.last() != p)
                out << p;
        }
        return out;
    }

    QVariantList route() { return webtest::evaluate(view, QStringLiteral("kavrinRoute()")).toList(); }
    QString district() { return webtest::evaluate(view, QStringLiteral("kavrinDistrict()")).toString(); }

    void expectRoute(const QList<QPair<float, float>>& expected) {
        const QVariantList actual = route();
        ASSERT_EQ(actual.size(), expected.size());
        for (qsizetype i = 0; i < actual.size(); ++i) {
            const QVariantList point = actual[i].toList();
            ASSERT_EQ(point.size(), 2);
            EXPECT_FLOAT_EQ(point[0].toFloat(), expected[i].first) << "point " << i;
            EXPECT_FLOAT_EQ(point[1].toFloat(), expected[i].second) << "point " << i;
        }
    }

    static QString s_path;
    QList<OrvoVideoPacket> packets;
    WebView view;
    QLabel first, second;
    DefaultImgBtnCell placeholder;
    BarSliderCell slider;
    MapPage map;
    std::unique_ptr<DataPanel> panel;
};

QString MapPageWeb::s_path;

} // namespace

TEST_F(MapPageWeb, KoreanPageGetsTheRouteOnceEachAndTheDistrict) {
    setLanguages(QStringList{"ko"});
    map.loadMapPage(true);
    EXPECT_TRUE(view.url().toString().endsWith(QLatin1String("/map/Kavrin/gps.html")))
        << view.url().toString().toStdString();
    EXPECT_FALSE(view.isHidden());
    ASSERT_TRUE(webtest::waitForLoad(view));

    play();
    const QList<QPair<float, float>> all = positions(packets.size() - 1);
    ASSERT_GE(all.size(), 5) << "the generated drive moves";
    expectRoute(all);
    const std::optional<QString> name = nearestDistrictName(all.last().first, all.last().second);
    ASSERT_TRUE(name);
    EXPECT_FALSE(name->isEmpty());
    EXPECT_EQ(district(), *name);

    // A position that is not a number is not sent: the route stays.
    map.updateMapPosition(1, 1, std::numeric_limits<float>::quiet_NaN(), 127.0f);
    expectRoute(all);

    // A seek with the slider draws the route again up to the new position.
    const qsizetype middle = packets.size() / 2;
    slider.setDoubleValue((static_cast<double>(middle) + 0.5) / static_cast<double>(packets.size()));
    panel->updateDataPanel(true);
    expectRoute(positions(middle));
    EXPECT_EQ(district(),
              *nearestDistrictName(*packets[middle].gps_latitude, *packets[middle].gps_longitude));

    // The same page shows a district name with quotes and backslashes as it is.
    const QString odd = QStringLiteral("O'Hare\\\"_구');window.injected=1;//");
    districtTable().clear();
    districtTable().appendRows({{QStringLiteral("1"), odd, QStringLiteral("127.0"), QStringLiteral("37.5")}});
    map.updateMapPosition(1, 1, 37.4f, 127.1f);
    EXPECT_EQ(district(), odd);
    EXPECT_EQ(webtest::evaluate(view, QStringLiteral("typeof window.injected")).toString(), "undefined");
}

TEST_F(MapPageWeb, OtherLanguagesGetTheRouteButNoDistrict) {
    const struct {
        QStringList languages;
        const char* page;
    } cases[] = {{{"en"}, "gps_eng.html"}, {{"ja"}, "gps_jpn.html"}, {{"en", "ko"}, "gps_eng.html"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        setLanguages(c.languages);
        map.lastAddPos.clear();
        map.loadMapPage(true);
        EXPECT_TRUE(view.url().toString().endsWith(QLatin1String(c.page)));
        ASSERT_TRUE(webtest::waitForLoad(view));
        play();
        expectRoute(positions(packets.size() - 1));
        EXPECT_EQ(district(), QString());
        EXPECT_EQ(
            webtest::evaluate(view, QStringLiteral("document.getElementById('district') === null")).toBool(),
            true);
    }
}

// The map's own buttons speak the page's language.
TEST_F(MapPageWeb, ZoomButtonsAreTitledInThePagesLanguage) {
    const struct {
        const char* language;
        const char* zoomIn;
        const char* zoomOut;
    } cases[] = {{"ko", "확대", "축소"}, {"ja", "拡大", "縮小"}, {"en", "Zoom in", "Zoom out"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        setLanguages(QStringList{QString::fromLatin1(c.language)});
        map.loadMapPage(true);
        ASSERT_TRUE(webtest::waitForLoad(view));
        const auto title = [&](const char* button) {
            return webtest::evaluate(
                       view, QStringLiteral("document.querySelector('.leaflet-control-zoom-%1').title")
                                 .arg(QLatin1String(button)))
                .toString();
        };
        EXPECT_EQ(title("in"), QString::fromUtf8(c.zoomIn));
        EXPECT_EQ(title("out"), QString::fromUtf8(c.zoomOut));
    }
}

TEST_F(MapPageWeb, PagesComeFromTheConfiguredMapServer) {
    MapServer server(Bundle::resourcePath() + QStringLiteral("/map"));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    writeConfig(dir.path(), QStringLiteral(R"({"mapServer": "%1"})").arg(server.address()).toUtf8());
    setLanguages(QStringList{"ko"});
    withResources(dir.path(), [&] { map.loadMapPage(true); });
    EXPECT_EQ(view.url().toString(), server.address() + QStringLiteral("/Kavrin/gps.html"));
    ASSERT_TRUE(webtest::waitForLoad(view));
    EXPECT_TRUE(server.requests.contains(QStringLiteral("/Kavrin/gps.html")));
    EXPECT_TRUE(server.requests.contains(QStringLiteral("/Kavrin/leaflet/leaflet.js")));
    play();
    expectRoute(positions(packets.size() - 1));
}

namespace {

// A recording standing still at one place: every packet holds the same position.
orvoPacketModel parkedModel(const QString& path, float lat, float lng, int packets) {
    OrvoVideoPacket p;
    p.gps_dir_lati = 1;
    p.gps_dir_longi = 1;
    p.gps_latitude = lat;
    p.gps_longitude = lng;
    return orvoPacketModel{path, QList<OrvoVideoPacket>(packets, p)};
}

} // namespace

TEST_F(MapPageWeb, EveryNewRouteStartsWithItsFirstPosition) {
    setLanguages(QStringList{"en"});
    const QPair<float, float> parked(37.5f, 127.0f);
    const QString parkedPath = QStringLiteral("/recordings/20241108-100000_F_P.mp4");
    packetCache.append(parkedModel(parkedPath, parked.first, parked.second, 3));
    const struct {
        const char* what;
        std::function<void()> clear; // how the route is emptied before the parked car's position
        std::function<void()> send;
    } steps[] = {
        {"the first page", [&] { map.loadMapPage(true); },
         [&] { map.updateMapPosition(1, 1, parked.first, parked.second); }},
        // The previous recording ended at the same place.
        {"the next recording's page", [&] { map.loadMapPage(true); },
         [&] { map.updateMapPosition(1, 1, parked.first, parked.second); }},
        {"a stop and the same recording again", [&] { map.delPos(); },
         [&] { map.updateMapPosition(1, 1, parked.first, parked.second); }},
        {"a seek in a parked recording", [] {},
         [&] {
             currentRecording = orvoTableModel{QUrl::fromLocalFile(parkedPath), {}};
             map.redrawMapTrack(2);
         }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.clear();
        if (view.isLoading()) {
            ASSERT_TRUE(webtest::waitForLoad(view));
        }
        step.send();
        expectRoute({parked});
    }
}

TEST_F(MapPageWeb, OneFailingCallLosesOnlyItself) {
    setLanguages(QStringList{"en"});
    map.loadMapPage(true);
    ASSERT_TRUE(webtest::waitForLoad(view));
    // A page whose addPos throws for one position (as a damaged value could make it).
    webtest::evaluate(
        view, QStringLiteral("(function () { var add = window.addPos; window.addPos = function (a, b) {"
                             " if (a === 2) throw new Error('bad position'); add(a, b); }; })()"));
    const QString path = QStringLiteral("/recordings/20241108-101000_F_N.mp4");
    orvoPacketModel model{path, {}};
    for (const float v : {1.0f, 2.0f, 3.0f, 4.0f}) {
        OrvoVideoPacket p;
        p.gps_dir_lati = 1;
        p.gps_dir_longi = 1;
        p.gps_latitude = v;
        p.gps_longitude = v;
        model.packet.append(p);
    }
    packetCache.append(model);
    currentRecording = orvoTableModel{QUrl::fromLocalFile(path), {}};
    map.redrawMapTrack(3);
    expectRoute({{1.0f, 1.0f}, {3.0f, 3.0f}, {4.0f, 4.0f}});
}

TEST_F(MapPageWeb, PositionsOffTheGlobeNeverReachThePage) {
    setLanguages(QStringList{"ko"});
    map.loadMapPage(true);
    ASSERT_TRUE(webtest::waitForLoad(view));
    // The page itself drops them (a huge one would never return and grow the page by gigabytes).
    webtest::evaluate(view,
                      QStringLiteral("addPos(95, 10); addPos(0, 200); addPos(-91, 0); addPos(1e16, 127); 1"));
    expectRoute({});
    map.updateMapPosition(1, 1, 37.5f, 127.0f);
    const QString district = this->district();
    map.updateMapPosition(1, 1, 37.5f, 1e16f);
    map.updateMapPosition(1, 1, -1e16f, 127.0f);
    expectRoute({{37.5f, 127.0f}});
    EXPECT_EQ(this->district(), district);
}
