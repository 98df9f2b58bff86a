#pragma once
// The facts of a monitor's EDID base block (128 bytes): its maker's PnP id, product code,
// serial number, the name and serial text descriptors, and its preferred timing.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::live {

struct Edid {
    std::string manufacturerId;  // three letters, "DEL"; empty when the bytes are no letters
    std::uint16_t productCode = 0;
    std::uint32_t serialNumber = 0;
    std::wstring name;        // the monitor name descriptor (0xFC); empty without one
    std::wstring serialText;  // the serial number descriptor (0xFF)
    std::uint32_t width = 0;  // the preferred timing's active pixels; 0 without one
    std::uint32_t height = 0;
};

// Nothing for a block that is short, has the wrong header or a wrong checksum: its bytes
// cannot be trusted. Text descriptors keep printable ASCII; any other byte is U+FFFD.
std::optional<Edid> ParseEdid(std::string_view bytes);

// The monitor's PnP id as a hardware id, "DELA0B1"; empty without a manufacturer id.
std::string PnpDeviceId(const Edid& edid);

// The maker a PnP id stands for, for common makers; else the id itself.
std::string PnpManufacturer(const std::string& manufacturerId);

}  // namespace platform::live
