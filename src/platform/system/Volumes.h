#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// The mounted volumes of the machine, as the workspace lists them: the root
// file system first, then every other mounted file system in mount order. The
// system's own pseudo file systems (proc, sysfs, tmpfs, cgroup, ...) are never
// listed; hidden volumes (boot partitions, snaps, container layers and other
// mounts under system folders) are left out on request.
class Volumes {
public:
    // One mounted file system.
    struct Volume {
        QString rootPath;
        QString name;
        QString fileSystemType;
        QString device;
        bool isValid = true;
        bool isReady = true;
        // A memory card or USB stick: mounted under /media, /run/media or /mnt
        // with a card file system, or on a block device the kernel calls removable.
        bool isRemovable = false;
    };

    // Every mounted file system, unfiltered.
    static QList<Volume> mountedFileSystems();

    // The volumes of `all` a listing shows: invalid or not ready ones and pseudo
    // file systems dropped, hidden ones too with `skipHiddenVolumes`; the root
    // first, the rest in their order.
    static QList<Volume> listed(const QList<Volume>& all, bool skipHiddenVolumes);

    // The root URLs of the mounted volumes (the listing above).
    static QList<QUrl> mountedVolumeURLs(bool skipHiddenVolumes = true);

    static bool isPseudoFileSystem(const QString& fileSystemType);
    static bool isHiddenMountPoint(const QString& rootPath);
    // Whether a file system at `rootPath` of `type` on `device` is a removable card.
    static bool isRemovableVolume(const QString& rootPath, const QString& type, const QString& device);
};
