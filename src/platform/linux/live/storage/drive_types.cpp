#include "platform/linux/live/storage/drive_types.h"

#include <libmount/libmount.h>

#include <algorithm>
#include <initializer_list>

namespace platform::live {
namespace {

bool IsOneOf(std::string_view word, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// Shares served by another machine: libmount's network file systems (less the NFS server's
// control folder, which it counts as both kinds), the shares of a host's folders with a
// virtual machine or WSL (virtiofs, 9p: the nearest thing to a mapped network drive), and the
// network file systems libmount does not know.
bool IsNetworkType(const std::string& fsType) {
    if (mnt_fstype_is_netfs(fsType.c_str()) && !mnt_fstype_is_pseudofs(fsType.c_str()))
        return true;
    return IsOneOf(fsType,
                   {"virtiofs", "ceph", "davfs", "lustre", "fuse.glusterfs", "fuse.ceph-fuse",
                    "fuse.cephfs", "fuse.s3fs", "fuse.rclone", "fuse.davfs2", "fuse.smbnetfs"});
}

// File systems that hold no files of a disk: the kernel's views (proc, sysfs, cgroup...),
// container layers (overlay over folders of a disk already listed) and images (squashfs:
// snaps, live media). libmount knows most; not images, aufs, or a few kernel views of old or
// special systems. Memory file systems are decided before this.
bool IsPseudoType(const std::string& fsType) {
    return mnt_fstype_is_pseudofs(fsType.c_str()) ||
           IsOneOf(fsType, {"aufs", "squashfs", "usbfs", "xenfs", "zonefs"});
}

// File systems that live on a disk even when the device number does not lead to it (btrfs
// and zfs report numbers of their own, ntfs-3g mounts as fuseblk).
bool IsDiskType(std::string_view fsType) {
    return IsOneOf(
        fsType,
        {"ext2",   "ext3",    "ext4",  "xfs",  "btrfs", "zfs",     "jfs",  "reiserfs", "f2fs",
         "vfat",   "msdos",   "exfat", "ntfs", "ntfs3", "fuseblk", "hfs",  "hfsplus",  "bcachefs",
         "nilfs2", "iso9660", "udf",   "ufs",  "minix", "gfs2",    "ocfs2"});
}

bool IsMemoryType(std::string_view fsType) {
    return fsType == "tmpfs" || fsType == "ramfs";
}

// The folders where the system and its services mount memory of their own (/dev/shm,
// /run/user/1000, /sys/fs/cgroup on older systems).
bool IsSystemFolder(std::string_view path) {
    for (std::string_view folder : {"/dev", "/run", "/sys", "/proc"})
        if (path.substr(0, folder.size()) == folder &&
            (path.size() == folder.size() || path[folder.size()] == '/'))
            return true;
    return false;
}

DriveType ByDevice(const MountEntry& mount, const std::optional<BlockDevice>& device) {
    if (device && device->optical)
        return kOpticalDrive;
    if (device && (device->removable || device->usb))
        return kRemovableDrive;
    // A disc image or a drive sysfs does not show: the file system tells.
    if (!device && (mount.fsType == "iso9660" || mount.fsType == "udf") &&
        mount.source.substr(0, 7) == "/dev/sr")
        return kOpticalDrive;
    return kLocalDrive;
}

}  // namespace

std::optional<DriveType> ClassifyMount(const MountEntry& mount,
                                       const std::optional<BlockDevice>& device) {
    if (IsNetworkType(mount.fsType))
        return kNetworkDrive;
    if (mount.mountPoint == "/")
        return ByDevice(mount, device);
    if (IsMemoryType(mount.fsType)) {
        if (IsSystemFolder(mount.mountPoint))
            return std::nullopt;
        return kRamDisk;
    }
    if (IsPseudoType(mount.fsType) || (device && device->loop))
        return std::nullopt;
    // Other FUSE file systems are views of folders (gvfs, portals, lxcfs, encrypted folders)
    // or mounted images; only fuseblk sits on a device of its own.
    if (mount.fsType.substr(0, 5) == "fuse.")
        return std::nullopt;
    // A type not known here counts when it is on a block device.
    if (device || IsDiskType(mount.fsType))
        return ByDevice(mount, device);
    return std::nullopt;
}

std::wstring DriveDescription(DriveType type) {
    switch (type) {
        case kRemovableDrive:
            return L"Removable Disk";
        case kLocalDrive:
            return L"Local Fixed Disk";
        case kNetworkDrive:
            return L"Network Connection";
        case kOpticalDrive:
            return L"CD-ROM Disc";
        case kRamDisk:
            return L"RAM Disk";
    }
    return {};
}

}  // namespace platform::live
