// The update screen and the installer download screen against a local
// server: Update, Settings and Cancel, the download into the Downloads folder
// with its progress, Cancel, and downloads that must not leave a file.

#include "LocalHttpServer.h"
#include "SettingsTestSupport.h"

#include "app/MainStoryboard.h"
#include "platform/system/FileManager.h"
#include "platform/system/NotificationCenter.h"
#include "settings/ProgressViewController.h"
#include "settings/SettingViewController.h"
#include "settings/UpdateViewController.h"
#include "shared/NotificationNames.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

using namespace httptest;
using namespace looptest;
using namespace settingstest;

namespace {

class UpdateScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerMainStoryboard();
        ASSERT_TRUE(server.isListening());
        ASSERT_TRUE(temp.isValid());
        downloads = temp.path() + QStringLiteral("/Downloads");
        setDownloadsFolder(downloads);
        ASSERT_EQ(FileManager::downloadsDirectory(), downloads);
        NotificationCenter::defaultCenter().addObserver(
            &observer, QLatin1String(NotificationName::kInstallerDownloadComplete), nullptr,
            [this](const Notification& notification) {
                completions.append(
                    notification.userInfo.value(QLatin1String(NotificationUserInfoKey::kDownloadPath))
                        .toUrl());
            });
    }
    void TearDown() override { NotificationCenter::defaultCenter().removeObserver(&observer); }

    // Presents a download screen for `address`; it starts at once.
    QPointer<ProgressViewController> presentDownload(const QString& address) {
        auto* screen = new ProgressViewController;
        screen->downloadURL = QUrl(address);
        screen->name = QStringLiteral("KavrinPlayer");
        host.presentViewController(screen, SeguePresentation::Sheet);
        return screen;
    }

    static bool closed(const QPointer<ProgressViewController>& screen) {
        return !screen || !screen->isVisible();
    }

    // The names in the Downloads folder.
    QStringList downloadedNames() const {
        return QDir(downloads).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    LocalHttpServer server;
    QTemporaryDir temp;
    QString downloads;
    ViewController host;
    QObject observer;
    QList<QUrl> completions;
    AlertCatcher catcher;
};

Answer reply(int status, const QByteArray& body) {
    Answer answer;
    answer.status = status;
    answer.body = body;
    return answer;
}

QByteArray pattern(int size) {
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = char((i * 7 + i / 4096) & 0xff);
    return data;
}

} // namespace

TEST_F(UpdateScreensTest, CancelClosesTheScreenBeforeTheFolderIsReopened) {
    auto* update = new UpdateViewController;
    QPointer<UpdateViewController> guard(update);
    update->updateURL = QUrl(QStringLiteral("http://127.0.0.1:1/x.deb"));
    host.presentViewController(update, SeguePresentation::Sheet);
    EXPECT_EQ(update->titleLabel->text(), QStringLiteral("KavrinPlayer"));
    EXPECT_EQ(update->infoLabel->text(),
              QStringLiteral("Update to the latest version of KavrinPlayer.\n update now?"));

    QList<bool> visibleAtNotification;
    QObject listener;
    NotificationCenter::defaultCenter().addObserver(
        &listener, QLatin1String(NotificationName::kCancelUpdate), nullptr,
        [&](const Notification&) { visibleAtNotification.append(guard && guard->isVisible()); });
    update->onCancelBtnTap();
    EXPECT_TRUE(visibleAtNotification.isEmpty()); // posted only after the screen has gone
    ASSERT_TRUE(spinUntil([&] { return !visibleAtNotification.isEmpty(); }));
    spinFor(50);
    EXPECT_EQ(visibleAtNotification, QList<bool>{false});
    EXPECT_TRUE(server.requests.isEmpty());
}

TEST_F(UpdateScreensTest, UpdateDownloadsTheInstallerAndHandsItOn) {
    const QByteArray installer = pattern(3 * 1024 * 1024 + 17);
    server.answer("/dl/KavrinPlayer_9.0.0.deb", reply(200, installer));

    auto* update = new UpdateViewController;
    host.presentViewController(update, SeguePresentation::Sheet);
    // Without an address Update does nothing.
    update->onUpdateBtnTap();
    EXPECT_EQ(update->findChild<ProgressViewController*>(), nullptr);

    update->updateURL = QUrl(server.url(QStringLiteral("/dl/KavrinPlayer_9.0.0.deb")));
    update->onUpdateBtnTap();
    QPointer<ProgressViewController> progress = update->findChild<ProgressViewController*>();
    ASSERT_TRUE(progress);
    EXPECT_EQ(progress->downloadURL, update->updateURL);
    EXPECT_EQ(progress->name, QStringLiteral("KavrinPlayer"));
    ASSERT_TRUE(waitUntil([&] { return !completions.isEmpty(); }));
    spinFor(50);
    EXPECT_TRUE(closed(progress));
    const QString path = downloads + QStringLiteral("/KavrinPlayer_9.0.0.deb");
    EXPECT_EQ(completions, QList<QUrl>{QUrl::fromLocalFile(path)});
    EXPECT_EQ(readAll(path), installer);
    EXPECT_EQ(downloadedNames(), QStringList{QStringLiteral("KavrinPlayer_9.0.0.deb")});
    ASSERT_EQ(server.requests.size(), 1);
    EXPECT_EQ(server.requests.first().method, "GET");
    EXPECT_TRUE(server.requests.first().body.isEmpty());

    // Settings opens the settings screen over the update screen.
    update->onSettingBtnTap();
    EXPECT_NE(update->findChild<SettingViewController*>(), nullptr);
}

