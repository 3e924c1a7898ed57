// The start-up update check against a local update service: the request as
// the service receives it, and every kind of reply ending in exactly one call
// of the completion.

#include "LocalHttpServer.h"
#include "SettingsTestSupport.h"

#include "library/FolderOpener.h"
#include "platform/system/Bookmark.h"
#include "platform/system/Bundle.h"
#include "platform/system/Http.h"
#include "platform/system/UserDefaults.h"
#include "settings/UpdateCheck.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"

#include <QJsonArray>
#include <QTemporaryDir>

using namespace httptest;
using namespace looptest;
using namespace settingstest;

namespace {

QString key(const char* name) {
    return QString::fromLatin1(name);
}

const QByteArray kServicePath = "/file-server/services/kavrin_player";
const QByteArray kQuery =
    "query=%7B%22name%22:%22KAVRIn_Player_2.0_MacOS%22,%22last_field%22:%22version%22%7D";

class UpdateCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.isListening());
        useServices(server.base());
        UserDefaults::standard().set(key(DefaultsKey::kAutoUpdate), QVariant(1));
        UserDefaults::standard().removeObject(key(DefaultsKey::kOrvoBookMark));
        updateChecked = false;
        versionInfo = QJsonObject();
    }
    void TearDown() override {
        setServiceConfigOverride(std::nullopt);
        Http::setTransferTimeout(60000);
        setUpdateCheckDeadline(kUpdateCheckDeadlineMs);
        UserDefaults::standard().removeObject(key(DefaultsKey::kAutoUpdate));
        UserDefaults::standard().removeObject(key(DefaultsKey::kOrvoBookMark));
    }

    // Runs the check to its end; the addresses the completion received (it
    // must be called exactly once) and the folder reopenings.
    QList<std::optional<QUrl>> runCheck(int* reopened = nullptr) {
        QList<std::optional<QUrl>> results;
        int reopenings = 0;
        checkForUpdate([&] { ++reopenings; }, [&](const std::optional<QUrl>& url) { results.append(url); });
        waitUntil([&] { return !results.isEmpty() || reopenings > 0; }, 30000);
        // A second call would come on a later turn of the event loop.
        spinFor(100);
        if (reopened)
            *reopened = reopenings;
        return results;
    }

    LocalHttpServer server;
};

Answer json(const QByteArray& body, int status = 200) {
    Answer answer;
    answer.status = status;
    answer.body = body;
    answer.contentType = "application/json";
    return answer;
}

} // namespace

TEST_F(UpdateCheckTest, TheServiceReceivesOnePlainGetWithTheEncodedQuery) {
    QTemporaryDir card;
    const struct {
        const char* verTxt;
        QByteArray path;
    } cases[] = {
        {nullptr, kServicePath},
        {"Model=KV-1000\nVersion=1.0 DEBUG\n", "/file-server/services/FILE_TEST"},
        {"Model=KV-1000\nVersion=1.0 debug\n", kServicePath},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.constData());
        server.requests.clear();
        if (c.verTxt) {
            writeFile(card.path() + QStringLiteral("/ver.txt"), c.verTxt);
            storeFolderBookmark(QUrl::fromLocalFile(card.path()));
        }
        const QList<std::optional<QUrl>> results = runCheck();
        ASSERT_EQ(results.size(), 1);
        EXPECT_FALSE(results.first()); // 404: no update
        ASSERT_EQ(server.requests.size(), 1);
        const RecordedRequest& request = server.requests.first();
        EXPECT_EQ(request.method, "GET");
        EXPECT_EQ(request.path, c.path);
        EXPECT_EQ(request.query, kQuery);
        EXPECT_TRUE(request.body.isEmpty());
        EXPECT_FALSE(request.hasHeader("Content-Length"));
        EXPECT_FALSE(request.hasHeader("Content-Type"));
    }
}

