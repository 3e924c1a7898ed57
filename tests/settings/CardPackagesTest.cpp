// The card downloads of the settings screen against a local server: the
// language rule, the firmware version page, the checks of the card's root,
// the download and unpacking onto the card, and hostile or broken answers.

#include "LocalHttpServer.h"
#include "SettingsTestSupport.h"

#include "controls/UpdateProgressView.h"
#include "library/FolderOpener.h"
#include "platform/system/HtmlDocument.h"
#include "platform/system/Http.h"
#include "platform/system/Localization.h"
#include "platform/system/UserDefaults.h"
#include "platform/ui/Workspace.h"
#include "settings/CardPackages.h"
#include "settings/SettingViewController.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QRegularExpression>
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
const QString kFailed = QStringLiteral("다운로드가 실패되었습니다. 다시 시도해 주세요.");
const QString kNotUnpacked =
    QStringLiteral("The package could not be unpacked; the memory card was left as it was.");
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

// A version page whose row for `model` lies inside `depth` nested tables, after `text` bytes of text.
QByteArray nestedPage(int depth, qsizetype text, const QString& model, const QString& address) {
    QByteArray html = "<html><body>";
    for (int i = 0; i < depth; ++i)
        html += "<table><tr><td>";
    html += QByteArray(text, 'x');
    html += "<table><tr><td>1</td><td>" + model.toUtf8() + "</td><td>1.0.10</td><td>-</td><td>" +
            address.toUtf8() + "</td></tr></table>";
    for (int i = 0; i < depth; ++i)
        html += "</td></tr></table>";
    return html + "</body></html>";
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
        Http::setTransferTimeout(60000);
        CardPackages::setVersionPageDeadline(CardPackages::kVersionPageDeadlineMs);
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
    const std::optional<HtmlDocument> document = HtmlDocument::parse(
        "<table><tr><td>1</td><td> KV-1000</td><td>1.0.1</td><td>x</td><td>http://h/a.zip</td></tr>"
        "<tr><td>2</td><td>KV-1000</td><td>1.0.2</td><td>x</td><td>http://h/b%.zip</td></tr>"
        "<tr><td>3</td><td>KV-1000</td><td>1.0.3</td><td>x</td><td>not an address</td></tr>"
        "<tr><td>4</td><td><b>KV-2000</b></td><td>2.&amp;0</td><td>x</td><td>http://h/c d.zip</td></tr>"
        "<tr><td>5</td><td>KV-1000</td><td>9.9.9</td><td>x</td></tr></table>",
        "td");
    ASSERT_TRUE(document);
    ASSERT_EQ(document->cellCount(), 24);
    EXPECT_EQ(document->cell(1), QStringLiteral(" KV-1000")); // untrimmed
    EXPECT_EQ(document->cell(16), QStringLiteral("KV-2000"));
    EXPECT_EQ(document->cell(17), QStringLiteral("2.&0"));

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
            CardPackages::firmwareOffer(*document, QLatin1String(c.model));
        ASSERT_EQ(offer.has_value(), c.version.has_value());
        if (offer) {
            EXPECT_EQ(offer->latestVersion, *c.version);
            EXPECT_EQ(offer->packageURL.toString(QUrl::FullyEncoded), c.address);
        }
    }
    EXPECT_FALSE(HtmlDocument::parse("", "td"));
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
         {kFailed + QStringLiteral("\nThe server answered with error 404.")},
         fresh},
        {"only regular files ending in .zip are cleared",
         "1.0.9",
         {"OLD.ZIP", "notes.zip.txt", "album.zip/a.jpg", "my.zipped_photos/p.jpg", "FW.bin", "ver.txt"},
         page({{"KV-1000", "1.0.10", package}}),
         {kPagePath},
         {QStringLiteral("펌웨어 파일이 이미 존재합니다.")},
         {"FW.bin", "album.zip", "my.zipped_photos", "notes.zip.txt", "ver.txt"}},
        // 80 cells around it (16 rows of five, each holding the rest of the page).
        {"the row inside 80 nested tables after a megabyte of text",
         "1.0.9",
         fresh,
         nestedPage(80, 1024 * 1024, QStringLiteral("KV-1000"), package),
         {kPagePath, "/fw/KV-1000_1.0.10.zip"},
         {kComplete},
         unpacked},
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

