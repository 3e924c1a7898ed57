// The mounted volumes: the root first, pseudo and hidden file systems left
// out, memory cards under the media folders recognised as removable.

#include "platform/system/Volumes.h"

#include <gtest/gtest.h>

namespace {

Volumes::Volume mount(const char* root, const char* type, const char* device = "/dev/sda1") {
    Volumes::Volume volume;
    volume.rootPath = QString::fromLatin1(root);
    volume.fileSystemType = QString::fromLatin1(type);
    volume.device = QString::fromLatin1(device);
    volume.isRemovable = Volumes::isRemovableVolume(volume.rootPath, volume.fileSystemType, volume.device);
    return volume;
}

QStringList roots(const QList<Volumes::Volume>& volumes) {
    QStringList list;
    for (const Volumes::Volume& volume : volumes)
        list.append(volume.rootPath);
    return list;
}

} // namespace

TEST(VolumesTest, ListsRealFileSystemsRootFirst) {
    Volumes::Volume notReady = mount("/media/u/EMPTY", "vfat", "/dev/sdc1");
    notReady.isReady = false;
    const QList<Volumes::Volume> table{
        mount("/proc", "proc", "proc"),
        mount("/sys/fs/cgroup", "cgroup2", "cgroup2"),
        mount("/home", "ext4", "/dev/nvme0n1p3"),
        mount("/", "overlay", "overlay"),
        mount("/dev/shm", "tmpfs", "tmpfs"),
        mount("/boot/efi", "vfat", "/dev/nvme0n1p1"),
        mount("/snap/core/1", "squashfs", "/dev/loop0"),
        mount("/run/user/1000", "tmpfs", "tmpfs"),
        mount("/media/u/CARD", "exfat", "/dev/sdb1"),
        mount("/run/media/u/STICK", "vfat", "/dev/sdc1"),
        notReady,
        mount("/data", "xfs", "/dev/sdd1"),
        mount("/data", "xfs", "/dev/sdd1"),
    };
    EXPECT_EQ(roots(Volumes::listed(table, true)),
              (QStringList{"/", "/home", "/media/u/CARD", "/run/media/u/STICK", "/data"}));
    EXPECT_EQ(roots(Volumes::listed(table, false)),
              (QStringList{"/", "/home", "/boot/efi", "/media/u/CARD", "/run/media/u/STICK", "/data"}));
}

TEST(VolumesTest, CardsUnderTheMediaFoldersAreRemovable) {
    const struct {
        const char* root;
        const char* type;
        bool removable;
    } cases[] = {{"/media/u/CARD", "vfat", true},    {"/run/media/u/CARD", "exfat", true},
                 {"/mnt/sd", "msdos", true},         {"/media/u/DISK", "fuseblk", true},
                 {"/media/u/BACKUP", "ext4", false}, {"/", "vfat", false},
                 {"/boot/efi", "vfat", false},       {"/home", "ext4", false},
                 {"/media", "vfat", true},           {"/mediafiles", "vfat", false}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.root);
        // A device the kernel knows nothing of, so that only the rule decides.
        EXPECT_EQ(Volumes::isRemovableVolume(test.root, test.type, "/dev/kavrin-test0"), test.removable);
    }
}

TEST(VolumesTest, TheMachinesVolumesStartWithTheRoot) {
    const QList<QUrl> urls = Volumes::mountedVolumeURLs();
    ASSERT_FALSE(urls.isEmpty());
    EXPECT_EQ(urls.first(), QUrl::fromLocalFile("/"));
    for (const QUrl& url : urls) {
        EXPECT_FALSE(url.toLocalFile().startsWith("/proc")) << url.toString().toStdString();
        EXPECT_FALSE(url.toLocalFile().startsWith("/sys")) << url.toString().toStdString();
    }
}