TEST_F(UpdateCheckTest, EveryReplyEndsInExactlyOneCompletion) {
    const QByteArray newer =
        R"({"data":[{"version":"99.0.0","datauri":"http://127.0.0.1/KavrinPlayer_99.deb"}]})";
    QByteArray nested(5000, '[');
    nested += QByteArray(5000, ']');
    QByteArray huge = R"({"data":[{"version":"99.0.0","datauri":"http://h/i.deb","pad":")";
    huge += QByteArray(Http::kMaximumReplySize + 1024, 'x') + "\"}]}";
    const struct {
        const char* name;
        Answer answer;
        std::optional<QUrl> expected;
        bool storesVersionInfo;
    } cases[] = {
        {"newer version", json(newer), QUrl(QStringLiteral("http://127.0.0.1/KavrinPlayer_99.deb")), true},
        {"same version", json(R"({"data":[{"version":"1.0.0","datauri":"http://h/i.deb"}]})"), std::nullopt,
         true},
        {"404 with a JSON body", json(newer, 404), std::nullopt, false},
        {"500", json(newer, 500), std::nullopt, false},
        {"empty data", json(R"({"data":[]})"), std::nullopt, true},
        {"no data", json(R"({"other":1})"), std::nullopt, true},
        {"missing version", json(R"({"data":[{"datauri":"http://h/i.deb"}]})"), std::nullopt, true},
        {"address that is no web address",
         json(R"({"data":[{"version":"99","datauri":"file:///etc/passwd"}]})"), std::nullopt, true},
        {"not JSON", json("<html>maintenance</html>"), std::nullopt, false},
        {"empty body", json(""), std::nullopt, false},
        {"not UTF-8", json("{\"data\":[{\"version\":\"99\xff\xfe\",\"datauri\":\"http://h/i\"}]}"),
         std::nullopt, false},
        {"nested deeply", json(nested), std::nullopt, false},
        {"huge", json(huge), std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        versionInfo = QJsonObject();
        server.answer(kServicePath, c.answer);
        const QList<std::optional<QUrl>> results = runCheck();
        ASSERT_EQ(results.size(), 1);
        EXPECT_EQ(results.first(), c.expected);
        EXPECT_EQ(versionInfo != QJsonValue(QJsonObject()), c.storesVersionInfo);
    }
    // The stored reply is the body.
    server.answer(kServicePath, json(newer));
    runCheck();
    EXPECT_EQ(versionInfo.toObject()
                  .value(QStringLiteral("data"))
                  .toArray()
                  .at(0)
                  .toObject()
                  .value(QStringLiteral("version")),
              QJsonValue(QStringLiteral("99.0.0")));
}

TEST_F(UpdateCheckTest, NoServiceNoAnswerAndASilentServiceEachGiveNoAddress) {
    const struct {
        const char* name;
        std::function<void()> arrange;
    } cases[] = {
        {"not configured", [] { setServiceConfigOverride(QJsonObject()); }},
        {"nobody listening",
         [] {
             QTcpServer closed;
             closed.listen(QHostAddress(QHostAddress::LocalHost), 0);
             const quint16 port = closed.serverPort();
             closed.close();
             useServices(QStringLiteral("http://127.0.0.1:%1").arg(port));
         }},
        {"silent server",
         [this] {
             Answer hang;
             hang.mode = Answer::Mode::Hang;
             server.answer(kServicePath, hang);
             Http::setTransferTimeout(300);
         }},
        // A byte now and then never trips the transfer timeout; the deadline ends it.
        {"dripping server",
         [this] {
             Answer drip = json(R"({"data":[{"version":"99.0.0","datauri":"http://h/i.deb"}]})");
             drip.mode = Answer::Mode::Drip;
             drip.chunkIntervalMs = 200;
             server.answer(kServicePath, drip);
             setUpdateCheckDeadline(1500);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        useServices(server.base());
        c.arrange();
        int reopened = 0;
        const QList<std::optional<QUrl>> results = runCheck(&reopened);
        ASSERT_EQ(results.size(), 1);
        EXPECT_FALSE(results.first());
        EXPECT_EQ(reopened, 0); // the completion reopens the folder, not the gate
    }
}

TEST(UpdateVersionTest, OnlyANumericallyGreaterOfferIsNewer) {
    const struct {
        QJsonValue offered;
        const char* application;
        bool newer;
    } cases[] = {
        {QStringLiteral("2.0.10"), "2.0.9", true},
        {QStringLiteral("2.0.9"), "2.0.10", false},
        {QStringLiteral("2.0.9"), "2.0.9", false},
        {QStringLiteral("2.1"), "2.0.99", true},
        {QStringLiteral("10.0.0"), "9.9.9", true},
        {QStringLiteral("2.0.09"), "2.0.9", false},
        {QStringLiteral("2.0.9b"), "2.0.9a", true},
        {QStringLiteral(""), "0", false},
        {QJsonValue(), "0", false},
        {QJsonValue(3), "2.9", true},
        {QJsonValue(2.5), "2.10", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QJsonDocument(QJsonArray{c.offered}).toJson(QJsonDocument::Compact).toStdString() +
                     " vs " + c.application);
        QJsonObject entry{{QStringLiteral("datauri"), QStringLiteral("https://h/x.deb")}};
        if (!c.offered.isNull())
            entry.insert(QStringLiteral("version"), c.offered);
        const QJsonDocument body(QJsonObject{{QStringLiteral("data"), QJsonArray{entry}}});
        HttpResponse reply;
        reply.statusCode = 200;
        reply.data = body.toJson();
        reply.json = body;
        int calls = 0;
        std::optional<QUrl> address;
        handleUpdateInfo(
            reply,
            [&](const std::optional<QUrl>& url) {
                ++calls;
                address = url;
            },
            QLatin1String(c.application));
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(address.has_value(), c.newer);
    }
}
