#include "platform/system/Volumes.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

bool isUnder(const QString& path, QLatin1String folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// "/dev/sdb1" -> "sdb", "/dev/mmcblk0p1" -> "mmcblk0": the disk whose
// /sys/class/block entry says whether it is removable.
QString diskOf(const QString& device) {
    QString name = QFileInfo(device).fileName();
    if (name.startsWith(QLatin1String("mmcblk")) || name.startsWith(QLatin1String("nvme"))) {
        const qsizetype partition = name.lastIndexOf(QLatin1Char('p'));
        if (partition > 0 && partition + 1 < name.size() && name.at(partition + 1).isDigit())
            name.truncate(partition);
        return name;
    }
    while (!name.isEmpty() && name.back().isDigit())
        name.chop(1);
    return name;
}

bool kernelSaysRemovable(const QString& device) {
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    QFile flag(QStringLiteral("/sys/class/block/%1/removable").arg(diskOf(device)));
    return flag.open(QIODevice::ReadOnly) && flag.read(1) == "1";
}

} // namespace

bool Volumes::isPseudoFileSystem(const QString& type) {
    static const QStringList pseudo{
        "proc",    "sysfs",      "devtmpfs", "devpts",          "tmpfs",       "ramfs",    "cgroup",
        "cgroup2", "securityfs", "pstore",   "debugfs",         "tracefs",     "configfs", "fusectl",
        "mqueue",  "hugetlbfs",  "bpf",      "autofs",          "binfmt_misc", "efivarfs", "rpc_pipefs",
        "nsfs",    "selinuxfs",  "rootfs",   "fuse.gvfsd-fuse", "fuse.portal", "overlay",  "squashfs",
        "nfsd",    "none",       "shm"};
    return pseudo.contains(type);
}

bool Volumes::isHiddenMountPoint(const QString& rootPath) {
    static const QLatin1String systemFolders[] = {
        QLatin1String("/boot"), QLatin1String("/snap"), QLatin1String("/var"), QLatin1String("/proc"),
        QLatin1String("/sys"),  QLatin1String("/dev"),  QLatin1String("/etc"), QLatin1String("/usr"),
        QLatin1String("/opt"),  QLatin1String("/tmp")};
    for (const QLatin1String& folder : systemFolders) {
        if (isUnder(rootPath, folder))
            return true;
    }
    // /run holds the system's own mounts, except the removable media below /run/media.
    return isUnder(rootPath, QLatin1String("/run")) && !isUnder(rootPath, QLatin1String("/run/media"));
}

bool Volumes::isRemovableVolume(const QString& rootPath, const QString& type, const QString& device) {
    if (rootPath == QLatin1String("/"))
        return false;
    static const QStringList cardFileSystems{"vfat", "exfat", "msdos", "fuseblk", "ntfs3", "ntfs"};
    const bool mediaFolder = isUnder(rootPath, QLatin1String("/media")) ||
                             isUnder(rootPath, QLatin1String("/run/media")) ||
                             isUnder(rootPath, QLatin1String("/mnt"));
    return (mediaFolder && cardFileSystems.contains(type)) || kernelSaysRemovable(device);
}

QList<Volumes::Volume> Volumes::mountedFileSystems() {
    QList<Volume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        Volume volume;
        volume.rootPath = storage.rootPath();
        volume.fileSystemType = QString::fromLatin1(storage.fileSystemType());
        volume.device = QString::fromLocal8Bit(storage.device());
        volume.name = storage.name().isEmpty() ? QFileInfo(volume.rootPath).fileName() : storage.name();
        volume.isValid = storage.isValid();
        volume.isReady = storage.isReady();
        volume.isRemovable = isRemovableVolume(volume.rootPath, volume.fileSystemType, volume.device);
        volumes.append(volume);
    }
    return volumes;
}

QList<Volumes::Volume> Volumes::listed(const QList<Volume>& all, bool skipHiddenVolumes) {
    QList<Volume> root;
    QList<Volume> others;
    QStringList seen;
    for (const Volume& volume : all) {
        if (!volume.isValid || !volume.isReady || seen.contains(volume.rootPath))
            continue;
        if (volume.rootPath == QLatin1String("/")) {
            // The root stays whatever it is made of (an overlay in a container).
            root.append(volume);
        } else {
            if (isPseudoFileSystem(volume.fileSystemType))
                continue;
            if (skipHiddenVolumes && !volume.isRemovable && isHiddenMountPoint(volume.rootPath))
                continue;
            others.append(volume);
        }
        seen.append(volume.rootPath);
    }
    return root + others;
}

QList<QUrl> Volumes::mountedVolumeURLs(bool skipHiddenVolumes) {
    QList<QUrl> urls;
    for (const Volume& volume : listed(mountedFileSystems(), skipHiddenVolumes))
        urls.append(QUrl::fromLocalFile(volume.rootPath));
    return urls;
}
