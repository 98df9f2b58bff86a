#include "platform/linux/live/firmware/cpuinfo.h"

#include <charconv>
#include <cstdint>
#include <system_error>
#include <utility>

#include "platform/linux/live/firmware/firmware_text.h"

namespace platform::live::firmware {
namespace {

// The implementers of the ARM "CPU implementer" line (the MIDR register's top byte).
const std::map<std::uint32_t, const char*>& Implementers() {
    static const std::map<std::uint32_t, const char*> names = {
        {0x41, "ARM"},       {0x42, "Broadcom"}, {0x43, "Cavium"}, {0x46, "Fujitsu"},
        {0x48, "HiSilicon"}, {0x4E, "NVIDIA"},   {0x50, "APM"},    {0x51, "Qualcomm"},
        {0x53, "Samsung"},   {0x56, "Marvell"},  {0x61, "Apple"},  {0x69, "Intel"},
        {0xC0, "Ampere"},
    };
    return names;
}

// The cores ARM itself designs, by "CPU part"; other implementers' parts are not named.
const std::map<std::uint32_t, const char*>& ArmParts() {
    static const std::map<std::uint32_t, const char*> names = {
        {0xC07, "Cortex-A7"},  {0xC09, "Cortex-A9"},   {0xC0F, "Cortex-A15"},
        {0xD03, "Cortex-A53"}, {0xD04, "Cortex-A35"},  {0xD05, "Cortex-A55"},
        {0xD07, "Cortex-A57"}, {0xD08, "Cortex-A72"},  {0xD09, "Cortex-A73"},
        {0xD0A, "Cortex-A75"}, {0xD0B, "Cortex-A76"},  {0xD0C, "Neoverse-N1"},
        {0xD0D, "Cortex-A77"}, {0xD40, "Neoverse-V1"}, {0xD41, "Cortex-A78"},
        {0xD44, "Cortex-X1"},  {0xD46, "Cortex-A510"}, {0xD47, "Cortex-A710"},
        {0xD48, "Cortex-X2"},  {0xD49, "Neoverse-N2"}, {0xD4F, "Neoverse-V2"},
    };
    return names;
}

std::optional<const char*> Lookup(const std::map<std::uint32_t, const char*>& names,
                                  const std::optional<std::string>& number) {
    if (!number)
        return std::nullopt;
    const auto value = ParsePaddedNumber<std::uint32_t>(*number);
    if (!value)
        return std::nullopt;
    const auto found = names.find(*value);
    if (found == names.end())
        return std::nullopt;
    return found->second;
}

}  // namespace

std::optional<std::string> CpuInfo::Value(unsigned processor, const std::string& key) const {
    if (const auto block = processors.find(processor); block != processors.end())
        if (const auto value = block->second.find(key); value != block->second.end())
            return value->second;
    if (const auto value = shared.find(key); value != shared.end())
        return value->second;
    return std::nullopt;
}

CpuInfo ParseCpuInfo(std::string_view text) {
    CpuInfo info;
    std::map<std::string, std::string>* block = nullptr;
    for (const std::string_view line : Lines(text)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            if (!Trimmed(line))
                block = nullptr;  // a blank line ends the processor's block
            continue;
        }
        const auto key = Trimmed(line.substr(0, colon));
        if (!key)
            continue;
        std::string value = Trimmed(line.substr(colon + 1)).value_or("");
        // "processor" with a number starts a block; ARM's "Processor" (a name) does not.
        if (*key == "processor") {
            if (const auto number = ParsePaddedNumber<unsigned>(value)) {
                block = &info.processors[*number];
                continue;
            }
        }
        auto& target = block ? *block : info.shared;
        target.emplace(*key, std::move(value));
    }
    return info;
}

std::optional<std::string> CpuName(const CpuInfo& info, unsigned processor) {
    for (const char* key : {"model name", "Processor", "cpu"})
        if (const auto value = info.Value(processor, key))
            if (auto name = Collapsed(*value))
                return name;
    const auto implementer = info.Value(processor, "CPU implementer");
    if (const auto id = implementer ? ParsePaddedNumber<std::uint32_t>(*implementer) : std::nullopt;
        id && *id == 0x41)
        if (const auto part = Lookup(ArmParts(), info.Value(processor, "CPU part")))
            return std::string("ARM ") + *part;
    return std::nullopt;
}

std::optional<std::uint32_t> CpuMegahertz(const CpuInfo& info, unsigned processor) {
    const auto text = info.Value(processor, "cpu MHz");
    if (!text)
        return std::nullopt;
    double megahertz = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, megahertz);
    if (error != std::errc() || stop != end || !(megahertz >= 0.5) || megahertz >= 4294967295.0)
        return std::nullopt;
    return static_cast<std::uint32_t>(megahertz + 0.5);
}

std::optional<std::string> CpuVendor(const CpuInfo& info, unsigned processor) {
    if (const auto value = info.Value(processor, "vendor_id"))
        if (auto vendor = Trimmed(*value))
            return vendor;
    if (const auto name = Lookup(Implementers(), info.Value(processor, "CPU implementer")))
        return std::string(*name);
    return std::nullopt;
}

namespace {

constexpr std::uint32_t kX86 = 0, kArm = 5, kX64 = 9, kArm64 = 12;

bool HasFlag(const CpuInfo& info, unsigned processor, std::string_view flag) {
    const auto flags = info.Value(processor, "flags");
    if (!flags)
        return false;
    for (const std::string_view word : SplitWords(*flags))
        if (word == flag)
            return true;
    return false;
}

}  // namespace

std::optional<std::uint32_t> ArchitectureCode(std::string_view machine) {
    if (machine == "x86_64" || machine == "amd64")
        return kX64;
    if (machine == "aarch64" || machine == "arm64")
        return kArm64;
    for (std::string_view x86 : {"i386", "i486", "i586", "i686", "x86"})
        if (machine == x86)
            return kX86;
    if (machine.substr(0, 3) == "arm")
        return kArm;
    return std::nullopt;
}

std::optional<std::string> CpuCaption(const CpuInfo& info, unsigned processor,
                                      std::string_view machine) {
    const auto architecture = ArchitectureCode(machine);
    if (architecture != kX86 && architecture != kX64)
        return std::nullopt;
    std::string caption = architecture == kX86                                        ? "x86"
                          : CpuVendor(info, processor).value_or("") == "GenuineIntel" ? "Intel64"
                                                                                      : "AMD64";
    for (const auto& [key, label] :
         {std::pair{"cpu family", " Family "}, std::pair{"model", " Model "},
          std::pair{"stepping", " Stepping "}}) {
        const auto text = info.Value(processor, key);
        const auto number = text ? ParsePaddedNumber<std::uint32_t>(*text) : std::nullopt;
        if (!number)
            return std::nullopt;
        caption += label + std::to_string(*number);
    }
    return caption;
}

std::optional<std::uint32_t> CpuDataWidth(const CpuInfo& info, unsigned processor,
                                          std::string_view machine) {
    const auto architecture = ArchitectureCode(machine);
    if (HasFlag(info, processor, "lm") || architecture == kX64 || architecture == kArm64)
        return 64;
    if (architecture == kX86 && info.Value(processor, "flags"))
        return 32;
    return std::nullopt;
}

}  // namespace platform::live::firmware
