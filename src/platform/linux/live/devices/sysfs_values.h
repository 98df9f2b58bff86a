#pragma once
// Numbers and links as sysfs and procfs write them, read without trusting them: a value that
// is not a well-formed number, or does not fit, is no value.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

// "0x8086", "8086", "0x030000" (blanks around are ignored).
std::optional<std::uint32_t> ParseHexNumber(std::string_view text);
// "42".
std::optional<std::uint32_t> ParseDecimalNumber(std::string_view text);
// The last component of a symbolic link's target: a device's driver or bus.
std::optional<std::string> LinkName(const SystemRoot& root, const std::string& link);

}  // namespace platform::live
