// The storyboard "Main": every screen by its identifier, every segue with its
// destination, and the outlets and actions of the screens of the other subsystems.

#include "common/ScreenTestSupport.h"

#include "app/MainStoryboard.h"
#include "capture/BackupViewController.h"
#include "capture/CaptureViewController.h"
#include "controls/OrvoPopupBtnCell.h"
#include "controls/UpdateProgressView.h"
#include "platform/ui/Storyboard.h"
#include "settings/ProgressViewController.h"
#include "settings/SettingViewController.h"
#include "settings/UpdateViewController.h"
#include "shared/SegueIdentifiers.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>

#include <memory>

using namespace screentest;

namespace {

Storyboard& mainStoryboard() {
    registerMainStoryboard();
    return Storyboard::named(QString::fromLatin1(StoryboardName::kMain));
}

template <typename T> std::unique_ptr<T> makeScreen(const char* identifier) {
    ViewController* made = mainStoryboard().instantiateController(QString::fromLatin1(identifier));
    std::unique_ptr<T> screen(qobject_cast<T*>(made));
    if (!screen)
        delete made;
    else
        screen->loadViewIfNeeded();
    return screen;
}

} // namespace

TEST(MainStoryboardTest, MakesEveryScreenByItsIdentifier) {
    namespace C = ControllerIdentifier;
    for (const char* identifier :
         {C::kOrvoViewController, C::kMainViewController, C::kCaptureViewController, C::kBackupViewController,
          C::kSettingViewController, C::kUpdateViewController, C::kProgressViewController,
          C::kHelpViewController}) {
        std::unique_ptr<ViewController> screen(
            mainStoryboard().instantiateController(QString::fromLatin1(identifier)));
        ASSERT_NE(screen, nullptr) << identifier;
        EXPECT_STREQ(screen->metaObject()->className(), identifier);
        EXPECT_FALSE(screen->isViewLoaded()) << identifier << ": the view loads when first needed";
    }
}

TEST(MainStoryboardTest, EverySegueLeadsToItsScreenAsASheet) {
    namespace C = ControllerIdentifier;
    namespace S = SegueIdentifier;
    const struct {
        const char* segue;
        const char* destination;
    } table[] = {
        {S::kOrvoToUpdate, C::kUpdateViewController},
        {S::kOrvoToCapture, C::kCaptureViewController},
        {S::kOrvoToBackup, C::kBackupViewController},
        {S::kOrvoToSetting, C::kSettingViewController},
        {S::kOrvoToHelp, C::kHelpViewController},
        {S::kMainToBackup, C::kBackupViewController},
        {S::kFullScreenToSetting, C::kSettingViewController},
        {S::kUpdateToProgress, C::kProgressViewController},
        {S::kUpdateToSetting, C::kSettingViewController},
    };
    for (const auto& row : table) {
        const auto segue = mainStoryboard().segue(QString::fromLatin1(row.segue));
        ASSERT_TRUE(segue.has_value()) << row.segue;
        EXPECT_EQ(segue->destinationIdentifier, QString::fromLatin1(row.destination)) << row.segue;
        EXPECT_EQ(segue->presentation, SeguePresentation::Sheet) << row.segue;
    }
    EXPECT_FALSE(mainStoryboard().segue(QStringLiteral("OrvoToHelp")).has_value())
        << "identifiers are case-sensitive";
}

