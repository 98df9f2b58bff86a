#pragma once
// What only the kernel, the name service and the system's daemons answer, and only for the
// machine the program runs on. A root made of files answers through its own stand-in, so
// the readers take one path whatever the root is.
#include <chrono>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/devices/hardware_names.h"
#include "platform/linux/live/devices/interface_addresses.h"
#include "platform/linux/live/devices/printers.h"
#include "platform/linux/live/packages/systemd_units.h"
#include "platform/linux/live/storage/file_system_size.h"
#include "platform/linux/live/system/startup_commands.h"
#include "platform/linux/live/system/user_accounts.h"

namespace platform::live {

// uname(2)'s answer.
struct KernelNames {
    std::string sysname;
    std::string release;
    std::string machine;
    std::string nodename;
};

class SystemCalls {
  public:
    virtual ~SystemCalls() = default;

    virtual std::optional<KernelNames> Uname() const = 0;
    virtual std::optional<std::string> HostName() const = 0;
    // The resolver's canonical name of the host; nothing when it does not answer in time.
    virtual std::optional<std::string> CanonicalName(const std::string& host) const = 0;
    // The CPU's hypervisor signature (cpuid leaf 0x40000000).
    virtual std::optional<std::string> HypervisorSignature() const = 0;
    // When the root file system was made, where the file system records it.
    virtual std::optional<std::time_t> RootBirthTime() const = 0;
    virtual FileSystemSpace SpaceOf(const std::string& mountPoint,
                                    std::optional<std::chrono::milliseconds> limit) const = 0;
    virtual std::vector<InterfaceAddress> InterfaceAddresses() const = 0;
    // udev's hardware database.
    virtual std::optional<HardwareName> HardwareDatabaseName(const HardwareIds& ids) const = 0;
    virtual std::vector<PrinterDestination> PrintDestinations() const = 0;
    // Lets the next PrintDestinations be worked out meanwhile, when that takes time.
    virtual void BeginPrintDestinations() const {}
    // The running service manager; the root serves for the unit files of units not loaded.
    virtual std::optional<SystemdServices> RunningServices(const SystemRoot& root) const = 0;
    // The account the program runs as, through the name service.
    virtual std::optional<PasswdEntry> RunningAccount() const = 0;
    // The running user's session: account, home and XDG folders.
    virtual StartupUser RunningSession() const = 0;
};

// The machine the program runs on.
std::shared_ptr<const SystemCalls> LiveSystemCalls();

}  // namespace platform::live
