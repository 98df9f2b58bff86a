#include "platform/linux/live/firmware/hypervisor.h"

#include <cstdint>
#include <cstring>
#include <map>

#include "platform/linux/live/firmware/firmware_text.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace platform::live::firmware {

std::optional<std::string> HypervisorVendor(std::string_view signature) {
    static const std::map<std::string_view, const char*> makers = {
        {"KVMKVMKVM", "KVM"},          {"Microsoft Hv", "Microsoft"},
        {"VMwareVMware", "VMware"},    {"XenVMMXenVMM", "Xen"},
        {"TCGTCGTCGTCG", "QEMU"},      {"VBoxVBoxVBox", "VirtualBox"},
        {" lrpepyh  vr", "Parallels"}, {"ACRNACRNACRN", "ACRN"},
        {"bhyve bhyve ", "bhyve"},
    };
    // Signatures shorter than 12 characters are padded with NULs.
    const std::string_view text = signature.substr(0, signature.find('\0'));
    if (const auto found = makers.find(text); found != makers.end())
        return std::string(found->second);
    std::string printable;
    for (const char c : text)
        if (c >= 0x20 && c < 0x7F)
            printable += c;
    return Trimmed(printable);
}

std::optional<std::string> CpuHypervisorSignature() {
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || !(ecx & (1u << 31)))
        return std::nullopt;
    // Leaf 0x40000000 lies outside the standard range __get_cpuid checks against; the
    // hypervisor bit promises it is there.
    __cpuid(0x40000000, eax, ebx, ecx, edx);
    char signature[12];
    std::memcpy(signature, &ebx, 4);
    std::memcpy(signature + 4, &ecx, 4);
    std::memcpy(signature + 8, &edx, 4);
    return std::string(signature, sizeof signature);
#else
    return std::nullopt;
#endif
}

}  // namespace platform::live::firmware
