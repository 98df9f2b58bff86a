#include "platform/linux/live/devices/usb_devices.h"

#include <cstdio>
#include <optional>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/devices/hardware_names.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

// Printable ASCII without blanks or backslashes: anything else would break the id's form.
bool IsUsableSerial(std::string_view serial) {
    if (serial.empty())
        return false;
    for (const char c : serial)
        if (c <= ' ' || c > '~' || c == '\\')
            return false;
    return true;
}

WmiValue LineOrNull(const std::optional<std::string>& line) {
    return TextOrNull(line ? TrimBlanks(*line) : std::string_view());
}

}  // namespace

std::string UsbDeviceId(std::uint16_t vendor, std::uint16_t product, std::string_view serial,
                        std::string_view portPath) {
    char ids[32];
    std::snprintf(ids, sizeof ids, "USB\\VID_%04X&PID_%04X\\", vendor, product);
    return ids + std::string(IsUsableSerial(serial) ? serial : portPath);
}

WmiObjectList UsbDevices(const SystemRoot& root) {
    WmiObjectList devices;
    for (const std::string& port : root.ListFolder("/sys/bus/usb/devices")) {
        const std::string folder = "/sys/bus/usb/devices/" + port;
        // An interface ("1-1:1.0") has no ids of its own: it would repeat its device.
        if (!root.Exists(folder + "/idVendor"))
            continue;
        const auto ids = SysfsDeviceIds(root, folder);
        if (!ids)
            continue;
        const auto serial = root.ReadLine(folder + "/serial");
        WmiValue name = LineOrNull(root.ReadLine(folder + "/product"));
        if (name.kind == WmiValue::Kind::Null)
            if (const auto known = DisplayName(*ids, root.Calls().HardwareDatabaseName(*ids)))
                name = Text(*known);
        WmiObject device;
        device.Set(L"Name", std::move(name));
        device.Set(L"DeviceID", Text(UsbDeviceId(ids->vendor, ids->device,
                                                 serial ? TrimBlanks(*serial) : "", port)));
        device.Set(L"Manufacturer", LineOrNull(root.ReadLine(folder + "/manufacturer")));
        devices.push_back(std::move(device));
    }
    return devices;
}

}  // namespace platform::live