TEST(StoryboardScreensTest, CaptureScreen) {
    auto screen = makeScreen<CaptureViewController>("CaptureViewController");
    ASSERT_NE(screen, nullptr);
    expectOutlets({{"urlTextField", screen->urlTextField},
                   {"capturePlayerRadio", screen->capturePlayerRadio},
                   {"captureVideoRadio", screen->captureVideoRadio},
                   {"captureVideoAndMapRadio", screen->captureVideoAndMapRadio}});
    expectActions(screen.get(), {{"capturePlayerRadio", "clicked()", "onCapturePlayerRadioTap"},
                                 {"captureVideoRadio", "clicked()", "onCaptureVideoRadioTap"},
                                 {"captureVideoAndMapRadio", "clicked()", "onCaptureVideoAndMap"},
                                 {"cancelBtn", "clicked()", "onCancelBtnTap"},
                                 {"saveBtn", "clicked()", "onSaveBtnTap"},
                                 {"urlBtn", "clicked()", "onURLBtnTap"}});
    // The storyboard chooses exactly one kind.
    const int chosen = int(screen->capturePlayerRadio->isChecked()) +
                       int(screen->captureVideoRadio->isChecked()) +
                       int(screen->captureVideoAndMapRadio->isChecked());
    EXPECT_EQ(chosen, 1);
    EXPECT_FALSE(screen->captureData.has_value());
    // Loaded without a stored folder: the desktop is the destination.
    ASSERT_TRUE(screen->directoryURL.has_value());
    EXPECT_EQ(screen->directoryURL->toLocalFile(),
              QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

TEST(StoryboardScreensTest, BackupScreen) {
    auto screen = makeScreen<BackupViewController>("BackupViewController");
    ASSERT_NE(screen, nullptr);
    expectOutlets({{"urlTextField", screen->urlTextField},
                   {"audioRadioBtn", screen->audioRadioBtn},
                   {"videoRadioBtn", screen->videoRadioBtn}});
    expectActions(screen.get(), {{"urlBtn", "clicked()", "onURLBtnTap"},
                                 {"audioRadioBtn", "clicked()", "onAudioRadioBtnTap"},
                                 {"videoRadioBtn", "clicked()", "onVideoRadioBtnTap"},
                                 {"cancelBtn", "clicked()", "onCancelBtnTap"},
                                 {"saveBtn", "clicked()", "onSaveBtnTap"}});
    EXPECT_NE(screen->audioRadioBtn->isChecked(), screen->videoRadioBtn->isChecked());
}

TEST(StoryboardScreensTest, SettingsScreen) {
    auto screen = makeScreen<SettingViewController>("SettingViewController");
    ASSERT_NE(screen, nullptr);
    expectOutlets({{"volumeView", screen->volumeView},
                   {"volumeTxt", screen->volumeTxt},
                   {"volumeProgress", screen->volumeProgress},
                   {"updateView", screen->updateView},
                   {"languageMenu", screen->languageMenu},
                   {"versionTxt", screen->versionTxt},
                   {"autoView", screen->autoView},
                   {"autoUpdateBox", screen->autoUpdateBox},
                   {"updateProgress", screen->updateProgress},
                   {"updateProgressView", screen->updateProgressView}});
    expectActions(screen.get(), {{"languageMenu", "activated(int)", "onLanguageMenuTap"},
                                 {"confirmBtn", "clicked()", "onConfirmBtnTap"},
                                 {"firmUpdateBtn", "clicked()", "onFirmUpdateBtnTap"},
                                 {"speedUpdateBtn", "clicked()", "onSpeedUpdateBtnTap"}});
    ASSERT_EQ(screen->languageMenu->count(), 3);
    EXPECT_EQ(screen->languageMenu->itemText(0), QStringLiteral("English"));
    EXPECT_EQ(screen->languageMenu->itemText(1), QStringLiteral("한글"));
    EXPECT_EQ(screen->languageMenu->itemText(2), QStringLiteral("日本語"));
    EXPECT_TRUE(screen->autoUpdateBox->isCheckable());
    EXPECT_TRUE(screen->updateProgressView->isHidden()) << "the overlay waits for a card download";
    EXPECT_FALSE(screen->langunage.has_value());
}

TEST(StoryboardScreensTest, UpdateAndDownloadScreens) {
    auto update = makeScreen<UpdateViewController>("UpdateViewController");
    ASSERT_NE(update, nullptr);
    expectOutlets({{"titleLabel", update->titleLabel}, {"infoLabel", update->infoLabel}});
    expectActions(update.get(), {{"updateBtn", "clicked()", "onUpdateBtnTap"},
                                 {"settingBtn", "clicked()", "onSettingBtnTap"},
                                 {"cancelBtn", "clicked()", "onCancelBtnTap"}});
    EXPECT_FALSE(update->updateURL.has_value());

    auto progress = makeScreen<ProgressViewController>("ProgressViewController");
    ASSERT_NE(progress, nullptr);
    expectOutlets({{"progressLabel", progress->progressLabel},
                   {"downloadProgressBar", progress->downloadProgressBar},
                   {"cancelBtn", progress->cancelBtn}});
    expectActions(progress.get(), {{"cancelBtn", "clicked()", "onCancelBtnTap"}});
    EXPECT_FALSE(progress->downloadURL.has_value());
}
