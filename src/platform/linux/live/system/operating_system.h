#pragma once
// The operating system as Win32_OperatingSystem describes it: the distribution's name, the
// kernel's release, boot and install times, memory, and the machine's word size.
#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

// The distribution's display name from os-release assignments: PRETTY_NAME, else NAME and
// VERSION together; nothing when the file names neither.
std::optional<std::string> OsCaption(const std::map<std::string, std::string>& osRelease);

struct MemorySizes {
    std::optional<std::uint64_t> totalKb;
    std::optional<std::uint64_t> availableKb;  // MemAvailable, else MemFree on old kernels
};
MemorySizes ParseMeminfo(std::string_view meminfo);

// The "btime" line of /proc/stat: the boot time in seconds since the epoch.
std::optional<std::time_t> ParseBootTime(std::string_view stat);

// What follows the upstream version in a kernel release: the distribution's or builder's
// identification of the build ("6.1.0-18-amd64" gives "18-amd64"); nothing for a plain
// upstream release ("6.8.1").
std::optional<std::string> KernelBuild(std::string_view release);

// "64-bit" or "32-bit" for uname's machine name; nothing for a name not known here.
std::optional<std::string> Architecture(std::string_view machine);

// When the system was installed: the root file system's birth time where the file system
// records it, else the oldest modification time of the traces installers and first boot leave
// (installer logs, /lost+found made with the file system, /etc/machine-id).
std::optional<std::time_t> InstallTime(const SystemRoot& root);

}  // namespace platform::live
