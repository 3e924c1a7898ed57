#include "platform/system/PermissionReset.h"

PermissionReset::Result PermissionReset::resetRemovableVolumes(const QString& bundleIdentifier) {
    Q_UNUSED(bundleIdentifier);
    Result result;
    result.nothingToReset = true;
    return result;
}
