#pragma once
// The installed services and drivers, as the service control manager lists them.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct ServiceEntry {
    std::wstring serviceName;
    std::wstring displayName;
    // The seven numbers of the service's status block, in their standard order: type,
    // current state, controls accepted, Win32 exit code, service-specific exit code,
    // check point, wait hint.
    std::uint32_t status[7] = {};
    // How the manager names the state and the start: Windows' "Running", "Auto"...; Linux's
    // unit states, "active", "enabled"... Empty when not known.
    std::wstring state;
    std::wstring startMode;
};

// Windows' names of a current state (SERVICE_STOPPED 1 ... SERVICE_PAUSED 7), "Stopped" to
// "Paused"; empty for a number outside them.
std::wstring ServiceStateText(std::uint32_t currentState);
// Windows' names of a start type (SERVICE_BOOT_START 0 ... SERVICE_DISABLED 4), "Boot" to
// "Disabled"; empty for a number outside them.
std::wstring ServiceStartModeText(std::uint32_t startType);

struct ServiceListing {
    enum class Failure { None, Open, List, Close };
    Failure failure = Failure::None;
    long error = 0;  // Win32 error code of the failure
    std::vector<ServiceEntry> services;
};

class ServiceManager {
  public:
    virtual ~ServiceManager() = default;
    // Drivers and Win32 services in every state. On a failure to list, services holds what
    // was listed before it (nothing, usually).
    virtual ServiceListing ListServices() = 0;
    // The system's message for a Win32 error code, in US English; empty when unknown.
    virtual std::wstring SystemMessage(long error) = 0;
};

}  // namespace platform
