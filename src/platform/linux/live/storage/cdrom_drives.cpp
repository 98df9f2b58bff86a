// Win32_CDROMDrive: the optical drives sysfs lists, named by their maker and model.
#include <string>
#include <string_view>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/storage/block_devices.h"
#include "platform/linux/live/storage/mount_table.h"

namespace platform::live {
namespace {

std::string Trimmed(std::string_view text) {
    return std::string(TrimBlanks(text));
}

std::string DriveName(const SystemRoot& root, const std::string& disk) {
    const std::string folder = "/sys/block/" + disk + "/device/";
    const std::string vendor = Trimmed(root.ReadLine(folder + "vendor").value_or(""));
    const std::string model = Trimmed(root.ReadLine(folder + "model").value_or(""));
    const std::string name =
        vendor.empty() || model.empty() ? vendor + model : vendor + " " + model;
    return name.empty() ? disk : name;
}

// The drive's size in sectors reads 0 while no disc is in it.
WmiValue MediaLoaded(const SystemRoot& root, const std::string& disk) {
    const auto size = root.ReadLine("/sys/block/" + disk + "/size");
    if (!size || size->empty() || size->find_first_not_of("0123456789") != std::string::npos)
        return WmiValue::Null();
    return Boolean(size->find_first_not_of('0') != std::string::npos);
}

WmiValue MountPoint(const SystemRoot& root, const std::vector<MountEntry>& mounts,
                    const std::string& disk) {
    for (const MountEntry& mount : mounts) {
        const auto device = FindBlockDevice(root, mount);
        if (device && device->disk == disk)
            return Text(mount.mountPoint);
    }
    return WmiValue::Null();
}

}  // namespace

WmiObjectList CdromDrives(const SystemRoot& root) {
    WmiObjectList drives;
    std::vector<MountEntry> mounts;
    bool mountsRead = false;
    for (const std::string& disk : root.ListFolder("/sys/block")) {
        if (!IsOpticalDisk(root, disk))
            continue;
        if (!mountsRead) {
            mounts = ReadMountTable(root);
            mountsRead = true;
        }
        const std::string name = DriveName(root, disk);
        WmiObject drive;
        drive.Set(L"Name", Text(name));
        drive.Set(L"Caption", Text(name));
        drive.Set(L"DeviceID", Text(disk));
        drive.Set(L"Drive", MountPoint(root, mounts, disk));
        drive.Set(L"MediaLoaded", MediaLoaded(root, disk));
        drives.push_back(std::move(drive));
    }
    return drives;
}

}  // namespace platform::live