// A link standing under the installer's name is replaced by the download, and
// what it names, outside the Downloads folder, is never written.
TEST_F(UpdateScreensTest, ALinkUnderTheInstallersNameIsReplacedNeverWrittenThrough) {
    const QByteArray installer = pattern(256 * 1024);
    server.answer("/dl/setup.deb", reply(200, installer));
    const QString outside = temp.path() + QStringLiteral("/outside");
    const QString important = outside + QStringLiteral("/important.txt");
    const struct {
        const char* name;
        QString target;
    } cases[] = {
        {"a link to a file", important},
        {"a link to a file that does not exist", outside + QStringLiteral("/new.txt")},
        {"a link to a folder", outside},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(downloads).removeRecursively();
        QDir(outside).removeRecursively();
        QDir().mkpath(downloads);
        writeFile(important, "important");
        const QString name = downloads + QStringLiteral("/setup.deb");
        ASSERT_TRUE(QFile::link(c.target, name));
        completions.clear();
        QPointer<ProgressViewController> screen =
            presentDownload(server.url(QStringLiteral("/dl/setup.deb")));
        ASSERT_TRUE(waitUntil([&] { return closed(screen) && !completions.isEmpty(); }))
            << catcher.messages().join('\n').toStdString();
        EXPECT_FALSE(QFileInfo(name).isSymLink());
        EXPECT_EQ(readAll(name), installer);
        EXPECT_EQ(downloadedNames(), QStringList{QStringLiteral("setup.deb")});
        EXPECT_EQ(readAll(important), "important");
        EXPECT_EQ(QDir(outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("important.txt")});
    }
}

