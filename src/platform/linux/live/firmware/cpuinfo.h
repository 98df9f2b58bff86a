#pragma once
// /proc/cpuinfo: one block of "key : value" lines per logical processor, started by its
// "processor : N" line. ARM kernels also write lines shared by every processor (a leading
// "Processor" name, a trailing "Hardware" block) outside those blocks.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform::live::firmware {

struct CpuInfo {
    std::map<unsigned, std::map<std::string, std::string>> processors;  // by processor number
    std::map<std::string, std::string> shared;                          // outside any block

    // The processor's value of the key, else the shared one; nothing when neither is there.
    std::optional<std::string> Value(unsigned processor, const std::string& key) const;
};

CpuInfo ParseCpuInfo(std::string_view text);

// The processor's name: "model name", the ARM "Processor" line, the PowerPC "cpu" line, or
// the implementer and part of an ARM core when both are known; blanks collapsed.
std::optional<std::string> CpuName(const CpuInfo& info, unsigned processor);
// The processor's "cpu MHz" line in whole megahertz, rounded; nothing when it is missing or 0.
// It is the speed at the moment of reading, the only one a machine without cpufreq (a
// virtual one, mostly) tells.
std::optional<std::uint32_t> CpuMegahertz(const CpuInfo& info, unsigned processor);
// The processor's maker: "vendor_id", or the ARM implementer's name when it is known.
std::optional<std::string> CpuVendor(const CpuInfo& info, unsigned processor);

// Win32_Processor's Architecture code for uname's machine name: 0 x86, 5 ARM, 9 x64,
// 12 ARM64; nothing for other machines.
std::optional<std::uint32_t> ArchitectureCode(std::string_view machine);
// Windows' caption of an x86 processor, "Intel64 Family 6 Model 158 Stepping 10": the
// architecture as Windows names it for the kernel ("x86" on a 32-bit one; on a 64-bit one
// "Intel64" for Intel, else "AMD64", the architecture's name), then cpuinfo's family, model
// and stepping, which the kernel already gives with their extended parts. Nothing for other
// architectures or when one of the numbers is missing.
std::optional<std::string> CpuCaption(const CpuInfo& info, unsigned processor,
                                      std::string_view machine);
// 64 for a processor that runs 64-bit code (x86's "lm" flag, or a 64-bit kernel), 32 for an
// x86 one without the flag; nothing where neither tells.
std::optional<std::uint32_t> CpuDataWidth(const CpuInfo& info, unsigned processor,
                                          std::string_view machine);

}  // namespace platform::live::firmware
