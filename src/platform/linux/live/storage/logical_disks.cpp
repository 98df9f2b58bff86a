// Win32_LogicalDisk: one drive per mounted file system that holds files of a disk or a
// share, named by its mount point.
#include <sys/stat.h>

#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/storage/block_devices.h"
#include "platform/linux/live/storage/drive_types.h"
#include "platform/linux/live/storage/file_system_size.h"
#include "platform/linux/live/storage/mount_table.h"
#include "platform/linux/live/storage/volume_labels.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

constexpr std::chrono::milliseconds kSpaceTimeLimit{2000};

struct Drive {
    MountEntry mount;
    std::optional<BlockDevice> device;
    DriveType type;
};

// The mount seen at each mount point: a later mount over the same folder hides the earlier.
std::vector<MountEntry> VisibleMounts(std::vector<MountEntry> mounts) {
    std::vector<MountEntry> visible;
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        bool hidden = false;
        for (std::size_t j = i + 1; j < mounts.size() && !hidden; ++j)
            hidden = mounts[j].mountPoint == mounts[i].mountPoint;
        if (!hidden)
            visible.push_back(std::move(mounts[i]));
    }
    return visible;
}

// Containers get single files of the host bind-mounted (/etc/hosts): no drive. Only for
// parts of local file systems: a look at a dead share's folder could block.
bool IsFileMount(const SystemRoot& root, const Drive& drive) {
    if (drive.type == kNetworkDrive || drive.mount.root == "/")
        return false;
    struct stat info;
    return ::stat(root.Path(drive.mount.mountPoint).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

// Of two mounts of one file system (bind mounts, a device mounted twice), the one that
// names the drive: the root folder, else the whole file system, else the shorter path.
bool NamesDriveBetter(const MountEntry& a, const MountEntry& b) {
    if ((a.mountPoint == "/") != (b.mountPoint == "/"))
        return a.mountPoint == "/";
    if ((a.root == "/") != (b.root == "/"))
        return a.root == "/";
    return a.mountPoint.size() < b.mountPoint.size();
}

std::vector<Drive> FindDrives(const SystemRoot& root) {
    std::vector<Drive> drives;
    std::map<std::string, std::size_t> byDevice;  // file system -> index in drives
    for (auto& mount : VisibleMounts(ReadMountTable(root))) {
        auto device = FindBlockDevice(root, mount);
        const auto type = ClassifyMount(mount, device);
        if (!type)
            continue;
        Drive drive{std::move(mount), std::move(device), *type};
        if (IsFileMount(root, drive))
            continue;
        // Two shares of one server's file system can share a device number, yet they are
        // two drives; a bind mount of a share repeats its source.
        std::string key = drive.mount.device;
        if (drive.type == kNetworkDrive)
            key += "\n" + drive.mount.source;
        const auto [known, added] = byDevice.emplace(std::move(key), drives.size());
        if (added)
            drives.push_back(std::move(drive));
        else if (NamesDriveBetter(drive.mount, drives[known->second].mount))
            drives[known->second] = std::move(drive);
    }
    return drives;
}

WmiValue VolumeName(const Drive& drive,
                    const std::optional<std::map<std::string, std::string>>& labels) {
    if (!labels || !drive.device || drive.type == kNetworkDrive)
        return WmiValue::Null();
    const auto label = labels->find(drive.device->name);
    return Text(label == labels->end() ? std::string() : label->second);
}

// A file system the kernel answers for from memory; a share's server, a FUSE daemon or a
// removable medium (FAT counts its free clusters on the device) may keep statvfs waiting.
std::optional<std::chrono::milliseconds> SpaceTimeLimit(const Drive& drive) {
    if ((drive.type == kLocalDrive || drive.type == kRamDisk) && drive.mount.fsType != "fuseblk")
        return std::nullopt;
    return kSpaceTimeLimit;
}

}  // namespace

WmiObjectList LogicalDisks(const SystemRoot& root) {
    const auto labels = ReadVolumeLabels(root);
    WmiObjectList disks;
    for (const Drive& drive : FindDrives(root)) {
        // Sizes come from the kernel, so only for the machine itself.
        const FileSystemSpace space =
            root.Calls().SpaceOf(drive.mount.mountPoint, SpaceTimeLimit(drive));

        WmiObject disk;
        disk.Set(L"DeviceID", Text(drive.mount.mountPoint));
        disk.Set(L"Name", Text(drive.mount.mountPoint));
        disk.Set(L"Caption", Text(drive.mount.mountPoint));
        disk.Set(L"DriveType", UInt32(drive.type));
        disk.Set(L"Description", Text(DriveDescription(drive.type)));
        disk.Set(L"FileSystem", Text(drive.mount.fsType));
        disk.Set(L"Size", OrNull(space.size, UInt64Text));
        disk.Set(L"FreeSpace", OrNull(space.free, UInt64Text));
        disk.Set(L"UsedSpace", OrNull(space.used, UInt64Text));
        disk.Set(L"ProviderName",
                 drive.type == kNetworkDrive ? Text(drive.mount.source) : WmiValue::Null());
        disk.Set(L"VolumeName", VolumeName(drive, labels));
        disks.push_back(std::move(disk));
    }
    return disks;
}

}  // namespace platform::live
