#pragma once
// The platform facts of a Linux system: how its firmware started it, Secure Boot, the virtual
// machine or container it runs in and its init system. Each reader is a function of the files
// under the root (and, for the virtual machine, the processor's hypervisor signature).
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/live/common/system_root.h"
#include "platform/platform_facts.h"

namespace platform::live {

namespace firmware {

// "UEFI" when UEFI firmware started the kernel; "BIOS" on a PC without it; empty when it
// cannot be told (other processors, or a container that hides /sys/firmware).
std::string FirmwareType(const SystemRoot& root, bool x86);
// "On", "Off", "Not supported" (no UEFI, or no Secure Boot variable) or empty (unknown).
std::string SecureBootState(const SystemRoot& root, const std::string& firmwareType);
// The word systemd-detect-virt prints: a container first, then a virtual machine, "none"
// without a sign of either; empty when /proc cannot be read. The firmware tables and the
// kernel's own evidence come before the processor's signature, which a hypervisor may fake.
std::string Virtualization(const SystemRoot& root, const std::optional<std::string>& cpuSignature);
// The virtualization word of a CPUID hypervisor signature; nothing for an unknown one.
std::optional<std::string> HypervisorKind(std::string_view signature);
// "systemd", "openrc", "sysvinit", else the name of process 1; empty when unreadable.
std::string InitSystem(const SystemRoot& root);

}  // namespace firmware

class LivePlatformInfo final : public PlatformInfo {
  public:
    explicit LivePlatformInfo(SystemRoot root = SystemRoot()) : root_(std::move(root)) {}
    PlatformFacts Facts() override;

  private:
    SystemRoot root_;
};

}  // namespace platform::live
