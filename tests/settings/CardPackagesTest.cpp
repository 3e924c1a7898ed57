// The card downloads of the settings screen against a local server: the
// language rule, the firmware version page, the checks of the card's root,
// the download and unpacking onto the card, and hostile or broken answers.

#include "LocalHttpServer.h"
#include "SettingsTestSupport.h"

#include "platform/HtmlDocument.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"
#include "player/DefaultsKeys.h"
#include "player/FolderOpener.h"
#include "player/PlayerState.h"
#include "player/controls/UpdateProgressView.h"
#include "settings/CardPackages.h"
#include "settings/SettingViewController.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>

using namespace httptest;
using namespace looptest;
using namespace settingstest;

namespace {

QString key(const char* name) {
    return QString::fromLatin1(name);
}

const QString kFirmware = QStringLiteral("펌웨어 업데이트");
const QString kSpeedCam = QStringLiteral("안전운전도우미 업데이트");
const QString kComplete = QStringLiteral("다운로드가 완료되었습니다.\n적용하시려면 다운로드 받은 "
                                         "메모리카드를 블랙박스에 삽입 후 전원을 인가해 주세요.");
const QString kLatest = QStringLiteral("현재 설치되어 있는 버전이 최신 펌웨어 입니다.");
const QByteArray kPagePath = "/kavrin/support/download/ver.html";
const QByteArray kSpeedCamPath = "/kavrin/support/download/data/speedcam_parking.zip";

// A version page: one row of five cells per (model, version, address).
QByteArray page(const QList<std::array<QString, 3>>& rows) {
    QString html = QStringLiteral("<html><body><table>\n<tr><th>no</th><th>model</th></tr>\n");
    int number = 1;
    for (const auto& row : rows)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>2024-01-01</td><td>%4</td></tr>\n")
                    .arg(number++)
                    .arg(row[0], row[1], row[2]);
    html += QStringLiteral("</table></body></html>");
    return html.toUtf8();
}

Answer reply(int status, const QByteArray& body) {
    Answer answer;
    answer.status = status;
    answer.body = body;
    return answer;
}

class CardPackagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.isListening());
        ASSERT_TRUE(temp.isValid());
        useServices(server.base(), {QStringLiteral("KV-BOARD")});
        card = temp.path() + QStringLiteral("/KV-1000");
        outside = temp.path() + QStringLiteral("/outside");
        Workspace::setOpenURLHandler([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        setLanguages(QStringList{QStringLiteral("ko")});
    }
    void TearDown() override {
        setServiceConfigOverride(std::nullopt);
        Workspace::setOpenURLHandler({});
        cardModel.reset();
        cardVersion.reset();
        UserDefaults::standard().removeObject(key(DefaultsKey::kOrvoBookMark));
        setLanguages(QStringList{QStringLiteral("en")});
    }

    static void setLanguages(const std::optional<QStringList>& languages) {
        if (languages)
            UserDefaults::standard().set(key(DefaultsKey::kAppleLanguages), *languages);
        else
            UserDefaults::standard().set(key(DefaultsKey::kAppleLanguages), QVariant(42));
    }

    // A fresh card root holding `files`, bookmarked, with its model and version.
    void makeCard(const QStringList& files, const QString& model = QStringLiteral("KV-1000"),
                  const QString& version = QStringLiteral("1.0.9")) {
        QDir(card).removeRecursively();
        QDir(outside).removeRecursively();
        QDir().mkpath(card);
        QDir().mkpath(outside);
        for (const QString& file : files)
            writeFile(card + QLatin1Char('/') + file, "old " + file.toUtf8());
        storeFolderBookmark(QUrl::fromLocalFile(card));
        cardModel = model;
        cardVersion = version;
    }

    QStringList rootNames() const {
        return QDir(card).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                    QDir::Name);
    }

    QPointer<SettingViewController> present() {
        auto* screen = new SettingViewController;
        host.presentViewController(screen, SeguePresentation::Sheet);
        return screen;
    }

    // Presses a download button and waits for `requests` requests, `alerts`
    // alerts and the end of any card download.
    void press(SettingViewController& screen, bool firmware, int requests, int alerts) {
        if (firmware)
            screen.onFirmUpdateBtnTap();
        else
            screen.onSpeedUpdateBtnTap();
        waitUntil(
            [&] {
                HttpDownload* download = screen.runningCardDownload();
                return server.requests.size() >= requests && catcher.alerts.size() >= alerts &&
                       (!download || download->isFinished());
            },
            10000);
        spinFor(100);
    }

    QStringList requestedTargets() const {
        QStringList targets;
        for (const RecordedRequest& request : server.requests)
            targets.append(QString::fromLatin1(request.target));
        return targets;
    }

    QByteArray zipOf(const QList<ZipEntry>& entries) {
        return zipBytes(temp.path() + QStringLiteral("/scratch.zip"), entries);
    }

    LocalHttpServer server;
    QTemporaryDir temp;
    QString card;
    QString outside;
    ViewController host;
    QList<QUrl> opened;
    AlertCatcher catcher;
};

} // namespace

