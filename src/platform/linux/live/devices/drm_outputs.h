#pragma once
// The outputs (connectors) of the kernel's display drivers, as sysfs shows them under a card
// ("card0-HDMI-A-1"): whether a monitor is connected, its modes, its EDID.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

// The folders of the outputs in `folder` (one card's, or /sys/class/drm) whose status is
// "connected", in name order.
std::vector<std::string> ConnectedOutputs(const SystemRoot& root, const std::string& folder);

struct DisplayMode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The output's first mode ("1920x1080", the preferred one).
std::optional<DisplayMode> FirstMode(const SystemRoot& root, const std::string& output);

}  // namespace platform::live
