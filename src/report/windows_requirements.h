#pragma once
// Whether the machine could run Windows 10 or Windows 11: its facts measured against the
// published minimums, each requirement met, failed or unknown. A fact nobody could read is
// never a failure: it makes the verdict yellow at worst.
#include <string>
#include <vector>

// The facts as the inventory gave them, unescaped; empty text or 0 is a fact not known.
struct ReadinessFacts {
    // The first processor's, as Windows' readiness check reads them.
    std::wstring dataWidth;     // "64", "32"
    std::wstring architecture;  // Win32 codes: "0" x86, "5" ARM, "9" x64, "12" ARM64
    std::wstring manufacturer;  // "GenuineIntel", "AuthenticAMD", ...
    std::wstring caption;       // "Intel64 Family 6 Model 158 Stepping 10"
    double clockHertz = 0;
    // Of every processor; 0 when one of them does not say.
    long long cores = 0;
    double memoryBytes = 0;
    double systemDriveBytes = 0;
    std::wstring firmwareType;  // "UEFI", "BIOS"
    std::wstring secureBoot;    // "On", "Off", "Not supported"

    enum class Tpm {
        kNone,
        kNeedsAdmin,  // Windows lists no TPM to a user without administrator rights
        kUnreadable,  // the system could not be asked
        kPresent,     // `tpmVersion` says which
    };
    Tpm tpm = Tpm::kNone;
    std::wstring tpmVersion;  // SpecVersion: "2.0", "1.2" or "2.0, 0, 1.38"
};

enum class RequirementState { kMet, kFailed, kUnknown };

// One row of a version's table: what the machine has against what the version needs. The
// texts are HTML; `status` is the line the light's tooltip gets, empty when met.
struct RequirementRow {
    std::wstring label;
    std::wstring actual;
    std::wstring required;
    RequirementState state = RequirementState::kMet;
    std::wstring status;
};

struct ReadinessVerdict {
    std::wstring color;   // "green", "yellow", "red"
    std::wstring status;  // the rows' status lines, each ending in "&#13;", or the all-met line
    std::vector<RequirementRow> rows;
};

enum class WindowsRelease { kWindows10, kWindows11 };

ReadinessVerdict AssessWindowsRelease(WindowsRelease release, const ReadinessFacts& facts);

// Whether Windows 11 supports the processor's generation: met, failed, or unknown when the
// maker or the family and model (or a stepping a rule needs) cannot be read.
RequirementState ProcessorGenerationState(const std::wstring& manufacturer,
                                          const std::wstring& caption);
