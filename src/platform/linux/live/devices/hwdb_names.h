#pragma once
// udev's hardware database, where the program was built with libudev. It answers only for
// the machine the program runs on, and only where udev's compiled database is installed.
#include <optional>

#include "platform/linux/live/devices/hardware_names.h"

namespace platform::live {

std::optional<HardwareName> HwdbName(const HardwareIds& ids);

}  // namespace platform::live
