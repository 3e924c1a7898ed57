// The context menu's two backup commands. The backup routines that copy the current
// recording into the backup folder take these over; until then each says it was chosen.

#include "OrvoViewController.h"

#include <cstdio>

void OrvoViewController::contextBackupVideo() {
    std::puts("contextBackupVideo");
    std::fflush(stdout);
}

void OrvoViewController::contextBackupVideoOnly() {
    std::puts("contextBackupVideoOnly");
    std::fflush(stdout);
}
