#include "platform/linux/live/firmware/computer_system.h"

#include <limits>
#include <set>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/firmware/cpuinfo.h"
#include "platform/linux/live/firmware/dmi_facts.h"
#include "platform/linux/live/firmware/firmware_text.h"
#include "platform/linux/live/firmware/host_names.h"
#include "platform/linux/live/firmware/hypervisor.h"
#include "platform/linux/live/firmware/processors.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace firmware {

std::optional<std::string> DeviceTreeModel(std::string_view property) {
    return Collapsed(property.substr(0, property.find('\0')));
}

std::optional<std::string> DeviceTreeVendor(std::string_view compatible) {
    const std::string_view first = compatible.substr(0, compatible.find('\0'));
    const std::size_t comma = first.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    return Trimmed(first.substr(0, comma));
}

std::optional<std::uint64_t> MemTotalBytes(std::string_view meminfo) {
    for (std::string_view line : Lines(meminfo)) {
        constexpr std::string_view kKey = "MemTotal:";
        if (line.substr(0, kKey.size()) != kKey)
            continue;
        line.remove_prefix(kKey.size());
        if (const auto unit = line.rfind("kB"); unit != std::string_view::npos)
            line = line.substr(0, unit);
        const auto kib = ParsePaddedNumber<std::uint64_t>(line);
        if (!kib || *kib > std::numeric_limits<std::uint64_t>::max() / 1024)
            return std::nullopt;
        return *kib * 1024;
    }
    return std::nullopt;
}

}  // namespace firmware

// Manufacturer is the item's key: a machine without DMI would lose its whole entry, host
// name included, so each weaker source is tried in turn before null. The baseboard's maker
// answers for a system whose own strings are missing (a self-assembled computer).
WmiObjectList ComputerSystems(const SystemRoot& root) {
    using namespace firmware;
    const auto table = ReadSmbiosTable(root);
    const auto dmi = ReadDmiFacts(root, table);

    std::optional<std::string> manufacturer = dmi.systemVendor ? dmi.systemVendor : dmi.boardVendor;
    std::optional<std::string> model = dmi.systemProduct ? dmi.systemProduct : dmi.boardProduct;
    if (!model)
        if (const auto property = root.ReadFile("/proc/device-tree/model", 4096))
            model = DeviceTreeModel(*property);
    if (!manufacturer)
        if (const auto property = root.ReadFile("/proc/device-tree/compatible", 4096))
            manufacturer = DeviceTreeVendor(*property);
    if (!manufacturer)
        if (const auto signature = root.Calls().HypervisorSignature())
            manufacturer = HypervisorVendor(*signature);

    const auto host = ReadHostName(root);
    const auto domain = host ? ReadDnsDomain(root, *host) : std::nullopt;

    const auto info = ParseCpuInfo(root.ReadFile("/proc/cpuinfo").value_or(""));
    const auto processors = ProcessorObjects(ReadLogicalCpus(root, info), info, table, {});
    std::uint32_t logical = 0;
    for (const auto& processor : processors)
        if (const auto* count = processor.Find(L"NumberOfLogicalProcessors"))
            logical += static_cast<std::uint32_t>(count->number);
    std::optional<std::uint64_t> memory;
    if (const auto meminfo = root.ReadFile("/proc/meminfo"))
        memory = MemTotalBytes(*meminfo);

    WmiObject system;
    system.Set(L"Manufacturer", TextOrNull(manufacturer));
    system.Set(L"Model", TextOrNull(model));
    system.Set(L"Name", TextOrNull(host));
    system.Set(L"Domain", TextOrNull(domain));
    system.Set(L"NumberOfProcessors", processors.empty()
                                          ? WmiValue::Null()
                                          : UInt32(static_cast<std::uint32_t>(processors.size())));
    system.Set(L"NumberOfLogicalProcessors",
               processors.empty() ? WmiValue::Null() : UInt32(logical));
    system.Set(L"TotalPhysicalMemory",
               OrNull(memory, [](std::uint64_t bytes) { return UInt64Text(bytes); }));
    return {system};
}

}  // namespace platform::live
