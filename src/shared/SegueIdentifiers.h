#pragma once

// Identifiers of the storyboard "Main": its screens and its segues.
namespace StoryboardName {
inline constexpr char kMain[] = "Main";
}

namespace ControllerIdentifier {

inline constexpr char kOrvoWindowController[] = "OrvoWindowController";
inline constexpr char kOrvoViewController[] = "OrvoViewController";
inline constexpr char kMainViewController[] = "MainViewController";
inline constexpr char kCaptureViewController[] = "CaptureViewController";
inline constexpr char kBackupViewController[] = "BackupViewController";
inline constexpr char kSettingViewController[] = "SettingViewController";
inline constexpr char kHelpViewController[] = "HelpViewController";
inline constexpr char kUpdateViewController[] = "UpdateViewController";
inline constexpr char kProgressViewController[] = "ProgressViewController";

} // namespace ControllerIdentifier

namespace SegueIdentifier {

// Window player -> update screen; sender: the installer URL.
inline constexpr char kOrvoToUpdate[] = "orvoToUpdate";
// Window player -> capture screen; sender: a captureData.
inline constexpr char kOrvoToCapture[] = "orvoToCapture";
// Window player -> backup screen; sender: a backupData.
inline constexpr char kOrvoToBackup[] = "orvoToBackup";
// Window player -> settings screen; no sender.
inline constexpr char kOrvoToSetting[] = "orvoToSetting";
// Window player -> help screen; no sender.
inline constexpr char kOrvoToHelp[] = "orvoToHelp";
// Full-screen player -> backup screen; sender: a backupData.
inline constexpr char kMainToBackup[] = "mainToBackup";
// Full-screen player -> settings screen; no sender.
inline constexpr char kFullScreenToSetting[] = "fullScreenToSetting";
// Update screen -> download screen; sender: a QStringList {installer address, application name}.
inline constexpr char kUpdateToProgress[] = "updateToProgress";
// Update screen -> settings screen; no sender.
inline constexpr char kUpdateToSetting[] = "updateToSetting";

} // namespace SegueIdentifier
