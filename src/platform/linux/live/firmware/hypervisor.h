#pragma once
// The hypervisor a virtual machine runs under, as the processor reports it: CPUID leaf
// 0x40000000 carries a 12-character vendor signature when the "hypervisor present" bit of
// leaf 1 is set. On a virtual machine without firmware tables this is the one true answer to
// who made the machine.
#include <optional>
#include <string>
#include <string_view>

namespace platform::live::firmware {

// The maker's name for a known signature; otherwise the signature's printable text trimmed;
// nothing when that is empty.
std::optional<std::string> HypervisorVendor(std::string_view signature);
// The signature of the hypervisor this program runs under; nothing on bare metal or where
// the processor has no CPUID (only x86 has it).
std::optional<std::string> CpuHypervisorSignature();

}  // namespace platform::live::firmware
