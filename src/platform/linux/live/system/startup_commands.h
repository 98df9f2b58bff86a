#pragma once
// What starts with the system or with the user's session, as Win32_StartupCommand lists it:
// XDG autostart entries, the service manager's enabled user services, and cron's @reboot
// jobs.
#include <optional>
#include <string>

#include "platform/linux/live/common/system_root.h"
#include "platform/wmi_objects.h"

namespace platform::live {

// Whose session the per-user sources belong to. Passed in rather than read from the
// environment, so that a fake tree reads the same whoever runs the tests.
struct StartupUser {
    std::string name;  // empty: only the sources shared by every user
    std::string home;
    std::optional<std::string> configHome;  // $XDG_CONFIG_HOME when set
    std::optional<std::string> configDirs;  // $XDG_CONFIG_DIRS when set
};

WmiObjectList StartupCommands(const SystemRoot& root, const StartupUser& user);

}  // namespace platform::live
