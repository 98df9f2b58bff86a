#pragma once
// Readable names of PCI and USB devices, from udev's hardware database where the program was
// built with libudev and the machine has the compiled database. Without it a device has no
// name, and each provider says what it shows instead.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

struct HardwareIds {
    enum class Bus { Pci, Usb };
    Bus bus = Bus::Pci;
    std::uint16_t vendor = 0;
    std::uint16_t device = 0;  // the USB product
};

struct HardwareName {
    std::string vendor;
    std::string device;  // empty when the database knows the vendor only
};

// The key the hardware database files the device under: "pci:v00008086d000010D3",
// "usb:v0BDAp8153", upper case hex as in its patterns.
std::string HardwareDatabaseKey(const HardwareIds& ids);

// "Vendor Device" with both names, "Vendor device 10d3" with the vendor's only; nothing
// without a name.
std::optional<std::string> DisplayName(const HardwareIds& ids,
                                       const std::optional<HardwareName>& name);

// The ids of a sysfs device folder: a PCI function's vendor and device, or the idVendor and
// idProduct of a USB device (of the device that holds it, for a USB interface). Nothing on
// other buses (virtio, platform...): their numbers are not PCI or USB ids.
std::optional<HardwareIds> SysfsDeviceIds(const SystemRoot& root, const std::string& device);

}  // namespace platform::live
