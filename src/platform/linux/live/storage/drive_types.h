#pragma once
// Which mounts are drives, and of which kind, in Win32_LogicalDisk's terms.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/live/storage/block_devices.h"
#include "platform/linux/live/storage/mount_table.h"

namespace platform::live {

enum DriveType : std::uint32_t {
    kRemovableDrive = 2,
    kLocalDrive = 3,
    kNetworkDrive = 4,
    kOpticalDrive = 5,
    kRamDisk = 6,
};

// The kind of drive the mount is, or nothing when it is no drive: a kernel file system, a
// container layer, a loop-mounted image, a view of other folders, memory the system keeps
// for itself (under /dev, /run, /sys, /proc). A memory file system mounted elsewhere (/tmp, a
// folder someone mounted one on) is a RAM disk. The root folder is always a drive.
std::optional<DriveType> ClassifyMount(const MountEntry& mount,
                                       const std::optional<BlockDevice>& device);

// The text Windows gives each kind ("Local Fixed Disk"...).
std::wstring DriveDescription(DriveType type);

}  // namespace platform::live
