#include "capture/BackupDataReceiver.h"

#include "platform/system/LogCategories.h"
#include "platform/ui/ViewController.h"

void prepareBackupDestination(ViewController* destination, const QVariant& sender) {
    auto* receiver = dynamic_cast<BackupDataReceiver*>(destination);
    if (!receiver)
        return;
    if (sender.metaType() != QMetaType::fromType<::backupData>()) {
        qCInfo(platform::lcCapture, "backup sender err");
        return;
    }
    receiver->setBackupData(sender.value<::backupData>());
}
