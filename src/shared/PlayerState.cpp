#include "shared/PlayerState.h"

#include "platform/system/Localization.h"

#include <QJsonObject>

std::optional<QList<orvoTableModel>> displayedRecordingList;
qint64 currentIndex = -1;
std::optional<qint64> selectedRow = -1;
std::optional<orvoTableModel> currentRecording;
std::shared_ptr<Asset> currentAsset;
std::uint8_t playState = 0;
mode playMode = mode::multiple_ch;
qint64 channelCount = 0;
std::uint8_t speedIndex = 1;
std::uint8_t zoomIndex = 0;
bool isMono = false;
bool isRepeatOne = false;
bool isMuted = false;
float volume = 0.5f;
std::optional<MediaTime> lastPlayTime;
QString typeFilterTitle;
bool hasGps = false;
std::uint8_t windowTransition = 0;
qint64 dataPanelIndex = 0;
std::optional<QString> cardModel;
std::optional<QString> cardVersion;
std::atomic<bool> isNetworkConnected{true};
bool updateChecked = false;
QJsonValue versionInfo{QJsonObject()};

void resetSharedPlayerState() {
    recordingList.clear();
    packetCache.clear();
    displayedRecordingList.reset();
    currentIndex = -1;
    selectedRow = -1;
    currentRecording.reset();
    currentAsset.reset();
    playState = 0;
    playMode = mode::multiple_ch;
    channelCount = 0;
    speedIndex = 1;
    zoomIndex = 0;
    isMono = false;
    isRepeatOne = false;
    isMuted = false;
    volume = 0.5f;
    lastPlayTime.reset();
    typeFilterTitle.clear();
    hasGps = false;
    windowTransition = 0;
    dataPanelIndex = 0;
    cardModel.reset();
    cardVersion.reset();
    isNetworkConnected = true;
    updateChecked = false;
    versionInfo = QJsonObject();
}

const QStringList& recordingCategories() {
    static const QStringList categories = [] {
        QStringList names;
        for (const char* key :
             {"All", "Normal", "Event", "Parking", "Motion", "Camcorder", "Myfolder", "AI", "Etc."})
            names.append(localized(key));
        return names;
    }();
    return categories;
}

namespace {

// A part of the time text: the number, with a leading "0" when `padded`.
QString part(qint64 value, bool padded) {
    return padded ? QStringLiteral("0") + QString::number(value) : QString::number(value);
}

} // namespace

QString timeString(qint64 seconds) {
    // A rewind before the start can hand over a negative position; the
    // display shows the start then.
    if (seconds < 0)
        seconds = 0;
    const qint64 hours = seconds / 3600;
    const qint64 rest = seconds % 3600;
    const qint64 minutes = rest / 60;
    const qint64 secs = rest % 60;
    return part(hours, seconds <= 35999) + QLatin1Char(':') + part(minutes, rest <= 599) + QLatin1Char(':') +
           part(secs, secs <= 9);
}
