#pragma once
// The services of a running systemd, asked over D-Bus: the loaded service units with their
// states, and the installed unit files that are not loaded (disabled ones, say), stopped.
#include <optional>
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/packages/service_states.h"

namespace platform::live {

struct SystemdServices {
    enum class Failure { None, Connect, List };
    Failure failure = Failure::None;
    int error = 0;  // errno of the failure
    std::vector<LinuxService> services;
};

// Nothing when this build has no D-Bus client for systemd. The root serves to read the unit
// files of units that are not loaded. Every call has a short timeout: a stuck manager makes
// a failure, not a hang.
std::optional<SystemdServices> ListSystemdServices(const SystemRoot& root);

}  // namespace platform::live
