#pragma once
// Win32_BIOS from the firmware's strings and the ACPI tables.
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace platform::live::firmware {

// The BIOS release date ("mm/dd/yyyy", or "mm/dd/yy" in old tables) as local midnight of that day;
// nothing for any other text or an impossible date.
std::optional<std::time_t> ParseBiosDate(std::string_view text);
// "OEMID - revision" from an ACPI table header: its 6-character OEM ID as stored (padding
// kept, cut at a NUL) and its OEM revision in hexadecimal; nothing for a short header.
std::optional<std::string> AcpiOemVersion(std::string_view table);

}  // namespace platform::live::firmware
