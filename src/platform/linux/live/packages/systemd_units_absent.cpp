// This build has no systemd client library: the unit files are read instead.
#include "platform/linux/live/packages/systemd_units.h"

namespace platform::live {

std::optional<SystemdServices> ListSystemdServices(const SystemRoot&) {
    return std::nullopt;
}

}  // namespace platform::live
