#pragma once

#include "platform/media/Asset.h"

#include <QMetaType>
#include <QUrl>

#include <memory>

// What the backup screen receives as the sender of its segue.
struct backupData {
    std::shared_ptr<Asset> asset; // the media asset being played
    QUrl url;                     // the recording's file URL
};

// Carried as a segue's sender.
Q_DECLARE_METATYPE(backupData)
