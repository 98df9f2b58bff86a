#pragma once
// Names in the text databases of PCI and USB ids (pci.ids, usb.ids). A vendor line is four hex
// digits, blanks and the name; the vendor's devices follow, indented by one tab. Deeper
// indents (subsystems, interfaces) and comments are skipped, and any other line at the margin
// (the class and language lists at the end of the files) closes the vendor.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::live {

struct HardwareName {
    std::string vendor;
    std::string device;  // empty when the database lists the vendor only
};

// The names of (vendor, device) in the database text; nothing when the vendor is not listed.
std::optional<HardwareName> FindIdsName(std::string_view ids, std::uint16_t vendor,
                                        std::uint16_t device);

}  // namespace platform::live
