#pragma once
// Readable names of PCI and USB devices. On the machine the program runs on, udev's hardware
// database answers first when the program was built with libudev; then the pci.ids and
// usb.ids files under the root. Without either, a device has no name and each provider says
// what it shows instead.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/devices/hardware_ids.h"

namespace platform::live {

struct HardwareIds {
    enum class Bus { Pci, Usb };
    Bus bus = Bus::Pci;
    std::uint16_t vendor = 0;
    std::uint16_t device = 0;  // the USB product
};

class HardwareNames {
  public:
    explicit HardwareNames(SystemRoot root) : root_(std::move(root)) {}

    // Each database file is read once, at the first lookup that needs it.
    std::optional<HardwareName> Find(const HardwareIds& ids);

  private:
    const std::string& Database(HardwareIds::Bus bus);

    SystemRoot root_;
    std::optional<std::string> pci_;
    std::optional<std::string> usb_;
};

// "Vendor Device" with both names, "Vendor device 10d3" with the vendor's only; nothing
// without a name.
std::optional<std::string> DisplayName(const HardwareIds& ids,
                                       const std::optional<HardwareName>& name);

// The ids of a sysfs device folder: a PCI function's vendor and device, or the idVendor and
// idProduct of a USB device (of the device that holds it, for a USB interface). Nothing on
// other buses (virtio, platform...): their numbers are not PCI or USB ids.
std::optional<HardwareIds> SysfsDeviceIds(const SystemRoot& root, const std::string& device);

}  // namespace platform::live
