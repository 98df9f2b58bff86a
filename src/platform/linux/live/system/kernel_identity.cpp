#include "platform/linux/live/system/kernel_identity.h"

#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::optional<std::string> Known(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t last = text.find_last_not_of(kBlanks);
    return std::string(text.substr(first, last - first + 1));
}

std::optional<std::string> KernelFile(const SystemRoot& root, std::string_view name) {
    auto line = root.ReadLine(std::string("/proc/sys/kernel/") + std::string(name));
    return line ? Known(*line) : std::nullopt;
}

}  // namespace

std::optional<std::string> ParseHostnameFile(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        auto line = Known(text.substr(0, end));
        if (line && line->front() != '#')
            return line;
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return std::nullopt;
}

KernelIdentity ReadKernelIdentity(const SystemRoot& root) {
    KernelIdentity identity;
    if (const auto names = root.Calls().Uname()) {
        identity.osType = Known(names->sysname);
        identity.release = Known(names->release);
        identity.machine = Known(names->machine);
        identity.hostName = Known(names->nodename);
    } else {
        identity.osType = KernelFile(root, "ostype");
        identity.release = KernelFile(root, "osrelease");
        // Recent kernels publish uname's machine here too; without it the machine is unknown.
        identity.machine = KernelFile(root, "arch");
        identity.hostName = KernelFile(root, "hostname");
    }
    // "(none)" is the kernel's name before anything set one.
    if (!identity.hostName || *identity.hostName == "(none)") {
        auto file = root.ReadFile("/etc/hostname", 65536);
        identity.hostName = file ? ParseHostnameFile(*file) : std::nullopt;
    }
    return identity;
}

}  // namespace platform::live
