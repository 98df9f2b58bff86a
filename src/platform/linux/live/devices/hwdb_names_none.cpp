// Built without libudev: no device has a name.
#include "platform/linux/live/devices/hwdb_names.h"

namespace platform::live {

std::optional<HardwareName> HwdbName(const HardwareIds&) {
    return std::nullopt;
}

}  // namespace platform::live