TEST_F(UpdateScreensTest, ADownloadThatFailsLeavesNoFileUnderItsName) {
    const QByteArray body = pattern(2 * 1024 * 1024);
    const QByteArray older = "the installer downloaded last week";
    const Answer brokenOff = [&] {
        Answer answer = reply(200, body);
        answer.mode = Answer::Mode::BreakOff;
        answer.breakAfter = body.size() / 2;
        return answer;
    }();
    const Answer redirect = [] {
        Answer answer = reply(302, "");
        answer.location = "/files/real.deb";
        return answer;
    }();
    const Answer loop = [] {
        Answer answer = reply(302, "");
        answer.location = "/dl/setup.deb";
        return answer;
    }();
    const Answer stall = [&] {
        Answer answer = reply(200, body);
        answer.mode = Answer::Mode::Hang;
        return answer;
    }();
    const Answer longer = [&] {
        Answer answer = reply(200, body);
        answer.announcedLength = body.size() + 1000;
        return answer;
    }();
    const struct {
        const char* name;
        QString path; // the address's path
        Answer answer;
        const char* saved;  // the file saved in the Downloads folder
        QString alert = {}; // the reason shown when the download fails
    } cases[] = {
        {"whole file replaces the older one", QStringLiteral("/dl/setup.deb"), reply(200, body), "setup.deb"},
        {"404", QStringLiteral("/dl/setup.deb"), reply(404, "<html>missing</html>"), nullptr,
         QStringLiteral("The server answered with error 404.")},
        {"500", QStringLiteral("/dl/setup.deb"), reply(500, "oops"), nullptr,
         QStringLiteral("The server answered with error 500.")},
        {"broken off half-way", QStringLiteral("/dl/setup.deb"), brokenOff, nullptr,
         QStringLiteral("The connection broke off before the whole file arrived.")},
        {"a length longer than the body", QStringLiteral("/dl/setup.deb"), longer, nullptr,
         QStringLiteral("The connection broke off before the whole file arrived.")},
        {"redirect loop", QStringLiteral("/dl/setup.deb"), loop, nullptr,
         QStringLiteral("The server redirected the request too many times.")},
        {"stall", QStringLiteral("/dl/setup.deb"), stall, nullptr,
         QStringLiteral("The server stopped sending data.")},
        {"redirect to the file", QStringLiteral("/dl/setup.deb"), redirect, "setup.deb"},
        {"no file name", QStringLiteral("/dl/"), reply(200, body), nullptr},
        {"dot", QStringLiteral("/dl/."), reply(200, body), nullptr},
        {"dot dot", QStringLiteral("/dl/.."), reply(200, body), nullptr},
        // The last component of the decoded path: the name stays inside the folder.
        {"encoded slashes", QStringLiteral("/dl/..%2F..%2Fescape.deb"), reply(200, body), "escape.deb"},
    };
    server.answer("/files/real.deb", reply(200, body));
    Http::setTransferTimeout(1000);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(downloads).removeRecursively();
        writeFile(downloads + QStringLiteral("/setup.deb"), older);
        completions.clear();
        catcher.alerts.clear();
        server.requests.clear();
        server.answer(QUrl(c.path).path(QUrl::FullyEncoded).toUtf8(), c.answer);
        QPointer<ProgressViewController> screen = presentDownload(server.url(c.path));
        ASSERT_TRUE(waitUntil([&] { return closed(screen) && (c.saved || !catcher.alerts.isEmpty()); }));
        spinFor(50);
        EXPECT_EQ(completions.size(), c.saved ? 1 : 0);
        // A failure says what failed; the alert comes once the screen has gone.
        ASSERT_EQ(catcher.alerts.size(), c.saved ? 0 : 1);
        if (!c.saved) {
            EXPECT_EQ(catcher.alerts.first().title, QStringLiteral("The update could not be downloaded."));
            if (!c.alert.isEmpty()) {
                EXPECT_EQ(catcher.alerts.first().message, c.alert);
            }
        }
        // The installer under its own name, an older file of another name
        // untouched, nothing beside them and nothing outside the folder.
        QStringList expected{QStringLiteral("setup.deb")};
        if (c.saved && !expected.contains(QLatin1String(c.saved)))
            expected.append(QLatin1String(c.saved));
        expected.sort();
        EXPECT_EQ(downloadedNames(), expected);
        EXPECT_EQ(readAll(downloads + QStringLiteral("/setup.deb")),
                  c.saved && QLatin1String(c.saved) == QLatin1String("setup.deb") ? body : older);
        if (c.saved) {
            EXPECT_EQ(readAll(downloads + QLatin1Char('/') + QLatin1String(c.saved)), body);
        }
        EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("Downloads")});
    }
    Http::setTransferTimeout(60000);

    // The Downloads folder full or read-only: a small file system of its own, where one can be mounted.
    SmallVolume smallVolume(downloads, 1024 * 1024);
    const struct {
        const char* name;
        bool readOnly;
        QString alert;
    } folders[] = {
        {"full", false, QStringLiteral("There is not enough free space to save the file.")},
        {"read-only", true,
         QStringLiteral("The file could not be written: no permission or a read-only disk.")},
    };
    server.answer("/dl/setup.deb", reply(200, body));
    for (const auto& c : folders) {
        SCOPED_TRACE(c.name);
        if (!smallVolume.mounted()) {
            std::printf("skipped \"%s\": no tmpfs can be mounted here\n", c.name);
            continue;
        }
        ASSERT_TRUE(smallVolume.setReadOnly(c.readOnly));
        catcher.alerts.clear();
        QPointer<ProgressViewController> screen =
            presentDownload(server.url(QStringLiteral("/dl/setup.deb")));
        ASSERT_TRUE(waitUntil([&] { return closed(screen) && !catcher.alerts.isEmpty(); }));
        EXPECT_EQ(catcher.messages(), QStringList{c.alert});
        EXPECT_TRUE(downloadedNames().isEmpty());
        ASSERT_TRUE(smallVolume.setReadOnly(false));
    }
}

TEST_F(UpdateScreensTest, CancelStopsTheDownloadAndItsProgressShows) {
    Answer slow;
    slow.body = pattern(4 * 1024 * 1024);
    slow.mode = Answer::Mode::Slow;
    server.answer("/dl/slow.deb", slow);
    Answer hang;
    hang.mode = Answer::Mode::Hang;
    server.answer("/dl/silent.deb", hang);

    // Half-way: the byte count and the bar follow the download.
    QPointer<ProgressViewController> screen = presentDownload(server.url(QStringLiteral("/dl/slow.deb")));
    ASSERT_TRUE(waitUntil([&] { return screen->downloadProgressBar->value() > 0; }));
    const qint64 shown = screen->progressLabel->text().section(QLatin1Char(' '), 0, 0).toLongLong();
    EXPECT_GT(shown, 0);
    EXPECT_TRUE(screen->progressLabel->text().endsWith(QStringLiteral(" bytes")));
    screen->onCancelBtnTap();
    ASSERT_TRUE(waitUntil([&] { return closed(screen); }));

    // Before the first byte.
    screen = presentDownload(server.url(QStringLiteral("/dl/silent.deb")));
    ASSERT_TRUE(waitUntil([&] { return server.requests.size() == 2; }));
    screen->onCancelBtnTap();
    ASSERT_TRUE(waitUntil([&] { return closed(screen); }));

    spinFor(100);
    EXPECT_TRUE(completions.isEmpty());
    EXPECT_TRUE(downloadedNames().isEmpty());
}
