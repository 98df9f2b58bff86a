// Win32_DesktopMonitor: one per connected output of the display drivers (/sys/class/drm),
// described by its EDID. Name is the monitor's own name (the EDID name descriptor), else its
// PnP hardware id ("DELA0B1"), which names the model without inventing a wording; Description
// and MonitorType repeat it, as Windows repeats its monitor driver's name. A connected output
// whose EDID is missing or damaged is still a monitor: it keeps its DeviceID, the size of its
// preferred mode, and null where the EDID would have answered.
#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/devices/drm_outputs.h"
#include "platform/linux/live/devices/edid.h"

namespace platform::live {
namespace {

constexpr std::size_t kEdidLimit = 32768;  // 256 extension blocks at most

}  // namespace

WmiObjectList DesktopMonitors(const SystemRoot& root) {
    WmiObjectList objects;
    for (const auto& output : ConnectedOutputs(root, "/sys/class/drm")) {
        const auto bytes = root.ReadFile(output + "/edid", kEdidLimit);
        const auto edid = bytes ? ParseEdid(*bytes) : std::nullopt;
        WmiValue name = WmiValue::Null();
        WmiValue manufacturer = WmiValue::Null();
        std::optional<DisplayMode> size;
        if (edid) {
            if (!edid->name.empty())
                name = Text(edid->name);
            else if (const std::string id = PnpDeviceId(*edid); !id.empty())
                name = Text(id);
            if (!edid->manufacturerId.empty())
                manufacturer = Text(PnpManufacturer(edid->manufacturerId));
            if (edid->width && edid->height)
                size = DisplayMode{edid->width, edid->height};
        }
        if (!size)
            size = FirstMode(root, output);

        WmiObject object;
        object.Set(L"Name", name);
        object.Set(L"Caption", name);
        object.Set(L"Description", name);
        object.Set(L"MonitorType", name);
        object.Set(L"DeviceID", Text("DesktopMonitor" + std::to_string(objects.size() + 1)));
        object.Set(L"MonitorManufacturer", manufacturer);
        object.Set(L"ScreenWidth", size ? UInt32(size->width) : WmiValue::Null());
        object.Set(L"ScreenHeight", size ? UInt32(size->height) : WmiValue::Null());
        objects.push_back(std::move(object));
    }
    return objects;
}

}  // namespace platform::live
