#include "platform/linux/live/firmware/processors.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/firmware/firmware_text.h"
#include "platform/linux/live/system/kernel_identity.h"

namespace platform::live {
namespace firmware {
namespace {

constexpr std::uint8_t kProcessor = 4;

std::optional<long> ParsePackageId(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    // Some kernels write -1 for "no package": that leaves the package unknown.
    const auto id = ParsePaddedNumber<std::uint32_t>(*text);
    return id ? std::optional<long>(*id) : std::nullopt;
}

LogicalCpu FromSysfs(const SystemRoot& root, unsigned number, const CpuInfo& info) {
    const std::string folder = "/sys/devices/system/cpu/cpu" + std::to_string(number);
    LogicalCpu cpu;
    cpu.number = number;
    cpu.package = ParsePackageId(root.ReadLine(folder + "/topology/physical_package_id"));
    if (!cpu.package)
        cpu.package = ParsePackageId(info.Value(number, "physical id"));
    // The processors sharing a core: a core id may repeat across the dies or clusters of a
    // package, its set of siblings does not.
    for (const char* attribute : {"core_cpus_list", "thread_siblings_list"})
        if (!cpu.core)
            if (const auto line = root.ReadLine(folder + "/topology/" + attribute))
                if (const auto list = Trimmed(*line))
                    cpu.core = "cpus " + *list;
    if (!cpu.core)
        if (const auto line = root.ReadLine(folder + "/topology/core_id"))
            if (const auto id = Trimmed(*line))
                cpu.core = "core " + *id;
    if (const auto line = root.ReadLine(folder + "/cpufreq/cpuinfo_max_freq"))
        cpu.maxClock = ParsePaddedNumber<std::uint32_t>(*line);
    return cpu;
}

std::optional<unsigned> CpuFolderNumber(const std::string& name) {
    if (name.size() <= 3 || name.compare(0, 3, "cpu") != 0)
        return std::nullopt;
    return ParsePaddedNumber<unsigned>(std::string_view(name).substr(3));
}

// SMBIOS counts that use 0 for unknown and, in the byte form, 0xFF for "see the word form".
std::optional<std::uint32_t> SmbiosCount(const SmbiosStructure& socket, std::size_t byteOffset,
                                         std::size_t wordOffset) {
    const auto count = socket.Byte(byteOffset);
    if (!count || *count == 0)
        return std::nullopt;
    if (*count != 0xFF)
        return *count;
    const auto wide = socket.Word(wordOffset);
    if (!wide || *wide == 0 || *wide == 0xFFFF)
        return std::nullopt;
    return *wide;
}

// The populated sockets, in table order; Status bit 6 tells a populated socket.
std::vector<const SmbiosStructure*> PopulatedSockets(const std::vector<SmbiosStructure>& table) {
    std::vector<const SmbiosStructure*> sockets;
    for (const auto* socket : OfType(table, kProcessor)) {
        const auto status = socket->Byte(0x18);
        if (!status || (*status & 0x40))
            sockets.push_back(socket);
    }
    return sockets;
}

template <class T>
std::optional<T> First(std::initializer_list<std::optional<T>> candidates) {
    for (const auto& candidate : candidates)
        if (candidate)
            return candidate;
    return std::nullopt;
}

}  // namespace

std::vector<LogicalCpu> ReadLogicalCpus(const SystemRoot& root, const CpuInfo& info) {
    std::vector<LogicalCpu> cpus;
    for (const auto& name : root.ListFolder("/sys/devices/system/cpu")) {
        const auto number = CpuFolderNumber(name);
        if (!number)
            continue;
        // cpu0 often has no "online" file: it cannot be taken offline.
        const auto online = root.ReadLine("/sys/devices/system/cpu/" + name + "/online");
        if (online && Trimmed(*online) == "0")
            continue;
        cpus.push_back(FromSysfs(root, *number, info));
    }
    if (cpus.empty())
        for (const auto& [number, block] : info.processors) {
            LogicalCpu cpu;
            cpu.number = number;
            cpu.package = ParsePackageId(info.Value(number, "physical id"));
            if (const auto core = info.Value(number, "core id"))
                cpu.core = "core " + *core;
            cpus.push_back(std::move(cpu));
        }
    std::sort(cpus.begin(), cpus.end(),
              [](const LogicalCpu& a, const LogicalCpu& b) { return a.number < b.number; });
    return cpus;
}

// The n-th populated SMBIOS socket is taken to hold the n-th package: the table does not name
// the kernel's package ids. A processor without a known package joins package 0.
WmiObjectList ProcessorObjects(const std::vector<LogicalCpu>& cpus, const CpuInfo& info,
                               const std::vector<SmbiosStructure>& table,
                               std::string_view machine) {
    std::map<long, std::vector<const LogicalCpu*>> packages;
    for (const auto& cpu : cpus)
        packages[cpu.package.value_or(0)].push_back(&cpu);
    const auto sockets = PopulatedSockets(table);

    WmiObjectList objects;
    for (const auto& [id, members] : packages) {
        const SmbiosStructure* socket =
            objects.size() < sockets.size() ? sockets[objects.size()] : nullptr;
        const unsigned first = members.front()->number;

        std::set<std::string> cores;
        bool everyCoreKnown = true;
        std::optional<std::uint32_t> maxClockKHz;
        for (const auto* cpu : members) {
            if (cpu->core)
                cores.insert(*cpu->core);
            else
                everyCoreKnown = false;
            if (cpu->maxClock && *cpu->maxClock > maxClockKHz.value_or(0))
                maxClockKHz = cpu->maxClock;
        }
        std::optional<std::uint32_t> topologyCores;
        if (everyCoreKnown)
            topologyCores = static_cast<std::uint32_t>(cores.size());
        std::optional<std::uint32_t> cpuinfoCores;
        if (const auto text = info.Value(first, "cpu cores"))
            if (const auto count = ParsePaddedNumber<std::uint32_t>(*text); count && *count > 0)
                cpuinfoCores = count;
        const auto coreCount = First<std::uint32_t>(
            {topologyCores, cpuinfoCores, socket ? SmbiosCount(*socket, 0x23, 0x2A) : std::nullopt,
             static_cast<std::uint32_t>(members.size())});

        std::optional<std::uint32_t> maxClock;
        if (maxClockKHz && *maxClockKHz > 0)
            maxClock = (*maxClockKHz + 500) / 1000;
        else if (const auto now = CpuMegahertz(info, first))
            maxClock = now;
        else if (const auto speed = socket ? socket->Word(0x14) : std::nullopt; speed && *speed)
            maxClock = *speed;

        std::optional<std::string> hardware;
        if (const auto value = info.Value(first, "Hardware"))
            hardware = Collapsed(*value);
        std::optional<std::string> socketName, socketVendor;
        if (socket) {
            if (const auto version = socket->String(0x10))
                socketName = Collapsed(*version);
            socketVendor = socket->String(0x07);
        }
        const auto name = First<std::string>({CpuName(info, first), socketName, hardware});
        const auto vendor = First<std::string>({CpuVendor(info, first), socketVendor});

        WmiObject processor;
        processor.Set(L"Name", TextOrNull(name));
        processor.Set(L"NumberOfCores", UInt32(*coreCount));
        processor.Set(L"DeviceID", Text("CPU" + std::to_string(objects.size())));
        processor.Set(L"MaxClockSpeed",
                      OrNull(maxClock, [](std::uint32_t mhz) { return UInt32(mhz); }));
        processor.Set(L"NumberOfLogicalProcessors",
                      UInt32(static_cast<std::uint32_t>(members.size())));
        processor.Set(L"Manufacturer", TextOrNull(vendor));
        processor.Set(L"Caption", TextOrNull(CpuCaption(info, first, machine)));
        const auto number = [](std::uint32_t value) { return UInt32(value); };
        processor.Set(L"Architecture", OrNull(ArchitectureCode(machine), number));
        processor.Set(L"DataWidth", OrNull(CpuDataWidth(info, first, machine), number));
        objects.push_back(std::move(processor));
    }
    return objects;
}

}  // namespace firmware

WmiObjectList Processors(const SystemRoot& root) {
    const auto info = firmware::ParseCpuInfo(root.ReadFile("/proc/cpuinfo").value_or(""));
    return firmware::ProcessorObjects(firmware::ReadLogicalCpus(root, info), info,
                                      firmware::ReadSmbiosTable(root),
                                      ReadKernelIdentity(root).machine.value_or(""));
}

}  // namespace platform::live
