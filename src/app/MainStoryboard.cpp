#include "app/MainStoryboard.h"

#include "capture/BackupViewController.h"
#include "capture/CaptureViewController.h"
#include "platform/ui/Storyboard.h"
#include "player/fullscreen/MainViewController.h"
#include "player/window/HelpViewController.h"
#include "player/window/OrvoViewController.h"
#include "settings/ProgressViewController.h"
#include "settings/SettingViewController.h"
#include "settings/UpdateViewController.h"
#include "shared/SegueIdentifiers.h"

namespace {

QString id(const char* identifier) {
    return QString::fromLatin1(identifier);
}

} // namespace

void registerMainStoryboard() {
    namespace C = ControllerIdentifier;
    namespace S = SegueIdentifier;
    Storyboard& main = Storyboard::named(id(StoryboardName::kMain));

    main.registerController(id(C::kOrvoViewController), [] { return new OrvoViewController; });
    main.registerController(id(C::kMainViewController), [] { return new MainViewController; });
    main.registerController(id(C::kCaptureViewController), [] { return new CaptureViewController; });
    main.registerController(id(C::kBackupViewController), [] { return new BackupViewController; });
    main.registerController(id(C::kSettingViewController), [] { return new SettingViewController; });
    main.registerController(id(C::kUpdateViewController), [] { return new UpdateViewController; });
    main.registerController(id(C::kProgressViewController), [] { return new ProgressViewController; });
    main.registerController(id(C::kHelpViewController), [] { return new HelpViewController; });

    // Every segue shows its screen as a sheet over the screen that performs it.
    const struct {
        const char* segue;
        const char* source;
        const char* destination;
    } segues[] = {
        {S::kOrvoToUpdate, C::kOrvoViewController, C::kUpdateViewController},
        {S::kOrvoToCapture, C::kOrvoViewController, C::kCaptureViewController},
        {S::kOrvoToBackup, C::kOrvoViewController, C::kBackupViewController},
        {S::kOrvoToSetting, C::kOrvoViewController, C::kSettingViewController},
        {S::kOrvoToHelp, C::kOrvoViewController, C::kHelpViewController},
        {S::kMainToBackup, C::kMainViewController, C::kBackupViewController},
        {S::kFullScreenToSetting, C::kMainViewController, C::kSettingViewController},
        {S::kUpdateToProgress, C::kUpdateViewController, C::kProgressViewController},
        {S::kUpdateToSetting, C::kUpdateViewController, C::kSettingViewController},
    };
    for (const auto& row : segues)
        main.registerSegue(id(row.segue), id(row.source), id(row.destination), SeguePresentation::Sheet);
}
