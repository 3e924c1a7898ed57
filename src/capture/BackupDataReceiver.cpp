#include "capture/BackupDataReceiver.h"

#include "platform/ViewController.h"

#include <cstdio>

void prepareBackupDestination(ViewController* destination, const QVariant& sender) {
    auto* receiver = dynamic_cast<BackupDataReceiver*>(destination);
    if (!receiver)
        return;
    if (sender.metaType() != QMetaType::fromType<::backupData>()) {
        std::printf("backup sender err\n");
        std::fflush(stdout);
        return;
    }
    receiver->setBackupData(sender.value<::backupData>());
}
