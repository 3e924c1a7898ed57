#pragma once

#include <QString>

// Resetting an application's permission to read removable volumes. Linux
// grants that access through ordinary file permissions and keeps no per-
// application consent to reset, so the step reports that it has nothing to
// reset and writes no error: the caller goes on to scan the volumes.
class PermissionReset {
public:
    struct Result {
        // Whatever the reset wrote to its standard error; empty when it succeeded.
        QString standardError;
        // Nothing needed resetting on this system.
        bool nothingToReset = false;
    };

    // Resets the removable-volume permission of the application `bundleIdentifier`.
    static Result resetRemovableVolumes(const QString& bundleIdentifier);
};
