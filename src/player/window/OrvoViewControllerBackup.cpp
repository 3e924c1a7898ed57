// The window player's clip backups: the save button, which presents the
// backup screen, and the context menu's backups without a screen.

#include "player/window/OrvoViewController.h"

#include "playback/RecordingPlayback.h"

#include "capture/BackupDataReceiver.h"
#include "capture/ClipBackup.h"
#include "controls/OrvoImgBtnCell.h"
#include "shared/PlayerState.h"
#include "shared/SegueIdentifiers.h"

#include "platform/media/Player.h"
#include "platform/ui/Assets.h"
#include "platform/ui/BusyCursor.h"

void OrvoViewController::onSaveBtnTap() {
    showBackupDialog();
}

void OrvoViewController::showBackupDialog() {
    if (!orvoPlayer || !currentAsset || !currentRecording)
        return;
    if (playState == 1) {
        // playState stays 1: "requestPlay" resumes when the screen closes.
        m_playback->pause();
        if (playPauseBtn)
            playPauseBtn->setImageName(QLatin1String(AssetName::kPlay));
    }
    const backupData payload{currentAsset, currentRecording->url};
    performSegue(QLatin1String(SegueIdentifier::kOrvoToBackup), QVariant::fromValue(payload));
}

bool OrvoViewController::prepareBackupSegue(const StoryboardSegue& segue, const QVariant& sender) {
    if (segue.identifier() != QLatin1String(SegueIdentifier::kOrvoToBackup))
        return false;
    prepareBackupDestination(segue.destinationController(), sender);
    return true;
}

void OrvoViewController::contextBackupVideo() {
    backupFromContextMenu(true);
}

void OrvoViewController::contextBackupVideoOnly() {
    backupFromContextMenu(false);
}

void OrvoViewController::backupFromContextMenu(bool withExtra) {
    if (!currentRecording)
        return;
    backupWithFFmpeg(*currentRecording, withExtra);
}

void OrvoViewController::backupWithFFmpeg(const orvoTableModel& row, bool withExtra) {
    // The copies are waited for on the main thread.
    const BusyCursor busy;
    backupRecordingFromContextMenu(row, withExtra);
}
