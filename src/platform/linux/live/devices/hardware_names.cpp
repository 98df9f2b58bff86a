#include "platform/linux/live/devices/hardware_names.h"

#include <cstdio>

#include "platform/linux/live/devices/sysfs_values.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

// Where distributions install the databases.
constexpr const char* kPciIds[] = {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids",
                                   "/usr/share/pci.ids"};
constexpr const char* kUsbIds[] = {"/usr/share/misc/usb.ids", "/usr/share/hwdata/usb.ids",
                                   "/var/lib/usbutils/usb.ids", "/usr/share/usb.ids"};
constexpr std::size_t kDatabaseLimit = 32u << 20;

template <std::size_t N>
std::string FirstFile(const SystemRoot& root, const char* const (&paths)[N]) {
    for (const char* path : paths)
        if (auto text = root.ReadFile(path, kDatabaseLimit))
            return std::move(*text);
    return {};
}

std::optional<std::uint16_t> Id(const SystemRoot& root, const std::string& file) {
    const auto line = root.ReadLine(file);
    const auto value = line ? ParseHexNumber(*line) : std::nullopt;
    if (!value || *value > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

}  // namespace

const std::string& HardwareNames::Database(HardwareIds::Bus bus) {
    auto& text = bus == HardwareIds::Bus::Pci ? pci_ : usb_;
    if (!text)
        text = bus == HardwareIds::Bus::Pci ? FirstFile(root_, kPciIds) : FirstFile(root_, kUsbIds);
    return *text;
}

std::optional<HardwareName> HardwareNames::Find(const HardwareIds& ids) {
    const std::optional<HardwareName> fromHwdb = root_.Calls().HardwareDatabaseName(ids);
    if (fromHwdb && !fromHwdb->device.empty())
        return fromHwdb;
    auto fromFile = FindIdsName(Database(ids.bus), ids.vendor, ids.device);
    if (fromFile && (!fromFile->device.empty() || !fromHwdb))
        return fromFile;
    return fromHwdb;
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
