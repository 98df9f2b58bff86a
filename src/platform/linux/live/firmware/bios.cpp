#include "platform/linux/live/firmware/bios.h"

#include <cstdint>
#include <cstdio>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/firmware/dmi_facts.h"
#include "platform/linux/live/firmware/firmware_text.h"

namespace platform::live {
namespace firmware {

std::optional<std::time_t> ParseBiosDate(std::string_view text) {
    const auto trimmed = Trimmed(text);
    if (!trimmed)
        return std::nullopt;
    const std::string_view date = *trimmed;
    const auto first = date.find('/');
    const auto second = first == std::string_view::npos ? first : date.find('/', first + 1);
    if (second == std::string_view::npos || first != 2 || second != 5)
        return std::nullopt;
    const auto month = ParsePaddedNumber<unsigned>(date.substr(0, 2));
    const auto day = ParsePaddedNumber<unsigned>(date.substr(3, 2));
    const std::string_view yearText = date.substr(6);
    auto year = ParsePaddedNumber<unsigned>(yearText);
    if (!month || !day || !year || (yearText.size() != 2 && yearText.size() != 4))
        return std::nullopt;
    // Two-digit years are 19yy by the standard, but no table predates 1996: earlier ones
    // were written in this century by firmware that ignored the rule.
    if (yearText.size() == 2)
        *year += *year < 96 ? 2000 : 1900;
    if (*month < 1 || *month > 12 || *day < 1 || *day > 31 || *year < 1970)
        return std::nullopt;
    std::tm local{};
    local.tm_year = static_cast<int>(*year) - 1900;
    local.tm_mon = static_cast<int>(*month) - 1;
    local.tm_mday = static_cast<int>(*day);
    local.tm_isdst = -1;
    const std::time_t when = std::mktime(&local);
    // mktime moves 02/31 to March: such a date is not one.
    if (when == static_cast<std::time_t>(-1) || local.tm_mday != static_cast<int>(*day) ||
        local.tm_mon != static_cast<int>(*month) - 1)
        return std::nullopt;
    return when;
}

std::optional<std::string> AcpiOemVersion(std::string_view table) {
    constexpr std::size_t kOemId = 10, kOemIdLength = 6, kOemRevision = 24;
    if (table.size() < kOemRevision + 4)
        return std::nullopt;
    std::string_view oemId = table.substr(kOemId, kOemIdLength);
    oemId = oemId.substr(0, oemId.find('\0'));
    std::uint32_t revision = 0;
    for (std::size_t i = 4; i-- > 0;)
        revision = (revision << 8) | static_cast<unsigned char>(table[kOemRevision + i]);
    char hex[16];
    std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(revision));
    return std::string(oemId) + " - " + hex;
}

}  // namespace firmware

// Name, Description and SMBIOSBIOSVersion are the BIOS version string: Windows' Name comes
// from the BIOS ROM, which Linux does not read. Version keeps Windows' meaning, the ACPI OEM
// ID and revision; Linux does not export the root table Windows reads, so the FADT's header
// (the same OEM fields, root only) answers.
WmiObjectList Bioses(const SystemRoot& root) {
    const auto facts = firmware::ReadDmiFacts(root, firmware::ReadSmbiosTable(root));
    if (!facts.biosVendor && !facts.biosVersion)
        return {};
    using firmware::TextOrNull;
    std::optional<std::string> version;
    if (const auto fadt = root.ReadFile("/sys/firmware/acpi/tables/FACP", 4096))
        version = firmware::AcpiOemVersion(*fadt);
    WmiObject bios;
    bios.Set(L"Name", TextOrNull(facts.biosVersion));
    bios.Set(L"Version", TextOrNull(version));
    bios.Set(L"Manufacturer", TextOrNull(facts.biosVendor));
    bios.Set(L"Description", TextOrNull(facts.biosVersion));
    bios.Set(L"IdentificationCode", WmiValue::Null());
    bios.Set(L"SerialNumber", TextOrNull(facts.systemSerial));
    bios.Set(L"SMBIOSBIOSVersion", TextOrNull(facts.biosVersion));
    std::optional<std::time_t> released;
    if (facts.biosDate)
        released = firmware::ParseBiosDate(*facts.biosDate);
    bios.Set(L"ReleaseDate", OrNull(released, [](std::time_t t) { return DateTime(t); }));
    return {bios};
}

}  // namespace platform::live
