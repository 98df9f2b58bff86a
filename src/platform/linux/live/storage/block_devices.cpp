#include "platform/linux/live/storage/block_devices.h"

#include <vector>

namespace platform::live {
namespace {

std::vector<std::string_view> PathParts(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t at = 0;
    while (at <= path.size()) {
        std::size_t end = path.find('/', at);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > at)
            parts.push_back(path.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

bool IsUsbBus(std::string_view part) {
    return part.size() > 3 && part.substr(0, 3) == "usb" && part[3] >= '0' && part[3] <= '9';
}

// Names from links and sources become sysfs paths: nothing that climbs out of the folder.
bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

std::string_view BaseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<BlockDevice> ParseBlockLink(std::string_view target) {
    const auto parts = PathParts(target);
    std::size_t block = parts.size();
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (parts[i] == "block")
            block = i;
    // Whole disks sit right under "block", partitions one folder deeper.
    if (block + 1 >= parts.size() || block + 3 < parts.size())
        return std::nullopt;
    BlockDevice device;
    device.disk = std::string(parts[block + 1]);
    device.name = std::string(parts.back());
    for (std::size_t i = 0; i < block; ++i)
        device.usb = device.usb || IsUsbBus(parts[i]);
    return device;
}

bool IsRemovableDisk(const SystemRoot& root, std::string_view disk) {
    return root.ReadLine("/sys/block/" + std::string(disk) + "/removable") == "1";
}

bool IsOpticalDisk(const SystemRoot& root, std::string_view disk) {
    // SCSI peripheral type 5 is a CD/DVD device; "sr" is the name the kernel gives them.
    return disk.substr(0, 2) == "sr" ||
           root.ReadLine("/sys/block/" + std::string(disk) + "/device/type") == "5";
}

std::optional<BlockDevice> FindBlockDevice(const SystemRoot& root, const MountEntry& mount) {
    std::optional<std::string> link;
    if (mount.device.substr(0, 2) != "0:")
        link = root.ReadLink("/sys/dev/block/" + mount.device);
    if (!link && mount.source.substr(0, 5) == "/dev/") {
        // /dev/mapper/root and /dev/disk/by-uuid/... are links to the kernel's name.
        std::string name(BaseName(mount.source));
        if (const auto target = root.ReadLink(mount.source))
            name = std::string(BaseName(*target));
        if (IsPlainName(name))
            link = root.ReadLink("/sys/class/block/" + name);
    }
    if (!link)
        return std::nullopt;
    auto device = ParseBlockLink(*link);
    if (!device || !IsPlainName(device->disk) || !IsPlainName(device->name))
        return std::nullopt;
    device->removable = IsRemovableDisk(root, device->disk);
    device->optical = IsOpticalDisk(root, device->disk);
    device->loop = device->disk.substr(0, 4) == "loop";
    return device;
}

}  // namespace platform::live
