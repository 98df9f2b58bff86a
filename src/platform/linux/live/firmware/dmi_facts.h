#pragma once
// The firmware's identity strings (BIOS, system, baseboard) as the kernel shows them under
// /sys/class/dmi/id, completed from the SMBIOS table where an attribute is missing or
// unreadable (the serial numbers are readable by root only).
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/firmware/smbios.h"

namespace platform::live::firmware {

struct DmiFacts {
    std::optional<std::string> biosVendor;
    std::optional<std::string> biosVersion;
    std::optional<std::string> biosDate;
    std::optional<std::string> systemVendor;
    std::optional<std::string> systemProduct;
    std::optional<std::string> systemSerial;
    std::optional<std::string> boardVendor;
    std::optional<std::string> boardProduct;
};

// The strings of the first BIOS (type 0), System (type 1) and Baseboard (type 2) structures.
DmiFacts DmiFactsFromTable(const std::vector<SmbiosStructure>& table);
// Each attribute of /sys/class/dmi/id, else the table's string.
DmiFacts ReadDmiFacts(const SystemRoot& root, const std::vector<SmbiosStructure>& table);

}  // namespace platform::live::firmware
