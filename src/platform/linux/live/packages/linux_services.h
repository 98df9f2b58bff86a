#pragma once
// The service list of a Linux machine, as the Windows service manager would give it. With
// systemd running, systemd tells; otherwise the unit files and init scripts on disk do, and a
// service counts as running only when its pid file names a live process (nothing else can
// tell without the manager that started it).
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/packages/service_states.h"
#include "platform/service_list.h"

namespace platform::live {

// Win32 codes this manager reports, for SystemMessage.
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorNotEnoughMemory = 8;
inline constexpr long kErrorTimeout = 1460;
inline constexpr long kErrorManagerUnavailable = 1722;  // RPC_S_SERVER_UNAVAILABLE

// The services the files under the root describe: service units (not masked, not aliases),
// and init scripts no unit of the same name covers.
std::vector<LinuxService> ServicesFromFiles(const SystemRoot& root);

// Entries in name order (letter case aside), without the ".service" suffix, which every one
// would carry; the display name is the description, else the name. Display names are unique
// on Windows, so those several services share get the service name added.
std::vector<ServiceEntry> ServiceEntries(const std::vector<LinuxService>& services);

// The Win32 code for an errno of the service manager's connection.
long Win32Error(int error);

class LinuxServiceManager : public ServiceManager {
  public:
    explicit LinuxServiceManager(SystemRoot root = SystemRoot());
    ServiceListing ListServices() override;
    // English text for the codes above, 0 and ERROR_SERVICE_SPECIFIC_ERROR; empty for others.
    std::wstring SystemMessage(long error) override;

  private:
    SystemRoot root_;
};

}  // namespace platform::live
