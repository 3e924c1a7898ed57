#pragma once

#include "capture/backupData.h"

#include <QVariant>

class ViewController;

// A screen that takes the recording to back up from the segue that presents
// it. The backup screen is one; the players hand it their backupData through
// this, without knowing the screen's class.
class BackupDataReceiver {
public:
    virtual ~BackupDataReceiver() = default;
    virtual void setBackupData(const ::backupData& data) = 0;
};

// The backup branch of a player's segue preparation: a `sender` holding a
// backupData goes to `destination` (a BackupDataReceiver); any other sender
// prints "backup sender err" and leaves the destination as it is.
void prepareBackupDestination(ViewController* destination, const QVariant& sender);