// A link on the card under a package's archive name: the download replaces
// it, and the file it names, outside the card, is never written.
TEST_F(CardPackagesTest, ALinkUnderAnArchivesNameIsReplacedNeverWrittenThrough) {
    const QByteArray package = zipOf({{"FW.bin", "firmware"}, {"speedcam_k.bin", "cameras"}});
    server.answer("/fw/KV-1000.zip", reply(200, package));
    server.answer(kPagePath, reply(200, page({{"KV-1000", "1.0.10", server.url("/fw/KV-1000.zip")}})));
    server.answer(kSpeedCamPath, reply(200, package));
    const struct {
        const char* name;
        bool firmware;
    } cases[] = {{"firmware.zip", true}, {"speedcam_parking.zip", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        makeCard({QStringLiteral("ver.txt")});
        const QString important = outside + QStringLiteral("/important.txt");
        writeFile(important, "important");
        ASSERT_TRUE(QFile::link(important, card + QLatin1Char('/') + QLatin1String(c.name)));
        catcher.alerts.clear();
        QPointer<SettingViewController> screen = present();
        press(*screen, c.firmware, 1, 1);
        EXPECT_EQ(catcher.messages(), QStringList{kComplete});
        EXPECT_EQ(readAll(important), "important");
        EXPECT_EQ(rootNames(), (QStringList{"FW.bin", "speedcam_k.bin", "ver.txt"}));
        screen->onCloseBtnTap();
    }
}

// A version page that drips: one request however often the button is
// pressed, given up at the deadline with the version page's alert.
TEST_F(CardPackagesTest, TheVersionPageIsAskedOnceAtATimeAndGivenUpAtItsDeadline) {
    Answer drip = reply(200, page({{"KV-1000", "1.0.10", server.url("/fw/x.zip")}}));
    drip.mode = Answer::Mode::Drip;
    drip.chunkIntervalMs = 100;
    server.answer(kPagePath, drip);
    CardPackages::setVersionPageDeadline(3000);
    makeCard({QStringLiteral("ver.txt")});
    QPointer<SettingViewController> screen = present();
    screen->resize(480, 400);
    auto* button = screen->findChild<QPushButton*>(QStringLiteral("firmUpdateBtn"));
    for (int press = 0; press < 3; ++press) {
        clickOver(button);
        spinFor(200);
    }
    ASSERT_TRUE(waitUntil([&] { return !catcher.alerts.isEmpty(); }, 30000));
    spinFor(300);
    EXPECT_EQ(server.requests.size(), 1);
    EXPECT_EQ(catcher.titles(), QStringList{kFirmware});
    EXPECT_EQ(catcher.messages(),
              QStringList{QStringLiteral("The firmware version page could not be read.\n"
                                         "The server did not send the whole page in time.")});
    EXPECT_EQ(rootNames(), QStringList{QStringLiteral("ver.txt")});
    // Once it has ended, the button asks again.
    server.answer(kPagePath, reply(200, page({{"KV-0000", "1.0.10", server.url("/fw/x.zip")}})));
    catcher.alerts.clear();
    clickOver(button);
    ASSERT_TRUE(waitUntil([&] { return !catcher.alerts.isEmpty(); }));
    EXPECT_EQ(server.requests.size(), 2);
    EXPECT_EQ(catcher.messages(), QStringList{kLatest});
    screen->onCloseBtnTap();
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
    // ...except the Close button, which stays uncovered to cancel the download.
    auto* close = screen->findChild<QPushButton*>(QStringLiteral("closeBtn"));
    EXPECT_EQ(screen->childAt(close->mapTo(screen.data(), close->rect().center())), close);

    // The card goes away half-way.
    QDir(card).removeRecursively();
    ASSERT_TRUE(waitUntil([&] { return !catcher.alerts.isEmpty(); }, 20000));
    spinFor(100);
    EXPECT_EQ(catcher.titles(), QStringList{kSpeedCam});
    EXPECT_EQ(catcher.messages(),
              QStringList{kFailed + QStringLiteral("\nThe memory card cannot be found.")});
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

TEST_F(CardPackagesTest, EveryFailureEndsInAnAlertThatSaysWhatFailedAndLeavesTheCardAsItWas) {
    // The card is a small file system of its own where one can be mounted.
    SmallVolume smallCard(card, 8 * 1024 * 1024);
    const QString scratch = temp.path() + QStringLiteral("/scratch.zip");
    const QByteArray package = zipBytes(scratch, {{"ver.txt", "new"}, {"speedcam_k.bin", "cameras"}});
    const QString fwPackage = server.url(QStringLiteral("/fw/KV-1000.zip"));
    QByteArray badCrc = package;
    ASSERT_TRUE(patchZipEntry(badCrc, 1, 14, 16, 0xdeadbeef));
    QByteArray noise(12 * 1024 * 1024, Qt::Uninitialized);
    quint32 state = 99;
    for (char& byte : noise) {
        state = state * 1664525u + 1013904223u;
        byte = char(state >> 24);
    }
    auto answer = [](int status, const QByteArray& body, Answer::Mode mode = Answer::Mode::Whole) {
        Answer a = reply(status, body);
        a.mode = mode;
        return a;
    };
    Answer loop = answer(302, "");
    loop.location = kSpeedCamPath;
    Answer longer = answer(200, package);
    longer.announcedLength = package.size() + 4096;
    Answer shorter = answer(200, package);
    shorter.announcedLength = package.size() / 2;
    const QString unpackFailed = kNotUnpacked + QLatin1Char('\n');
    const struct {
        const char* name;
        bool firmware;
        Answer answer; // the version page's for firmware, the package's otherwise
        QString message;
        bool needsVolume = false;
        bool korean = false;
    } cases[] = {
        {"404", false, answer(404, "not here"), kFailed + "\nThe server answered with error 404."},
        {"500", false, answer(500, "oops"), kFailed + "\nThe server answered with error 500."},
        {"redirect loop", false, loop, kFailed + "\nThe server redirected the request too many times."},
        {"stall", false, answer(200, package, Answer::Mode::Hang),
         kFailed + "\nThe server stopped sending data."},
        {"a length longer than the body", false, longer,
         kFailed + "\nThe connection broke off before the whole file arrived."},
        {"a length shorter than the body", false, shorter,
         unpackFailed + "The downloaded package is damaged or is not a zip archive."},
        {"bad CRC in the second entry", false, answer(200, badCrc),
         unpackFailed + "The downloaded package is damaged or is not a zip archive."},
        {"a chain of links", false,
         answer(200, zipBytes(scratch, {{"d/", ""}, {"d/up", "..", true}, {"d/up/l", "../..", true}})),
         unpackFailed +
             "The package holds links or names that lead outside the memory card, so it was not unpacked."},
        {"an entry named like the unpacking's own folder", false,
         answer(200, zipBytes(scratch, {{".kavrin-unpack-a1B2c3/speedcam_k.bin", "cameras"}})),
         unpackFailed + "The package holds a file named like the player's own temporary files, so it was not "
                        "unpacked."},
        {"zip bomb larger than the card", false,
         answer(200, zipBytes(scratch, {{"speedcam_k.bin", QByteArray(64 << 20, '\0')}})),
         unpackFailed + "There is not enough free space on the memory card.", true},
        {"a package larger than the card", false, answer(200, noise),
         kFailed + "\nThere is not enough free space on the memory card.", true},
        {"unpack error in Korean", false, answer(200, "<html>error page</html>"), QString(), false, true},
        {"version page over 8 MiB", true, answer(200, QByteArray(Http::kMaximumReplySize + 1024, ' ')),
         QStringLiteral("The firmware version page could not be read.")},
        {"version page 500", true, answer(500, "oops"),
         QStringLiteral("The firmware version page could not be read.\nThe server answered with error 500.")},
        {"version page not UTF-8", true, answer(200, "<td>\xff\xfe</td>"),
         QStringLiteral("The firmware version page could not be read.")},
        {"version page of 0 bytes", true, answer(200, ""),
         QStringLiteral("The firmware version page could not be read.")},
    };
    Http::setTransferTimeout(1000);
    const QString previousLanguage = localizationLanguage();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsVolume && !smallCard.mounted()) {
            std::printf("skipped \"%s\": no tmpfs can be mounted here\n", c.name);
            continue;
        }
        makeCard({QStringLiteral("ver.txt")});
        server.answer(kSpeedCamPath, c.answer);
        server.answer(kPagePath,
                      c.firmware ? c.answer : reply(200, page({{"KV-1000", "1.0.10", fwPackage}})));
        catcher.alerts.clear();
        if (c.korean)
            setLocalizationLanguage(QStringLiteral("ko"));
        QPointer<SettingViewController> screen = present();
        screen->resize(480, 400);
        clickOver(
            screen->findChild<QPushButton*>(QLatin1String(c.firmware ? "firmUpdateBtn" : "speedUpdateBtn")));
        ASSERT_TRUE(
            waitUntil([&] { return !catcher.alerts.isEmpty() && !screen->isCardWorkRunning(); }, 30000));
        spinFor(100);
        setLocalizationLanguage(previousLanguage);
        ASSERT_EQ(catcher.alerts.size(), 1);
        if (c.korean) {
            EXPECT_EQ(catcher.alerts.first().title, QStringLiteral("안전운전도우미 업데이트"));
            EXPECT_FALSE(
                catcher.alerts.first().message.contains(QRegularExpression(QStringLiteral("[A-Za-z]{4}"))))
                << catcher.alerts.first().message.toStdString();
        } else {
            EXPECT_EQ(catcher.alerts.first().title, c.firmware ? kFirmware : kSpeedCam);
            EXPECT_EQ(catcher.alerts.first().message.toStdString(), c.message.toStdString());
        }
        EXPECT_EQ(rootNames(), QStringList{QStringLiteral("ver.txt")});
        EXPECT_EQ(readAll(card + QStringLiteral("/ver.txt")), "old ver.txt");
        EXPECT_TRUE(screen->updateProgressView->isHidden());
        screen->onCloseBtnTap();
    }
}

