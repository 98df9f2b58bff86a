#pragma once
// Win32_ComputerSystem: who made the machine and what it is, from the firmware (DMI), else
// an ARM board's device tree, else the hypervisor the processor reports; its host name and
// DNS domain; its processor packages and memory.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::live::firmware {

// The device tree's "model" property: a NUL-terminated string.
std::optional<std::string> DeviceTreeModel(std::string_view property);
// The vendor prefix ("raspberrypi" of "raspberrypi,4-model-b") of the first entry of the
// device tree's "compatible" list (NUL-separated "vendor,device" entries).
std::optional<std::string> DeviceTreeVendor(std::string_view compatible);
// MemTotal of /proc/meminfo, in bytes; nothing when absent or too large for 64 bits.
std::optional<std::uint64_t> MemTotalBytes(std::string_view meminfo);

}  // namespace platform::live::firmware
