// Which mounts are drives of which kind, from the file system type and the block device.
#include <gtest/gtest.h>

#include "platform/linux/live/storage/block_devices.h"
#include "platform/linux/live/storage/drive_types.h"
#include "platform/linux/live/storage/volume_labels.h"

using namespace platform::live;

namespace {

TEST(StorageDriveTypesTest, FindsTheDiskAndItsBusInABlockLink) {
    struct Case {
        const char* target;
        const char* name;
        const char* disk;
        bool usb;
    };
    const Case cases[] = {
        {"../../devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda/sda2",
         "sda2", "sda", false},
        {"../../devices/pci0000:00/0000:00:05.0/virtio2/block/vda", "vda", "vda", false},
        {"../../devices/virtual/block/dm-0", "dm-0", "dm-0", false},
        {"../../devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/"
         "block/sdc/sdc1",
         "sdc1", "sdc", true},
        // "usbmon"-like names are no USB bus.
        {"../../devices/usbx/block/sdd", "sdd", "sdd", false},
    };
    for (const Case& c : cases) {
        const auto device = ParseBlockLink(c.target);
        ASSERT_TRUE(device) << c.target;
        EXPECT_EQ(c.name, device->name) << c.target;
        EXPECT_EQ(c.disk, device->disk) << c.target;
        EXPECT_EQ(c.usb, device->usb) << c.target;
    }
    for (const char* target : {"", "../../devices/virtual/net/eth0", "../../block",
                               "../../devices/block/sda/sda1/holders/dm-0"})
        EXPECT_FALSE(ParseBlockLink(target)) << target;
}

TEST(StorageDriveTypesTest, ClassifiesMountsByTypeAndDevice) {
    BlockDevice disk{"sda1", "sda", false, false, false, false};
    BlockDevice stick{"sdb1", "sdb", false, true, false, false};
    BlockDevice usbDisk{"sdc1", "sdc", true, false, false, false};
    BlockDevice optical{"sr0", "sr0", false, true, true, false};
    BlockDevice loop{"loop3", "loop3", false, false, false, true};
    struct Case {
        const char* mountPoint;
        const char* fsType;
        const char* source;
        std::optional<BlockDevice> device;
        std::optional<DriveType> type;
    };
    const Case cases[] = {
        {"/", "ext4", "/dev/sda1", disk, kLocalDrive},
        {"/home", "xfs", "/dev/sda1", disk, kLocalDrive},
        {"/media/stick", "vfat", "/dev/sdb1", stick, kRemovableDrive},
        {"/media/disk", "ntfs3", "/dev/sdc1", usbDisk, kRemovableDrive},
        {"/media/cd", "iso9660", "/dev/sr0", optical, kOpticalDrive},
        {"/media/cd", "udf", "/dev/sr0", std::nullopt, kOpticalDrive},
        {"/mnt/nfs", "nfs4", "server:/export", std::nullopt, kNetworkDrive},
        {"/mnt/nfs3", "nfs", "server:/export", std::nullopt, kNetworkDrive},
        {"/mnt/smb", "cifs", "//server/share", std::nullopt, kNetworkDrive},
        {"/mnt/smb3", "smb3", "//server/share", std::nullopt, kNetworkDrive},
        {"/mnt/ssh", "fuse.sshfs", "user@host:/", std::nullopt, kNetworkDrive},
        {"/mnt/c", "9p", "C:\\", std::nullopt, kNetworkDrive},
        {"/mnt/pool", "zfs", "rpool/home", std::nullopt, kLocalDrive},
        {"/mnt/win", "fuseblk", "/dev/sda3", std::nullopt, kLocalDrive},
        {"/mnt/new", "futurefs", "/dev/sda4", disk, kLocalDrive},
        // Memory mounted where someone put it is a RAM disk; the system's own is none.
        {"/tmp", "tmpfs", "tmpfs", std::nullopt, kRamDisk},
        {"/mnt/scratch", "ramfs", "none", std::nullopt, kRamDisk},
        {"/devices", "tmpfs", "tmpfs", std::nullopt, kRamDisk},
        {"/dev/shm", "tmpfs", "tmpfs", std::nullopt, std::nullopt},
        {"/run", "tmpfs", "tmpfs", std::nullopt, std::nullopt},
        {"/run/user/1000", "tmpfs", "tmpfs", std::nullopt, std::nullopt},
        {"/sys/fs/cgroup", "tmpfs", "tmpfs", std::nullopt, std::nullopt},
        {"/proc/acpi", "tmpfs", "tmpfs", std::nullopt, std::nullopt},
        // No drives: kernel views, layers, images, folders seen again.
        {"/proc", "proc", "proc", std::nullopt, std::nullopt},
        {"/sys/fs/cgroup/cpu", "cgroup", "cgroup", std::nullopt, std::nullopt},
        {"/sys/fs/cgroup/unified", "cgroup2", "cgroup2", std::nullopt, std::nullopt},
        {"/dev", "devtmpfs", "devtmpfs", std::nullopt, std::nullopt},
        {"/var/lib/docker/overlay2/x/merged", "overlay", "overlay", std::nullopt, std::nullopt},
        {"/snap/core/1", "squashfs", "/dev/loop0", loop, std::nullopt},
        {"/mnt/image", "ext4", "/dev/loop3", loop, std::nullopt},
        {"/run/user/1000/gvfs", "fuse.gvfsd-fuse", "gvfsd-fuse", std::nullopt, std::nullopt},
        {"/run/user/1000/doc", "fuse.portal", "portal", std::nullopt, std::nullopt},
        {"/mnt/odd", "futurefs", "none", std::nullopt, std::nullopt},
        // The root folder always is a drive, whatever holds it.
        {"/", "overlay", "overlay", std::nullopt, kLocalDrive},
        {"/", "tmpfs", "tmpfs", std::nullopt, kLocalDrive},
        {"/", "squashfs", "/dev/loop0", loop, kLocalDrive},
        {"/", "nfs", "server:/root", std::nullopt, kNetworkDrive},
    };
    for (const Case& c : cases) {
        MountEntry mount{"0:1", "/", c.mountPoint, c.fsType, c.source};
        EXPECT_EQ(c.type, ClassifyMount(mount, c.device)) << c.mountPoint << " " << c.fsType;
    }
}

TEST(StorageDriveTypesTest, DescribesEachKindAsWindowsDoes) {
    EXPECT_EQ(L"Removable Disk", DriveDescription(kRemovableDrive));
    EXPECT_EQ(L"Local Fixed Disk", DriveDescription(kLocalDrive));
    EXPECT_EQ(L"Network Connection", DriveDescription(kNetworkDrive));
    EXPECT_EQ(L"CD-ROM Disc", DriveDescription(kOpticalDrive));
}

TEST(StorageDriveTypesTest, DecodesLabelNames) {
    EXPECT_EQ("My Backup", DecodeLabelName("My\\x20Backup"));
    EXPECT_EQ("a/b\\c", DecodeLabelName("a\\x2fb\\x5cc"));
    EXPECT_EQ("\\x2", DecodeLabelName("\\x2"));
    EXPECT_EQ("\\xzz\\x00", DecodeLabelName("\\xzz\\x00"));
    EXPECT_EQ("\xc3\xa9t\xc3\xa9", DecodeLabelName("\\xc3\\xa9t\\xc3\\xa9"));
}

}  // namespace
