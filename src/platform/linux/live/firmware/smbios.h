#pragma once
// The SMBIOS table the firmware hands the kernel (/sys/firmware/dmi/tables/DMI, readable by
// root only). Each structure is a formatted area of fixed fields, whose length grows with the
// SMBIOS version, followed by a set of strings the fields name by number.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"

namespace platform::live::firmware {

struct SmbiosStructure {
    std::uint8_t type = 0;
    std::string formatted;             // the whole formatted area, its 4-byte header included
    std::vector<std::string> strings;  // string number n is strings[n - 1]

    // The little-endian field at an offset of the formatted area; nothing when the area is too
    // short to hold it (a structure from an older version).
    std::optional<std::uint8_t> Byte(std::size_t offset) const;
    std::optional<std::uint16_t> Word(std::size_t offset) const;
    std::optional<std::uint32_t> Dword(std::size_t offset) const;
    std::optional<std::uint64_t> Qword(std::size_t offset) const;
    // The string whose number is the byte at the offset, trimmed of blanks; nothing for
    // number 0 (no string), a number past the set or a blank string.
    std::optional<std::string> String(std::size_t offset) const;
};

// The structures before the end-of-table structure (type 127) or the end of the bytes. A
// structure whose formatted area claims more bytes than remain ends the table; a string set
// cut off by the end keeps the strings that are complete.
std::vector<SmbiosStructure> ParseSmbiosTable(std::string_view table);
// The table length the entry point states ("_SM_" form), or its maximum size ("_SM3_"
// form); nothing for an entry point of neither form.
std::optional<std::size_t> SmbiosTableLength(std::string_view entryPoint);
// The structures of one type, in table order.
std::vector<const SmbiosStructure*> OfType(const std::vector<SmbiosStructure>& table,
                                           std::uint8_t type);

// The table of the machine under root; empty when there is none or it is not readable.
std::vector<SmbiosStructure> ReadSmbiosTable(const SystemRoot& root);

}  // namespace platform::live::firmware
