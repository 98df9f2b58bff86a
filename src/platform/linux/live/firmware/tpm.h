#pragma once
// Win32_Tpm of ROOT\CIMV2\Security\MicrosoftTpm: one object per TPM the kernel lists under
// /sys/class/tpm.
#include <optional>
#include <string>
#include <string_view>

namespace platform::live::firmware {

// The lines of a TPM 1.2's "caps" attribute that the class reports.
struct TpmCaps {
    std::optional<std::string> specVersion;      // "TCG version: 1.2"
    std::optional<std::string> firmwareVersion;  // "Firmware version: 13.12"
};
TpmCaps ParseTpmCaps(std::string_view caps);

}  // namespace platform::live::firmware
