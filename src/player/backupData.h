#pragma once

#include "platform/Asset.h"

#include <QMetaType>
#include <QUrl>

#include <memory>

// What the backup screen receives as the sender of its segue.
struct backupData {
    std::shared_ptr<Asset> asset; // the media asset being played
    QUrl url;                     // the recording's file URL
};
Q_DECLARE_METATYPE(backupData)

// The property of the backup screen that a presenter's prepareForSegue sets to the backupData.
inline constexpr char kBackupDataProperty[] = "backupData";
