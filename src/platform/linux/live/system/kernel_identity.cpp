#include "platform/linux/live/system/kernel_identity.h"
#include "platform/linux/live/common/text_views.h"

#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

std::optional<std::string> Known(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty())
        return std::nullopt;
    return std::string(text);
}

std::optional<std::string> KernelFile(const SystemRoot& root, std::string_view name) {
    auto line = root.ReadLine(std::string("/proc/sys/kernel/") + std::string(name));
    return line ? Known(*line) : std::nullopt;
}

}  // namespace

std::optional<std::string> ParseHostnameFile(std::string_view text) {
    for (const std::string_view each : Lines(text))
        if (auto line = Known(each); line && line->front() != '#')
            return line;
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
