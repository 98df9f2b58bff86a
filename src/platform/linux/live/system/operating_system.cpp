#include "platform/linux/live/system/operating_system.h"
#include "platform/linux/live/common/text_views.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <limits>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/system/kernel_identity.h"
#include "platform/linux/live/system/shell_assignments.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

// Traces left when a system is installed or first booted; their modification times are the
// install time when the file system keeps no birth times. Oldest wins: later tools may touch
// one of them, never make it older.
constexpr std::array<const char*, 5> kInstallTraces = {
    "/var/log/installer",     // the Debian and Ubuntu installers' logs
    "/root/anaconda-ks.cfg",  // the Fedora and RHEL installer's answers
    "/var/log/anaconda",      // the same installer's logs
    "/lost+found",            // made with the root file system (ext2/3/4)
    "/etc/machine-id",        // written on first boot
};

// The value of "Name:  value" lines (meminfo) or "name value" lines (stat).
std::optional<std::string_view> LineValue(std::string_view text, std::string_view prefix) {
    for (const std::string_view line : Lines(text))
        if (line.substr(0, prefix.size()) == prefix)
            return TrimBlanks(line.substr(prefix.size()));
    return std::nullopt;
}

std::optional<std::uint64_t> Kilobytes(std::string_view meminfo, std::string_view field) {
    auto value = LineValue(meminfo, field);
    if (!value)
        return std::nullopt;
    std::string_view number = *value;
    if (number.size() > 2 && number.substr(number.size() - 2) == "kB")
        number = TrimBlanks(number.substr(0, number.size() - 2));
    return ParseUnsigned<std::uint64_t>(number);
}

std::optional<std::map<std::string, std::string>> ReadAssignments(const SystemRoot& root,
                                                                  std::string_view path) {
    auto text = root.ReadFile(path, 1u << 20);
    if (!text)
        return std::nullopt;
    return ParseShellAssignments(*text);
}

}  // namespace

std::optional<std::string> OsCaption(const std::map<std::string, std::string>& osRelease) {
    const auto value = [&](const char* name) -> std::string {
        auto found = osRelease.find(name);
        return found == osRelease.end() ? std::string() : found->second;
    };
    if (std::string pretty = value("PRETTY_NAME"); !pretty.empty())
        return pretty;
    std::string name = value("NAME");
    const std::string version = value("VERSION");
    if (!name.empty() && !version.empty())
        name += ' ';
    name += version;
    if (name.empty())
        return std::nullopt;
    return name;
}

MemorySizes ParseMeminfo(std::string_view meminfo) {
    MemorySizes sizes;
    sizes.totalKb = Kilobytes(meminfo, "MemTotal:");
    sizes.availableKb = Kilobytes(meminfo, "MemAvailable:");
    if (!sizes.availableKb)
        sizes.availableKb = Kilobytes(meminfo, "MemFree:");
    return sizes;
}

std::optional<std::time_t> ParseBootTime(std::string_view stat) {
    auto value = LineValue(stat, "btime ");
    if (!value)
        return std::nullopt;
    auto seconds = ParseUnsigned<std::uint64_t>(*value);
    if (!seconds || *seconds > static_cast<std::uint64_t>(std::numeric_limits<std::time_t>::max()))
        return std::nullopt;
    return static_cast<std::time_t>(*seconds);
}

std::optional<std::string> KernelBuild(std::string_view release) {
    const std::size_t end = release.find_first_not_of("0123456789.");
    if (end == 0 || end == std::string_view::npos)
        return std::nullopt;
    std::string_view build = release.substr(end);
    if (build.front() == '-' || build.front() == '+' || build.front() == '_' ||
        build.front() == '~')
        build.remove_prefix(1);
    if (build.empty())
        return std::nullopt;
    return std::string(build);
}

std::optional<std::string> Architecture(std::string_view machine) {
    if (machine.empty())
        return std::nullopt;
    if (machine.find("64") != std::string_view::npos || machine == "s390x" || machine == "alpha")
        return "64-bit";
    constexpr std::array<std::string_view, 16> k32Bit = {
        "i386", "i486",   "i586",    "i686",  "x86",  "ppc",    "ppcle", "s390",
        "mips", "mipsel", "riscv32", "sparc", "m68k", "parisc", "csky",  "microblaze"};
    for (std::string_view name : k32Bit)
        if (machine == name)
            return "32-bit";
    // armv7l, armv8l (a 64-bit core in 32-bit mode), sh4...
    if (machine.substr(0, 3) == "arm" || machine.substr(0, 2) == "sh")
        return "32-bit";
    return std::nullopt;
}

std::optional<std::time_t> InstallTime(const SystemRoot& root) {
    if (const auto made = root.Calls().RootBirthTime())
        return made;
    std::optional<std::time_t> oldest;
    for (const char* trace : kInstallTraces) {
        struct stat info {};
        // Not followed: a link's target may lie outside the root, and its own time is the
        // time it was made.
        if (::lstat(root.Path(trace).c_str(), &info) == 0 && info.st_mtime > 0 &&
            (!oldest || info.st_mtime < *oldest))
            oldest = info.st_mtime;
    }
    return oldest;
}

WmiObjectList OperatingSystems(const SystemRoot& root) {
    // /usr/lib/os-release is read only when /etc/os-release is missing altogether.
    auto osRelease = ReadAssignments(root, "/etc/os-release");
    if (!osRelease)
        osRelease = ReadAssignments(root, "/usr/lib/os-release");
    const KernelIdentity kernel = ReadKernelIdentity(root);
    std::optional<std::string> caption = osRelease ? OsCaption(*osRelease) : std::nullopt;
    if (!caption)
        caption = kernel.osType;  // without os-release the kernel still names the system

    const auto meminfo = root.ReadFile("/proc/meminfo");
    const MemorySizes memory = meminfo ? ParseMeminfo(*meminfo) : MemorySizes{};
    const auto stat = root.ReadFile("/proc/stat");
    const auto machineInfo = ReadAssignments(root, "/etc/machine-info");
    std::optional<std::string> description;
    if (machineInfo)
        if (auto found = machineInfo->find("PRETTY_HOSTNAME");
            found != machineInfo->end() && !found->second.empty())
            description = found->second;

    const auto text = [](const std::string& value) { return Text(value); };
    WmiObject system;
    system.Set(L"InstallDate", OrNull(InstallTime(root), DateTime));
    system.Set(L"LastBootupTime", OrNull(stat ? ParseBootTime(*stat) : std::nullopt, DateTime));
    system.Set(L"TotalVisibleMemorySize", OrNull(memory.totalKb, UInt64Text));
    system.Set(L"FreePhysicalMemory", OrNull(memory.availableKb, UInt64Text));
    system.Set(L"Caption", OrNull(caption, text));
    system.Set(L"Version", OrNull(kernel.release, text));
    system.Set(L"BuildNumber",
               OrNull(kernel.release ? KernelBuild(*kernel.release) : std::nullopt, text));
    system.Set(L"CsdVersion", WmiValue::Null());        // no service packs
    system.Set(L"WindowsDirectory", WmiValue::Null());  // no such folder
    system.Set(L"Description", OrNull(description, text));
    system.Set(L"SystemDrive", Text("/"));  // what Windows' "C:" stands for
    system.Set(L"OSArchitecture",
               OrNull(kernel.machine ? Architecture(*kernel.machine) : std::nullopt, text));
    return {system};
}

}  // namespace platform::live
