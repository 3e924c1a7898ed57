#pragma once

// Names of the notifications posted on the default notification centre, and
// the keys of their user info.
namespace NotificationName {

// Posted by the capture and backup screens whenever they close; the players
// resume when they were playing.
inline constexpr char kRequestPlay[] = "requestPlay";
// Posted after the update screen was closed with Cancel.
inline constexpr char kCancelUpdate[] = "cancelUpdate";
// Posted after the installer was downloaded; user info kDownloadPath.
inline constexpr char kInstallerDownloadComplete[] = "installerDownloadComplete";
// Posted by the window controller at the end of a live resize.
inline constexpr char kWindowDidEndLiveResize[] = "windowDidEndLiveResize";
// Posted by the full-screen player's background view when the mouse moves.
inline constexpr char kMouseMoved[] = "mouseMoved";
// Observed by the window player: the folder bookmark changed.
inline constexpr char kBookmarkChanged[] = "bookmarkChanged";
// Posted by the window player when it has switched to the bookmarked folder.
inline constexpr char kBookmarkChangeComplete[] = "bookmarkChangeComplete";

} // namespace NotificationName

namespace NotificationUserInfoKey {

// "installerDownloadComplete": the file URL of the downloaded installer.
inline constexpr char kDownloadPath[] = "downloadPath";

} // namespace NotificationUserInfoKey