TEST(FirmwarePageTest, RowsOfFiveCellsAndTheLastMatchingRowWins) {
    const std::optional<HtmlDocument> document = HtmlDocument::parse(QStringLiteral(
        "<table><tr><td>1</td><td> KV-1000</td><td>1.0.1</td><td>x</td><td>http://h/a.zip</td></tr>"
        "<tr><td>2</td><td>KV-1000</td><td>1.0.2</td><td>x</td><td>http://h/b%.zip</td></tr>"
        "<tr><td>3</td><td>KV-1000</td><td>1.0.3</td><td>x</td><td>not an address</td></tr>"
        "<tr><td>4</td><td><b>KV-2000</b></td><td>2.&amp;0</td><td>x</td><td>http://h/c d.zip</td></tr>"
        "<tr><td>5</td><td>KV-1000</td><td>9.9.9</td><td>x</td></tr></table>"));
    ASSERT_TRUE(document);
    const QStringList cells = document->cells(QStringLiteral("td"));
    ASSERT_EQ(cells.size(), 24);
    EXPECT_EQ(cells.at(1), QStringLiteral(" KV-1000")); // untrimmed
    EXPECT_EQ(cells.at(16), QStringLiteral("KV-2000"));
    EXPECT_EQ(cells.at(17), QStringLiteral("2.&0"));

    const struct {
        const char* model;
        std::optional<QString> version;
        QString address;
    } cases[] = {
        // Row 1 does not match (leading space), row 3's address is no web
        // address, row 5 is incomplete: row 2 stands, its "%" encoded again.
        {"KV-1000", QStringLiteral("1.0.2"), QStringLiteral("http://h/b%25.zip")},
        {"KV-2000", QStringLiteral("2.&0"), QStringLiteral("http://h/c%20d.zip")},
        {"KV-3000", std::nullopt, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        const std::optional<CardPackages::FirmwareOffer> offer =
            CardPackages::firmwareOffer(cells, QLatin1String(c.model));
        ASSERT_EQ(offer.has_value(), c.version.has_value());
        if (offer) {
            EXPECT_EQ(offer->latestVersion, *c.version);
            EXPECT_EQ(offer->packageURL.toString(QUrl::FullyEncoded), c.address);
        }
    }
    EXPECT_FALSE(HtmlDocument::parse(QString()));
}

TEST_F(CardPackagesTest, FirmwareIsFetchedUnpackedOntoTheCardAndItsArchiveDeleted) {
    const QByteArray firmware = zipOf({{"FW.bin", QByteArray(300000, 'f')}, {"data/notes.txt", "notes"}});
    const QString package = server.url(QStringLiteral("/fw/KV-1000_1.0.10.zip"));
    const QString percent = server.url(QStringLiteral("/fw/100%.zip"));
    const QString hostile = server.url(QStringLiteral("/fw/hostile.zip"));
    server.answer("/fw/KV-1000_1.0.10.zip", reply(200, firmware));
    server.answer("/fw/100%25.zip", reply(200, firmware));
    server.answer("/fw/not-a-zip.zip", reply(200, "<html>error page</html>"));
    server.answer("/fw/hostile.zip",
                  reply(200, zipOf({{"ok.txt", "fine"}, {"../outside/evil.txt", "evil"}})));
    const QStringList fresh{QStringLiteral("ver.txt")};
    const QStringList unpacked{QStringLiteral("FW.bin"), QStringLiteral("data"), QStringLiteral("ver.txt")};
    const struct {
        const char* name;
        QString version;
        QStringList files;
        QByteArray page;
        QStringList requests;
        QStringList messages; // the alerts under the firmware title; "*" is any unpacking error
        QStringList after;
    } cases[] = {
        {"older card",
         "1.0.9",
         fresh,
         page({{"KV-1000", "1.0.10", package}}),
         {kPagePath, "/fw/KV-1000_1.0.10.zip"},
         {kComplete},
         unpacked},
        {"same version",
         "1.0.10",
         fresh,
         page({{"KV-1000", "1.0.10", package}}),
         {kPagePath, "/fw/KV-1000_1.0.10.zip"},
         {kComplete},
         unpacked},
        {"newer card",
         "1.0.11",
         fresh,
         page({{"KV-1000", "1.0.10", package}}),
         {kPagePath},
         {kLatest},
         fresh},
        {"model not on the page",
         "1.0.9",
         fresh,
         page({{"KV-2000", "1.0.10", package}}),
         {kPagePath},
         {kLatest},
         fresh},
        {"old.zip and FW.bin on the card",
         "1.0.9",
         {"old.zip", "FW.bin", "ver.txt"},
         page({{"KV-1000", "1.0.10", package}}),
         {kPagePath},
         {QStringLiteral("펌웨어 파일이 이미 존재합니다.")},
         {"FW.bin", "ver.txt"}},
        {"two rows for the model",
         "1.0.11",
         fresh,
         page({{"KV-1000", "1.0.8", server.url("/fw/old.zip")}, {"KV-1000", "1.0.12", package}}),
         {kPagePath, "/fw/KV-1000_1.0.10.zip"},
         {kComplete},
         unpacked},
        {"address with a percent sign",
         "1.0.9",
         fresh,
         page({{"KV-1000", "1.0.10", percent}}),
         {kPagePath, "/fw/100%25.zip"},
         {kComplete},
         unpacked},
        {"answer that is not a zip",
         "1.0.9",
         fresh,
         page({{"KV-1000", "1.0.10", server.url("/fw/not-a-zip.zip")}}),
         {kPagePath, "/fw/not-a-zip.zip"},
         {"*"},
         fresh},
        {"package missing (404)",
         "1.0.9",
         fresh,
         page({{"KV-1000", "1.0.10", server.url("/fw/gone.zip")}}),
         {kPagePath, "/fw/gone.zip"},
         {},
         fresh},
        {"entry escaping the card",
         "1.0.9",
         fresh,
         page({{"KV-1000", "1.0.10", hostile}}),
         {kPagePath, "/fw/hostile.zip"},
         {"*"},
         fresh},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        makeCard(c.files, QStringLiteral("KV-1000"), c.version);
        server.answer(kPagePath, reply(200, c.page));
        server.requests.clear();
        catcher.alerts.clear();
        QPointer<SettingViewController> screen = present();
        press(*screen, true, int(c.requests.size()), int(c.messages.size()));
        EXPECT_EQ(requestedTargets(), c.requests);
        EXPECT_EQ(catcher.alerts.size(), c.messages.size());
        for (qsizetype i = 0; i < std::min(catcher.alerts.size(), c.messages.size()); ++i) {
            EXPECT_EQ(catcher.alerts.at(i).title, kFirmware);
            if (c.messages.at(i) == QLatin1String("*")) {
                EXPECT_FALSE(catcher.alerts.at(i).message.isEmpty());
                EXPECT_NE(catcher.alerts.at(i).message, kComplete);
            } else {
                EXPECT_EQ(catcher.alerts.at(i).message, c.messages.at(i));
            }
        }
        EXPECT_EQ(rootNames(), c.after);
        if (c.after == unpacked) {
            EXPECT_EQ(readAll(card + QStringLiteral("/FW.bin")), QByteArray(300000, 'f'));
        }
        EXPECT_TRUE(QDir(outside).isEmpty());
        EXPECT_TRUE(screen->updateProgressView->isHidden());
        for (const RecordedRequest& request : server.requests) {
            EXPECT_EQ(request.method, "GET");
            EXPECT_TRUE(request.body.isEmpty());
        }
        screen->onCloseBtnTap();
    }
}

TEST_F(CardPackagesTest, SpeedCamDataAndTheBoardPage) {
    server.answer(kSpeedCamPath, reply(200, zipOf({{"speedcam_k.bin", "cameras"}})));
    server.answer(kPagePath, reply(200, page({{"KV-1000", "1.0.10", server.url("/fw/x.zip")}})));
    const QUrl board(server.url(
        QStringLiteral("/custcenter/firmware.do?method=sboard&return_name=update_firmware&board_code=0079")));
    const struct {
        const char* name;
        bool firmware;
        QString model;
        QString version;
        QStringList files;
        QStringList requests;
        QStringList messages;
        QList<QUrl> opened;
        QStringList after;
    } cases[] = {
        {"backup.zip stays",
         false,
         "KV-1000",
         "1.0",
         {"backup.zip", "ver.txt"},
         {kSpeedCamPath},
         {kComplete},
         {},
         {"backup.zip", "speedcam_k.bin", "ver.txt"}},
        {"data already there",
         false,
         "KV-1000",
         "1.0",
         {"speedcam_k.bin"},
         {},
         {QStringLiteral("안전운전도우미 파일이 이미 존재합니다.")},
         {},
         {"speedcam_k.bin"}},
        {"board model", false, "KV-BOARD", "1.0", {}, {}, {}, {board}, {}},
        {"empty model: speed-camera data on the board", false, "", "1.0", {}, {}, {}, {board}, {}},
        {"empty model: the firmware page is still asked",
         true,
         "",
         "1.0",
         {},
         {kPagePath},
         {kLatest},
         {},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        makeCard(c.files, c.model, c.version);
        server.requests.clear();
        catcher.alerts.clear();
        opened.clear();
        QPointer<SettingViewController> screen = present();
        press(*screen, c.firmware, int(c.requests.size()), int(c.messages.size()));
        EXPECT_EQ(requestedTargets(), c.requests);
        EXPECT_EQ(catcher.messages(), c.messages);
        for (const auto& alert : catcher.alerts)
            EXPECT_EQ(alert.title, c.firmware ? kFirmware : kSpeedCam);
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(rootNames(), c.after);
        screen->onCloseBtnTap();
    }
}

TEST_F(CardPackagesTest, EnglishAndJapaneseOpenTheDownloadPageAndUnconfiguredServicesDoNothing) {
    const QUrl english(server.url(QStringLiteral("/support/download/dashcam")));
    const struct {
        const char* name;
        std::optional<QStringList> languages;
        bool configured;
        QList<QUrl> opened;
        QStringList storedAfter;
    } cases[] = {
        {"English", QStringList{"en"}, true, {english, english}, {"en"}},
        {"Japanese", QStringList{"ja"}, true, {english, english}, {"ja"}},
        {"no language list", std::nullopt, true, {english, english}, {"en"}},
        {"two languages", QStringList{"en", "ko"}, true, {}, {"en", "ko"}},
        {"Korean, nothing configured", QStringList{"ko"}, false, {}, {"ko"}},
        {"English, nothing configured", QStringList{"en"}, false, {}, {"en"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.configured)
            useServices(server.base(), {QStringLiteral("KV-BOARD")});
        else
            setServiceConfigOverride(QJsonObject());
        makeCard({QStringLiteral("ver.txt")});
        opened.clear();
        server.requests.clear();
        catcher.alerts.clear();
        QPointer<SettingViewController> screen = present();
        setLanguages(c.languages);
        press(*screen, true, 0, 0);
        setLanguages(c.languages);
        press(*screen, false, 0, 0);
        EXPECT_EQ(opened, c.opened);
        EXPECT_TRUE(server.requests.isEmpty());
        EXPECT_TRUE(catcher.alerts.isEmpty());
        EXPECT_EQ(UserDefaults::standard().stringArray(key(DefaultsKey::kAppleLanguages)), c.storedAfter);
        EXPECT_EQ(rootNames(), QStringList{QStringLiteral("ver.txt")});
        screen->onCloseBtnTap();
    }
}

TEST_F(CardPackagesTest, TheOverlayTakesEveryClickAndACardTakenOutEndsWithAnAlert) {
    // Data that does not compress, sent in small chunks: the download lasts a while.
    QByteArray noise(256 * 1024, Qt::Uninitialized);
    quint32 state = 12345;
    for (char& byte : noise) {
        state = state * 1664525u + 1013904223u;
        byte = char(state >> 24);
    }
    Answer slow = reply(200, zipOf({{"speedcam_k.bin", noise}}));
    ASSERT_GT(slow.body.size(), 200 * 1024);
    slow.mode = Answer::Mode::Slow;
    slow.chunkSize = 8 * 1024;
    server.answer(kSpeedCamPath, slow);

    makeCard({QStringLiteral("ver.txt")});
    QPointer<SettingViewController> screen = present();
    screen->resize(480, 400);
    screen->onSpeedUpdateBtnTap();
    ASSERT_TRUE(waitUntil([&] { return server.requests.size() == 1; }));
    ASSERT_TRUE(screen->updateProgressView->isVisible());
    // Whatever lies under a click, the overlay takes it.
    auto* confirm = screen->findChild<QPushButton*>(QStringLiteral("confirmBtn"));
    QWidget* hit = screen->childAt(confirm->mapTo(screen.data(), confirm->rect().center()));
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(hit == screen->updateProgressView || screen->updateProgressView->isAncestorOf(hit));
    // Escape does not close the screen under a running download.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(screen, &escape);
    EXPECT_TRUE(screen->isVisible());

    // The card goes away half-way.
    QDir(card).removeRecursively();
    ASSERT_TRUE(waitUntil([&] { return !catcher.alerts.isEmpty(); }, 20000));
    spinFor(100);
    EXPECT_EQ(catcher.titles(), QStringList{kSpeedCam});
    EXPECT_EQ(catcher.messages(),
              QStringList{QStringLiteral("다운로드가 실패되었습니다. 다시 시도해 주세요.")});
    EXPECT_TRUE(screen->updateProgressView->isHidden());

    // Closing the screen during a download stops it and leaves no file.
    makeCard({QStringLiteral("ver.txt")});
    catcher.alerts.clear();
    screen->onSpeedUpdateBtnTap();
    ASSERT_TRUE(waitUntil([&] { return server.requests.size() == 2; }));
    screen->close();
    spinFor(300);
    EXPECT_FALSE(screen);
    EXPECT_EQ(rootNames(), QStringList{QStringLiteral("ver.txt")});
    EXPECT_TRUE(catcher.alerts.isEmpty());
}
