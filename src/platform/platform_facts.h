#pragma once
// Facts about the platform under the operating system: its family, how it was started
// (firmware, Secure Boot, init system) and whether it runs in a virtual machine or container.
// Each is empty text when it cannot be known: a guess would pass for a fact.
#include <string>

#include "platform/registry.h"

namespace platform {

struct PlatformFacts {
    std::wstring osFamily;        // "Linux", "Windows"
    std::wstring firmwareType;    // "UEFI", "BIOS"
    std::wstring secureBoot;      // "On", "Off", "Not supported"
    std::wstring virtualization;  // "none", "kvm", "docker", ... as systemd-detect-virt words it
    std::wstring initSystem;      // "systemd", "sysvinit", "openrc", ...
};

class PlatformInfo {
  public:
    virtual ~PlatformInfo() = default;
    virtual PlatformFacts Facts() = 0;
};

// Windows's Secure Boot state as its registry keeps it: the State key exists on machines
// that can boot securely, and its UEFISecureBootEnabled value says whether they did.
// "On", "Off", "Not supported" without the key; empty when it cannot be read.
std::wstring SecureBootFromRegistry(Registry& registry);

}  // namespace platform
