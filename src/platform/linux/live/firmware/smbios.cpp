#include "platform/linux/live/firmware/smbios.h"

#include "platform/linux/live/firmware/firmware_text.h"

namespace platform::live::firmware {
namespace {

constexpr std::uint8_t kEndOfTable = 127;
constexpr std::size_t kHeaderLength = 4;

std::uint64_t LittleEndian(std::string_view bytes, std::size_t offset, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

std::optional<std::uint64_t> Field(std::string_view bytes, std::size_t offset, std::size_t width) {
    if (offset > bytes.size() || bytes.size() - offset < width)
        return std::nullopt;
    return LittleEndian(bytes, offset, width);
}

}  // namespace

std::optional<std::uint8_t> SmbiosStructure::Byte(std::size_t offset) const {
    const auto value = Field(formatted, offset, 1);
    return value ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(*value)) : std::nullopt;
}

std::optional<std::uint16_t> SmbiosStructure::Word(std::size_t offset) const {
    const auto value = Field(formatted, offset, 2);
    return value ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*value)) : std::nullopt;
}

std::optional<std::uint32_t> SmbiosStructure::Dword(std::size_t offset) const {
    const auto value = Field(formatted, offset, 4);
    return value ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*value)) : std::nullopt;
}

std::optional<std::uint64_t> SmbiosStructure::Qword(std::size_t offset) const {
    return Field(formatted, offset, 8);
}

std::optional<std::string> SmbiosStructure::String(std::size_t offset) const {
    const auto number = Byte(offset);
    if (!number || *number == 0 || *number > strings.size())
        return std::nullopt;
    return Trimmed(strings[*number - 1]);
}

std::vector<SmbiosStructure> ParseSmbiosTable(std::string_view table) {
    std::vector<SmbiosStructure> structures;
    std::size_t position = 0;
    while (table.size() - position >= kHeaderLength) {
        const auto type = static_cast<std::uint8_t>(table[position]);
        const std::size_t length = static_cast<unsigned char>(table[position + 1]);
        if (type == kEndOfTable || length < kHeaderLength || length > table.size() - position)
            break;
        SmbiosStructure structure;
        structure.type = type;
        structure.formatted = std::string(table.substr(position, length));
        // The string set: NUL-terminated strings ended by an empty one; a structure without
        // strings carries two NULs.
        std::size_t cursor = position + length;
        bool complete = false;
        while (cursor < table.size()) {
            const std::size_t end = table.find('\0', cursor);
            if (end == std::string_view::npos)
                break;
            if (end == cursor) {
                cursor = end + 1;
                complete = true;
                break;
            }
            structure.strings.emplace_back(table.substr(cursor, end - cursor));
            cursor = end + 1;
        }
        if (complete && structure.strings.empty() && cursor < table.size() &&
            table[cursor] == '\0' && cursor == position + length + 1)
            ++cursor;  // the second NUL of an empty set
        structures.push_back(std::move(structure));
        if (!complete)
            break;
        position = cursor;
    }
    return structures;
}

std::optional<std::size_t> SmbiosTableLength(std::string_view entryPoint) {
    if (entryPoint.substr(0, 5) == "_SM3_") {
        const auto size = Field(entryPoint, 0x0C, 4);
        return size ? std::optional<std::size_t>(*size) : std::nullopt;
    }
    if (entryPoint.substr(0, 4) == "_SM_") {
        const auto length = Field(entryPoint, 0x16, 2);
        return length ? std::optional<std::size_t>(*length) : std::nullopt;
    }
    return std::nullopt;
}

std::vector<const SmbiosStructure*> OfType(const std::vector<SmbiosStructure>& table,
                                           std::uint8_t type) {
    std::vector<const SmbiosStructure*> found;
    for (const auto& structure : table)
        if (structure.type == type)
            found.push_back(&structure);
    return found;
}

std::vector<SmbiosStructure> ReadSmbiosTable(const SystemRoot& root) {
    const auto table = root.ReadFile("/sys/firmware/dmi/tables/DMI");
    if (!table)
        return {};
    std::string_view bytes = *table;
    // Bytes past the stated length are not part of the table.
    if (const auto entry = root.ReadFile("/sys/firmware/dmi/tables/smbios_entry_point", 4096))
        if (const auto length = SmbiosTableLength(*entry); length && *length < bytes.size())
            bytes = bytes.substr(0, *length);
    return ParseSmbiosTable(bytes);
}

}  // namespace platform::live::firmware
