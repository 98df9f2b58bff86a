#pragma once
// The USB devices of /sys/bus/usb/devices as Win32_PnPEntity objects: devices only (those
// with a vendor id), not their interfaces. Windows names them "USB\VID_xxxx&PID_yyyy\<instance>";
// the instance is the device's serial number when it has one Windows would take, else the
// port path the kernel gives it ("1-1.2"), which stays the same while the device stays in
// its port.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::live {

std::string UsbDeviceId(std::uint16_t vendor, std::uint16_t product, std::string_view serial,
                        std::string_view portPath);

}  // namespace platform::live
