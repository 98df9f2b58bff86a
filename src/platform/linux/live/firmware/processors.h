#pragma once
// Win32_Processor: one object per physical package, from the kernel's CPU topology
// (/sys/devices/system/cpu), /proc/cpuinfo and, when root can read it, the SMBIOS Processor
// structures (type 4). MaxClockSpeed is cpufreq's maximum, else cpuinfo's current speed,
// else the table's; NumberOfLogicalProcessors counts the package's online CPUs; Caption,
// Architecture and DataWidth are Windows' forms of cpuinfo's and uname's answers.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/firmware/cpuinfo.h"
#include "platform/linux/live/firmware/smbios.h"
#include "platform/wmi_objects.h"

namespace platform::live::firmware {

// One online logical processor as the kernel describes it.
struct LogicalCpu {
    unsigned number = 0;
    std::optional<long> package;            // physical_package_id
    std::optional<std::string> core;        // what tells its core apart within the package
    std::optional<std::uint32_t> maxClock;  // cpufreq cpuinfo_max_freq, kHz
};

// The online logical processors: from sysfs, else the processors /proc/cpuinfo lists, with
// package and core taken from its "physical id" and "core id" lines where sysfs has none.
std::vector<LogicalCpu> ReadLogicalCpus(const SystemRoot& root, const CpuInfo& info);

// The Processor objects: packages in the order of their ids, as "CPU0", "CPU1"...; `machine`
// is uname's machine name, which the architecture and Windows' caption depend on.
WmiObjectList ProcessorObjects(const std::vector<LogicalCpu>& cpus, const CpuInfo& info,
                               const std::vector<SmbiosStructure>& table, std::string_view machine);

}  // namespace platform::live::firmware
