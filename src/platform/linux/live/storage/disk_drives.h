#pragma once
// Win32_DiskDrive: the whole disks of /sys/block, as lsblk shows disks: no partitions, and
// none of the kernel's own block devices (loop images, RAM disks, zram, device-mapper and
// software RAID volumes), nor optical drives, which are CD-ROM drives.
#include <string>
#include <string_view>

namespace platform::live {

// Whether a name of /sys/block is a disk of this kind.
bool IsDiskName(std::string_view name);

// How the disk is attached ("usb", "nvme", "mmc", "sata", "sas", "virtio", "scsi"), from its
// name and where its /sys/block link points; empty when neither tells.
std::string DiskTransport(std::string_view name, std::string_view linkTarget);

// The value of a property ("E:ID_MODEL=...") in a device's udev database file; empty when
// it is not there.
std::string UdevProperty(std::string_view data, std::string_view key);

}  // namespace platform::live
