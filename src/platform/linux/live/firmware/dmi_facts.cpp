#include "platform/linux/live/firmware/dmi_facts.h"

#include "platform/linux/live/firmware/firmware_text.h"

namespace platform::live::firmware {
namespace {

std::optional<std::string> StringOf(const std::vector<SmbiosStructure>& table, std::uint8_t type,
                                    std::size_t offset) {
    const auto structures = OfType(table, type);
    if (structures.empty())
        return std::nullopt;
    return structures.front()->String(offset);
}

void PreferAttribute(const SystemRoot& root, const char* attribute,
                     std::optional<std::string>& fact) {
    if (const auto line = root.ReadLine(std::string("/sys/class/dmi/id/") + attribute))
        if (auto text = Trimmed(*line))
            fact = std::move(text);
}

}  // namespace

DmiFacts DmiFactsFromTable(const std::vector<SmbiosStructure>& table) {
    DmiFacts facts;
    facts.biosVendor = StringOf(table, 0, 0x04);
    facts.biosVersion = StringOf(table, 0, 0x05);
    facts.biosDate = StringOf(table, 0, 0x08);
    facts.systemVendor = StringOf(table, 1, 0x04);
    facts.systemProduct = StringOf(table, 1, 0x05);
    facts.systemSerial = StringOf(table, 1, 0x07);
    facts.boardVendor = StringOf(table, 2, 0x04);
    facts.boardProduct = StringOf(table, 2, 0x05);
    return facts;
}

DmiFacts ReadDmiFacts(const SystemRoot& root, const std::vector<SmbiosStructure>& table) {
    DmiFacts facts = DmiFactsFromTable(table);
    PreferAttribute(root, "bios_vendor", facts.biosVendor);
    PreferAttribute(root, "bios_version", facts.biosVersion);
    PreferAttribute(root, "bios_date", facts.biosDate);
    PreferAttribute(root, "sys_vendor", facts.systemVendor);
    PreferAttribute(root, "product_name", facts.systemProduct);
    PreferAttribute(root, "product_serial", facts.systemSerial);
    PreferAttribute(root, "board_vendor", facts.boardVendor);
    PreferAttribute(root, "board_name", facts.boardProduct);
    return facts;
}

}  // namespace platform::live::firmware
