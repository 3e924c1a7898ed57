#pragma once

// Keys of the user defaults (UserDefaults::standard()).
namespace DefaultsKey {

// Bookmark of the last opened folder.
inline constexpr char kOrvoBookMark[] = "orvoBookMark";
// The memory card's folder, as resolved from the bookmark.
inline constexpr char kSDcardDirectory[] = "SDcardDirectory";
// The players' volume, a number from 0 to 1.
inline constexpr char kVolume[] = "Volume";
// Bookmark of the folder still captures are written to.
inline constexpr char kCaptureBookMark[] = "captureBookMark";
// Bookmark of the folder backups are written to.
inline constexpr char kBackupBookMark[] = "backupBookMark";
// Whether the update check runs at start-up.
inline constexpr char kAutoUpdate[] = "autoUpdate";
// The user's interface languages, a list of language tags.
inline constexpr char kAppleLanguages[] = "AppleLanguages";

} // namespace DefaultsKey
