#pragma once
// A Linux service and its state as systemd names states, and the status block a Windows
// service manager would give for it.
#include <cstdint>
#include <optional>
#include <string>

namespace platform::live {

// ERROR_SERVICE_SPECIFIC_ERROR: the Win32 exit code of a service that failed.
inline constexpr std::uint32_t kServiceSpecificError = 1066;

struct UnitState {
    // systemd's ActiveState: "active", "reloading", "inactive", "failed", "activating",
    // "deactivating", "maintenance"...
    std::string activeState = "inactive";
    // The manager would stop the unit on request (systemd's CanStop).
    bool canStop = true;
    // The main process's exit status, when it exited (rather than died of a signal).
    std::optional<std::uint32_t> exitStatus;
};

struct LinuxService {
    std::string name;         // the unit's name, "cron.service", or the init script's, "cron"
    std::string description;  // empty when the unit or script gives none
    UnitState state;
    // systemd's UnitFileState: "enabled", "disabled", "static", "indirect", "generated"...;
    // for an init script "enabled" or "disabled" by its start links. Empty when not known.
    std::string unitFileState;
};

// The seven numbers of the status block (type, current state, controls accepted, Win32 exit
// code, service-specific exit code, check point, wait hint) for a state.
void StatusNumbers(const UnitState& state, std::uint32_t (&status)[7]);

}  // namespace platform::live
