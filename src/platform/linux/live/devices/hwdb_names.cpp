#include "platform/linux/live/devices/hwdb_names.h"

#include <libudev.h>

#include <cstring>
#include <memory>

namespace platform::live {

std::optional<HardwareName> HwdbName(const HardwareIds& ids) {
    const std::unique_ptr<udev, decltype(&udev_unref)> context(udev_new(), udev_unref);
    if (!context)
        return std::nullopt;
    const std::unique_ptr<udev_hwdb, decltype(&udev_hwdb_unref)> hwdb(udev_hwdb_new(context.get()),
                                                                      udev_hwdb_unref);
    if (!hwdb)
        return std::nullopt;  // no compiled database on this machine
    const std::string modalias = HardwareDatabaseKey(ids);
    HardwareName name;
    for (udev_list_entry* entry =
             udev_hwdb_get_properties_list_entry(hwdb.get(), modalias.c_str(), 0);
         entry; entry = udev_list_entry_get_next(entry)) {
        const char* key = udev_list_entry_get_name(entry);
        const char* value = udev_list_entry_get_value(entry);
        if (!key || !value)
            continue;
        if (std::strcmp(key, "ID_VENDOR_FROM_DATABASE") == 0)
            name.vendor = value;
        else if (std::strcmp(key, "ID_MODEL_FROM_DATABASE") == 0)
            name.device = value;
    }
    if (name.vendor.empty())
        return std::nullopt;
    return name;
}

}  // namespace platform::live