TEST_F(CardPackagesTest, EscapeOrCloseCancelsARunningDownloadAndLeavesTheCardClean) {
    Answer drip = reply(200, zipOf({{"speedcam_k.bin", QByteArray(4096, 'c')}}));
    drip.mode = Answer::Mode::Drip;
    drip.chunkIntervalMs = 500;
    server.answer(kSpeedCamPath, drip);
    const struct {
        const char* name;
        bool escape;
    } cases[] = {{"Escape", true}, {"the Close button", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        makeCard({QStringLiteral("ver.txt")});
        server.requests.clear();
        catcher.alerts.clear();
        QPointer<SettingViewController> screen = present();
        screen->resize(480, 400);
        clickOver(screen->findChild<QPushButton*>(QStringLiteral("speedUpdateBtn")));
        ASSERT_TRUE(waitUntil([&] { return server.requests.size() == 1 && screen->isCardWorkRunning(); }));
        ASSERT_TRUE(screen->updateProgressView->isVisible());
        if (c.escape) {
            pressKey(screen, Qt::Key_Escape);
        } else {
            auto* close = screen->findChild<QPushButton*>(QStringLiteral("closeBtn"));
            EXPECT_EQ(clickOver(close), close);
        }
        ASSERT_TRUE(waitUntil([&] { return !screen || !screen->isVisible(); }));
        spinFor(200);
        EXPECT_EQ(rootNames(), QStringList{QStringLiteral("ver.txt")});
        EXPECT_TRUE(catcher.alerts.isEmpty());
    }
}
