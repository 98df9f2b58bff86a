// Win32_VideoController from the PCI functions of the display class (0x03: VGA, XGA, 3D and
// other display controllers), in PCI address order. A card missing from the hardware
// databases is named by its ids, "PCI device 10de:1fb8", as the bus reports them. AdapterRAM
// is the full figure: Windows' 32-bit one wraps above 4 GB.
#include <cstdio>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/devices/drm_outputs.h"
#include "platform/linux/live/devices/hardware_names.h"
#include "platform/linux/live/devices/sysfs_values.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

constexpr std::uint32_t kDisplayClass = 0x03;

// "1920 x 1080" of the card's first connected output; the colour depth is not in sysfs.
std::optional<std::string> ModeDescription(const SystemRoot& root, const std::string& device) {
    for (const auto& card : root.ListFolder(device + "/drm")) {
        for (const auto& output : ConnectedOutputs(root, device + "/drm/" + card)) {
            if (const auto mode = FirstMode(root, output))
                return std::to_string(mode->width) + " x " + std::to_string(mode->height);
        }
    }
    return std::nullopt;
}

// The card's own memory where its driver publishes it (amdgpu); unknown elsewhere.
std::optional<std::uint64_t> VideoMemory(const SystemRoot& root, const std::string& device) {
    const auto line = root.ReadLine(device + "/mem_info_vram_total");
    return line ? ParseNumber<std::uint64_t>(TrimBlanks(*line)) : std::nullopt;
}

}  // namespace

WmiObjectList VideoControllers(const SystemRoot& root) {
    WmiObjectList objects;
    const std::string bus = "/sys/bus/pci/devices";
    for (const auto& address : root.ListFolder(bus)) {
        const std::string device = bus + "/" + address;
        const auto classLine = root.ReadLine(device + "/class");
        const auto deviceClass = classLine ? ParseHexNumber(*classLine) : std::nullopt;
        if (!deviceClass || (*deviceClass >> 16) != kDisplayClass)
            continue;
        const auto vendorLine = root.ReadLine(device + "/vendor");
        const auto productLine = root.ReadLine(device + "/device");
        // Out of range when unreadable: gone while read, or not a PCI function.
        constexpr std::uint64_t kUnknown = 0x10000;
        const std::uint64_t vendor =
            vendorLine ? ParseHexNumber(*vendorLine).value_or(kUnknown) : kUnknown;
        const std::uint64_t product =
            productLine ? ParseHexNumber(*productLine).value_or(kUnknown) : kUnknown;
        if (vendor >= kUnknown || product >= kUnknown)
            continue;
        const HardwareIds ids{HardwareIds::Bus::Pci, static_cast<std::uint16_t>(vendor),
                              static_cast<std::uint16_t>(product)};
        const auto name = root.Calls().HardwareDatabaseName(ids);
        std::string text;
        if (const auto display = DisplayName(ids, name)) {
            text = *display;
        } else {
            char fallback[32];
            std::snprintf(fallback, sizeof fallback, "PCI device %04x:%04x", ids.vendor,
                          ids.device);
            text = fallback;
        }
        WmiObject object;
        object.Set(L"Name", Text(text));
        object.Set(L"Caption", Text(text));
        object.Set(L"Description", Text(text));
        object.Set(L"DeviceID", Text("VideoController" + std::to_string(objects.size() + 1)));
        object.Set(L"AdapterCompatibility", name ? Text(name->vendor) : WmiValue::Null());
        object.Set(L"DriverVersion", WmiValue::Null());
        object.Set(L"AdapterRAM", OrNull(VideoMemory(root, device), UInt64Text));
        object.Set(L"VideoModeDescription",
                   OrNull(ModeDescription(root, device),
                          [](const std::string& mode) { return Text(mode); }));
        objects.push_back(std::move(object));
    }
    return objects;
}

}  // namespace platform::live
