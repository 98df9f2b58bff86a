#pragma once
// What sysfs tells about the block device under a mount: which disk it belongs to, and
// whether that disk is removable, optical, attached by USB or a loop-mounted image.
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/storage/mount_table.h"

namespace platform::live {

struct BlockDevice {
    std::string name;  // "sda1", "dm-0", "sr0"
    std::string disk;  // "sda" for "sda1"; the device itself when it is a whole disk
    bool usb = false;
    bool removable = false;
    bool optical = false;
    bool loop = false;
};

// The device and its disk from where a sysfs block link points
// ("../../devices/pci0000:00/.../usb2/.../block/sdb/sdb1"); nothing when it names no block
// device. Only name, disk and usb are filled.
std::optional<BlockDevice> ParseBlockLink(std::string_view target);

// The block device holding the mount: by its device number, else (file systems such as
// btrfs report a device number of their own) by a /dev source. Nothing for a mount without
// one (network shares, memory file systems) or when sysfs is not there.
std::optional<BlockDevice> FindBlockDevice(const SystemRoot& root, const MountEntry& mount);

// The facts sysfs keeps about a whole disk ("sr0", "sdb").
bool IsRemovableDisk(const SystemRoot& root, std::string_view disk);
bool IsOpticalDisk(const SystemRoot& root, std::string_view disk);

}  // namespace platform::live
