// The window player's segue table: each of its five segues presents its
// screen, and the three with a payload hand it over only when the sender is
// of the right kind.

#include "SettingsTestSupport.h"

#include "app/MainStoryboard.h"
#include "capture/BackupViewController.h"
#include "capture/CaptureViewController.h"
#include "player/window/HelpViewController.h"
#include "player/window/OrvoViewController.h"
#include "settings/SettingViewController.h"
#include "settings/UpdateViewController.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

using namespace settingstest;

TEST(WindowPlayerSeguesTest, EverySeguePresentsItsScreenWithTheRightPayload) {
    registerMainStoryboard();
    OrvoViewController player;
    captureData capture;
    capture.name = QStringLiteral("20240101-120000_F_N");
    capture.time = QStringLiteral("00:00:07");
    backupData backup;
    backup.url = QUrl::fromLocalFile(QStringLiteral("/card/20240101-120000_F_N.mp4"));
    const QUrl installer(QStringLiteral("https://example.invalid/KavrinPlayer_9.deb"));

    const struct {
        const char* segue;
        QVariant sender;
        const char* className;
        std::function<bool(ViewController*)> payload; // what the screen holds afterwards
        const char* printed;
    } cases[] = {
        {SegueIdentifier::kOrvoToUpdate, QVariant(installer), "UpdateViewController",
         [&](ViewController* screen) {
             return static_cast<UpdateViewController*>(screen)->updateURL == installer;
         },
         nullptr},
        {SegueIdentifier::kOrvoToUpdate, QVariant(), "UpdateViewController",
         [](ViewController* screen) { return !static_cast<UpdateViewController*>(screen)->updateURL; },
         nullptr},
        {SegueIdentifier::kOrvoToUpdate, QVariant(installer.toString()), "UpdateViewController",
         [](ViewController* screen) { return !static_cast<UpdateViewController*>(screen)->updateURL; },
         nullptr},
        {SegueIdentifier::kOrvoToCapture, QVariant::fromValue(capture), "CaptureViewController",
         [&](ViewController* screen) {
             const auto& held = static_cast<CaptureViewController*>(screen)->captureData;
             return held && held->name == capture.name && held->time == capture.time;
         },
         nullptr},
        {SegueIdentifier::kOrvoToCapture, QVariant::fromValue(backup), "CaptureViewController",
         [](ViewController* screen) { return !static_cast<CaptureViewController*>(screen)->captureData; },
         "any err"},
        {SegueIdentifier::kOrvoToBackup, QVariant::fromValue(backup), "BackupViewController",
         [&](ViewController* screen) {
             const auto& held = static_cast<BackupViewController*>(screen)->backupData;
             return held && held->url == backup.url;
         },
         nullptr},
        {SegueIdentifier::kOrvoToBackup, QVariant(QStringLiteral("clip")), "BackupViewController",
         [](ViewController* screen) { return !static_cast<BackupViewController*>(screen)->backupData; },
         "backup sender err"},
        {SegueIdentifier::kOrvoToSetting, QVariant(), "SettingViewController",
         [](ViewController*) { return true; }, nullptr},
        {SegueIdentifier::kOrvoToHelp, QVariant(), "HelpViewController", [](ViewController*) { return true; },
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.segue) + " " + (c.sender.isValid() ? c.sender.typeName() : "no sender"));
        ViewController* screen = nullptr;
        const QStringList printed =
            printedLines([&] { screen = player.performSegue(QLatin1String(c.segue), c.sender); });
        ASSERT_NE(screen, nullptr);
        EXPECT_TRUE(screen->inherits(c.className));
        EXPECT_TRUE(screen->isVisible());
        EXPECT_TRUE(c.payload(screen));
        EXPECT_EQ(printed.contains(QLatin1String(c.printed ? c.printed : "any err")), c.printed != nullptr);
        EXPECT_FALSE(printed.contains(QStringLiteral("backup sender err")) && !c.printed);
        screen->dismiss();
    }

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The update check's finishing routine with an address presents the update screen.
    player.onUpdateCheckFinished(installer);
    EXPECT_TRUE(updateChecked);
    auto* update = player.findChild<UpdateViewController*>();
    ASSERT_NE(update, nullptr);
    EXPECT_EQ(update->updateURL, installer);
    updateChecked = false;
}
