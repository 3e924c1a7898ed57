#pragma once

// The process-wide player state that both players, the capture and backup
// screens and the update check share instead of passing arguments. Every
// value is read and written on the main thread, except isNetworkConnected,
// which NetworkMonitor writes from its background thread.

#include "metadata/DistrictTable.h"
#include "metadata/PacketCache.h"
#include "metadata/RecordingList.h"
#include "metadata/orvoTableModel.h"
#include "platform/media/Asset.h"
#include "platform/media/MediaTime.h"
#include "shared/mode.h"

#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

class NetworkMonitor;

// Play rates by speedIndex.
inline constexpr std::array<float, 4> speedRates{0.5f, 1.0f, 1.5f, 2.0f};
// Magnifications by zoomIndex.
inline constexpr std::array<double, 4> zoomScales{1.0, 1.5, 2.0, 3.0};

// The recordings shown in the table after search and type filter; also the play order.
extern std::optional<QList<orvoTableModel>> displayedRecordingList;
// Index of the current recording in displayedRecordingList; -1: none.
extern qint64 currentIndex;
// The table row marked as playing; absent or negative: none.
extern std::optional<qint64> selectedRow;
// The recording being played.
extern std::optional<orvoTableModel> currentRecording;
// The asset of the current recording: a channel composition, a rewrapped AVI file or the file.
extern std::shared_ptr<Asset> currentAsset;
// 0 nothing loaded or stopped, 1 playing, 2 paused, 3 stopped by the full-screen player.
extern std::uint8_t playState;
// The channel mode shown.
extern mode playMode;
// The number of video channels of the current recording.
extern qint64 channelCount;
// Index into speedRates.
extern std::uint8_t speedIndex;
// Index into zoomScales.
extern std::uint8_t zoomIndex;
// The grey picture filter is on.
extern bool isMono;
// Play the recording again at its end instead of the next one.
extern bool isRepeatOne;
extern bool isMuted;
// The volume a player starts with, 0 to 1.
extern float volume;
// The play position stored by every timer tick; channel switches and the
// hand-over between the players resume from it.
extern std::optional<MediaTime> lastPlayTime;
// The title of the type-menu item last chosen.
extern QString typeFilterTitle;
// The current recording's first sample has a position other than (0, 0).
extern bool hasGps;
// What the window last did: 0 left full screen (or nothing yet), 1 miniaturised,
// 2 entering full screen, 3 restored from being miniaturised.
extern std::uint8_t windowTransition;
// The chart the data panel shows: 0 G-sensor, 1 speed.
extern qint64 dataPanelIndex;
// The memory card's "ver.txt": model and version; used only when both are present.
extern std::optional<QString> cardModel;
extern std::optional<QString> cardVersion;
// The network path is usable; written by NetworkMonitor's background thread.
extern std::atomic<bool> isNetworkConnected;
// The start-up update check has run in this process.
extern bool updateChecked;
// The last reply of the update service.
extern QJsonValue versionInfo;

// Every value above back to what it is when the process starts (with the
// recording list and the metadata cache emptied).
void resetSharedPlayerState();

// The one network watcher, made on first use.
NetworkMonitor& sharedNetworkMonitor();

// The nine recording category names in the interface language, "All" first
// and "Etc." last; built once, on first use.
const QStringList& recordingCategories();

// Whole seconds as the time displays show them: hours, minutes and seconds
// joined by colons, each with a leading zero below 10; the hours may have more
// than two digits. A negative number shows as 0 ("00:00:00").
QString timeString(qint64 seconds);
