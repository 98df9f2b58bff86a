#include "platform/linux/live/devices/hardware_names.h"

#include <cstdio>

#include "platform/linux/live/devices/sysfs_values.h"

namespace platform::live {
namespace {

std::optional<std::uint16_t> Id(const SystemRoot& root, const std::string& file) {
    const auto line = root.ReadLine(file);
    const auto value = line ? ParseHexNumber(*line) : std::nullopt;
    if (!value || *value > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

}  // namespace

std::string HardwareDatabaseKey(const HardwareIds& ids) {
    char key[48];
    if (ids.bus == HardwareIds::Bus::Pci)
        std::snprintf(key, sizeof key, "pci:v%08Xd%08X", ids.vendor, ids.device);
    else
        std::snprintf(key, sizeof key, "usb:v%04Xp%04X", ids.vendor, ids.device);
    return key;
}

std::optional<std::string> DisplayName(const HardwareIds& ids,
                                       const std::optional<HardwareName>& name) {
    if (!name || name->vendor.empty())
        return std::nullopt;
    if (!name->device.empty())
        return name->vendor + " " + name->device;
    char device[16];
    std::snprintf(device, sizeof device, "%04x", ids.device);
    return name->vendor + " device " + device;
}

std::optional<HardwareIds> SysfsDeviceIds(const SystemRoot& root, const std::string& device) {
    const auto bus = LinkName(root, device + "/subsystem");
    if (!bus)
        return std::nullopt;
    std::optional<std::uint16_t> vendor, product;
    HardwareIds ids;
    if (*bus == "pci") {
        ids.bus = HardwareIds::Bus::Pci;
        vendor = Id(root, device + "/vendor");
        product = Id(root, device + "/device");
    } else if (*bus == "usb") {
        // An interface (1-2:1.0) sits in the folder of its device (1-2), which has the ids.
        const std::string holder = root.Exists(device + "/idVendor") ? device : device + "/..";
        ids.bus = HardwareIds::Bus::Usb;
        vendor = Id(root, holder + "/idVendor");
        product = Id(root, holder + "/idProduct");
    }
    if (!vendor || !product)
        return std::nullopt;
    ids.vendor = *vendor;
    ids.device = *product;
    return ids;
}

}  // namespace platform::live
