#include "report/windows_requirements.h"

#include <climits>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <utility>

#include "report/html_text.h"
#include "report/shown_figures.h"
#include "util/numbers.h"
#include "util/text.h"

namespace {

constexpr double kGiB = 1024.0 * 1024.0 * 1024.0;

// The minimums of Microsoft's published Windows 11 and Windows 10 specifications and system
// requirements; sizes in binary gigabytes, as its Windows 11 hardware readiness script counts
// them. The readiness script counts logical processors; the published requirement says
// cores, and cores are what is measured here.
struct ReleaseMinimums {
    const wchar_t* name;
    double clockHertz;
    long long cores;  // 0: none asked
    double memory32Bit;
    double memory64Bit;
    double systemDrive;
    bool needs64Bit;
    bool needsSupportedGeneration;
    bool needsUefi;
    bool needsSecureBootCapable;
    int tpmMajor;  // 0: none asked
};

constexpr ReleaseMinimums kReleases[] = {
    {L"Windows 10", 1e9, 0, 1 * kGiB, 2 * kGiB, 32 * kGiB, false, false, false, false, 0},
    {L"Windows 11", 1e9, 2, 4 * kGiB, 4 * kGiB, 64 * kGiB, true, true, true, true, 2},
};

// The processor rules of the same readiness script, on the family, model and stepping of the
// processor's caption: tried in order, the first that matches decides; a processor no rule
// matches (every other maker's too, such as Qualcomm's) is supported.
struct GenerationRule {
    const wchar_t* manufacturer;
    int familyFrom, familyTo;
    int modelFrom, modelTo;
    int stepping;  // -1: any
    bool supported;
};

constexpr int kAny = -1;
constexpr int kMax = INT_MAX;

constexpr GenerationRule kGenerationRules[] = {
    {L"GenuineIntel", 6, 6, 85, 85, kAny, true},
    {L"GenuineIntel", 6, kMax, 0, 95, kAny, false},
    // The script lets two OEM systems with this 7th-generation model through by the firmware's
    // SystemFamily registry value, which the inventory does not collect.
    {L"GenuineIntel", 6, 6, 142, 142, 9, false},
    {L"GenuineIntel", 6, 6, 158, 158, 9, false},
    {L"AuthenticAMD", 0, 22, 0, kMax, kAny, false},
    {L"AuthenticAMD", 23, 23, 1, 1, kAny, false},
    {L"AuthenticAMD", 23, 23, 17, 17, kAny, false},
};

struct ProcessorSignature {
    std::optional<int> family, model, stepping;
};

// The numbers after "Family", "Model" and "Stepping" in a caption such as
// "Intel64 Family 6 Model 158 Stepping 10".
ProcessorSignature ReadSignature(const std::wstring& caption) {
    ProcessorSignature signature;
    std::wistringstream words(caption);
    std::wstring word;
    std::optional<int>* next = nullptr;
    while (words >> word) {
        if (next != nullptr && !word.empty() &&
            word.find_first_not_of(L"0123456789") == std::wstring::npos && word.size() <= 9) {
            *next = TextToInt(word);
        }
        const std::wstring name = ToLower(word);
        next = name == L"family"     ? &signature.family
               : name == L"model"    ? &signature.model
               : name == L"stepping" ? &signature.stepping
                                     : nullptr;
    }
    return signature;
}

std::wstring Trimmed(const std::wstring& text) {
    return Trim(text, L" \t");
}

// Whether the processor can run 64-bit Windows; unknown when neither figure says.
std::optional<bool> Is64Bit(const ReadinessFacts& facts) {
    const std::wstring architecture = Trimmed(facts.architecture);
    if (architecture == L"9" || architecture == L"12" || Trimmed(facts.dataWidth) == L"64") {
        return true;
    }
    if (architecture.empty() && Trimmed(facts.dataWidth).empty()) {
        return std::nullopt;
    }
    return false;
}

// The rows of one release, with the status line each unmet one gives.
class VerdictBuilder {
  public:
    void Add(const wchar_t* label, std::wstring actual, std::wstring required,
             RequirementState state, std::wstring status) {
        if (state == RequirementState::kFailed) {
            actual = ShortfallText(actual);
        }
        verdict_.rows.push_back({label, std::move(actual), std::move(required), state,
                                 state == RequirementState::kMet ? std::wstring() : status});
    }

    // At least the figure, when it is known; unknown otherwise.
    void AddMinimum(const wchar_t* label, double actual, double minimum, std::wstring actualText,
                    std::wstring requiredText, const std::wstring& failed, const wchar_t* unknown) {
        const RequirementState state = !IsKnownFigure(actual) ? RequirementState::kUnknown
                                       : actual < minimum     ? RequirementState::kFailed
                                                              : RequirementState::kMet;
        Add(label, std::move(actualText), std::move(requiredText), state,
            state == RequirementState::kUnknown ? std::wstring(unknown) : failed);
    }

    ReadinessVerdict Finish(const wchar_t* releaseName) {
        bool failed = false;
        bool unknown = false;
        for (const RequirementRow& row : verdict_.rows) {
            failed = failed || row.state == RequirementState::kFailed;
            unknown = unknown || row.state == RequirementState::kUnknown;
            if (!row.status.empty()) {
                verdict_.status += row.status + L"&#13;";
            }
        }
        verdict_.color = failed ? L"red" : unknown ? L"yellow" : L"green";
        if (!failed && !unknown) {
            verdict_.status =
                L"This computer meets all the requirements of " + std::wstring(releaseName);
        }
        return std::move(verdict_);
    }

  private:
    ReadinessVerdict verdict_;
};

RequirementState Known(bool met) {
    return met ? RequirementState::kMet : RequirementState::kFailed;
}

void AddProcessorWidth(VerdictBuilder& builder, const std::optional<bool>& is64Bit) {
    builder.Add(L"64-bit processor",
                !is64Bit   ? kUnknownFigure
                : *is64Bit ? L"64-bit"
                           : L"32-bit",
                L"64-bit", is64Bit ? Known(*is64Bit) : RequirementState::kUnknown,
                is64Bit ? L"64-bit processor required" : L"Processor width unknown");
}

void AddCores(VerdictBuilder& builder, long long cores, long long minimum) {
    builder.Add(L"Processor cores", cores > 0 ? std::to_wstring(cores) : kUnknownFigure,
                std::to_wstring(minimum) + L" or more",
                cores > 0 ? Known(cores >= minimum) : RequirementState::kUnknown,
                cores > 0 ? std::to_wstring(minimum) + L" or more processor cores required"
                          : L"Processor cores unknown");
}

void AddGeneration(VerdictBuilder& builder, const ReadinessFacts& facts) {
    const RequirementState state = ProcessorGenerationState(facts.manufacturer, facts.caption);
    std::wstring actual = Trimmed(facts.caption).empty() ? std::wstring(kUnknownFigure)
                                                         : HtmlText(Trimmed(facts.caption));
    if (!Trimmed(facts.manufacturer).empty()) {
        actual += L" (" + HtmlText(Trimmed(facts.manufacturer)) + L")";
    }
    const ProcessorSignature signature = ReadSignature(facts.caption);
    std::wstring reason = L"Processor generation not supported: " +
                          HtmlText(Trimmed(facts.manufacturer)) + L" family " +
                          std::to_wstring(signature.family.value_or(0)) + L" model " +
                          std::to_wstring(signature.model.value_or(0));
    if (signature.stepping) {
        reason += L" stepping " + std::to_wstring(*signature.stepping);
    }
    builder.Add(L"Processor generation", actual, L"a supported generation", state,
                state == RequirementState::kUnknown ? L"Processor generation unknown" : reason);
}

void AddMemory(VerdictBuilder& builder, const ReleaseMinimums& release, double memory,
               const std::optional<bool>& is64Bit) {
    const bool byWidth = release.memory32Bit != release.memory64Bit;
    if (!is64Bit && byWidth) {
        const std::wstring required = FormatBytes(release.memory32Bit) + L" for 32-bit, " +
                                      FormatBytes(release.memory64Bit) + L" for 64-bit";
        if (IsKnownFigure(memory) && memory >= release.memory32Bit &&
            memory < release.memory64Bit) {
            builder.Add(L"RAM", KnownBytesText(memory), required, RequirementState::kUnknown,
                        L"RAM requirement unknown: processor width unknown");
            return;
        }
        // Below both figures or above both: the lower one decides.
        builder.AddMinimum(L"RAM", memory, release.memory32Bit, KnownBytesText(memory), required,
                           FormatBytes(release.memory32Bit) + L" of RAM or higher required",
                           L"RAM size unknown");
        return;
    }
    const double minimum = is64Bit && *is64Bit ? release.memory64Bit : release.memory32Bit;
    builder.AddMinimum(L"RAM", memory, minimum, KnownBytesText(memory), FormatBytes(minimum),
                       FormatBytes(minimum) + L" of RAM or higher required", L"RAM size unknown");
}

// A fact of fixed words: met by one of `meeting`, unknown when empty, failed otherwise.
void AddWord(VerdictBuilder& builder, const wchar_t* label, const std::wstring& fact,
             std::initializer_list<const wchar_t*> meeting, const wchar_t* required,
             const std::wstring& failed, const wchar_t* unknown) {
    const std::wstring word = Trimmed(fact);
    if (word.empty()) {
        builder.Add(label, kUnknownFigure, required, RequirementState::kUnknown, unknown);
        return;
    }
    bool met = false;
    for (const wchar_t* meets : meeting) {
        met = met || word == meets;
    }
    builder.Add(label, HtmlText(word), required, Known(met), failed);
}

void AddTpm(VerdictBuilder& builder, const ReadinessFacts& facts, int major) {
    const std::wstring required = L"TPM " + std::to_wstring(major) + L".0";
    const std::wstring requiredLine = required + L" required";
    switch (facts.tpm) {
        case ReadinessFacts::Tpm::kNeedsAdmin:
            builder.Add(L"TPM", kUnknownFigure, required, RequirementState::kUnknown,
                        L"TPM unknown: reading it takes administrator rights");
            return;
        case ReadinessFacts::Tpm::kUnreadable:
            builder.Add(L"TPM", kUnknownFigure, required, RequirementState::kUnknown,
                        L"TPM unknown: the system could not be asked");
            return;
        case ReadinessFacts::Tpm::kNone:
            builder.Add(L"TPM", L"none", required, RequirementState::kFailed,
                        requiredLine + L" (no TPM found)");
            return;
        case ReadinessFacts::Tpm::kPresent:
            break;
    }
    // "2.0, 0, 1.38": the TPM's own version comes first.
    const std::wstring version = Trimmed(facts.tpmVersion.substr(0, facts.tpmVersion.find(L',')));
    const int found = TextToInt(version);
    if (found <= 0) {
        builder.Add(L"TPM", L"present, version unknown", required, RequirementState::kUnknown,
                    L"TPM version unknown");
        return;
    }
    const std::wstring actual = L"TPM " + HtmlText(version);
    builder.Add(L"TPM", actual, required, Known(found >= major),
                requiredLine + L" (this computer has " + actual + L")");
}

}  // namespace

RequirementState ProcessorGenerationState(const std::wstring& manufacturer,
                                          const std::wstring& caption) {
    const std::wstring maker = Trimmed(manufacturer);
    if (maker.empty()) {
        return RequirementState::kUnknown;
    }
    const ProcessorSignature signature = ReadSignature(caption);
    for (const GenerationRule& rule : kGenerationRules) {
        if (maker != rule.manufacturer) {
            continue;
        }
        if (!signature.family || !signature.model) {
            return RequirementState::kUnknown;
        }
        if (*signature.family < rule.familyFrom || *signature.family > rule.familyTo ||
            *signature.model < rule.modelFrom || *signature.model > rule.modelTo) {
            continue;
        }
        if (rule.stepping != kAny) {
            if (!signature.stepping) {
                return RequirementState::kUnknown;
            }
            if (*signature.stepping != rule.stepping) {
                continue;
            }
        }
        return Known(rule.supported);
    }
    return RequirementState::kMet;
}

ReadinessVerdict AssessWindowsRelease(WindowsRelease release, const ReadinessFacts& facts) {
    const ReleaseMinimums& minimums = kReleases[release == WindowsRelease::kWindows11 ? 1 : 0];
    const std::optional<bool> is64Bit = Is64Bit(facts);
    VerdictBuilder builder;
    if (minimums.needs64Bit) {
        AddProcessorWidth(builder, is64Bit);
    }
    const std::wstring clock = FormatHertz(minimums.clockHertz);
    builder.AddMinimum(L"Processor speed", facts.clockHertz, minimums.clockHertz,
                       KnownHertzText(facts.clockHertz), clock,
                       clock + L" CPU speed or higher required", L"CPU speed unknown");
    if (minimums.cores > 0) {
        AddCores(builder, facts.cores, minimums.cores);
    }
    if (minimums.needsSupportedGeneration) {
        AddGeneration(builder, facts);
    }
    AddMemory(builder, minimums, facts.memoryBytes, is64Bit);
    const std::wstring drive = FormatBytes(minimums.systemDrive);
    builder.AddMinimum(L"System drive", facts.systemDriveBytes, minimums.systemDrive,
                       KnownBytesText(facts.systemDriveBytes), drive,
                       drive + L" system drive or larger required", L"System drive size unknown");
    if (minimums.needsUefi) {
        AddWord(builder, L"Firmware", facts.firmwareType, {L"UEFI"}, L"UEFI",
                L"UEFI firmware required (this computer has " +
                    HtmlText(Trimmed(facts.firmwareType)) + L")",
                L"Firmware type unknown");
    }
    if (minimums.needsSecureBootCapable) {
        AddWord(builder, L"Secure Boot", facts.secureBoot, {L"On", L"Off"}, L"capable (On or Off)",
                L"Secure Boot capable firmware required", L"Secure Boot unknown");
    }
    if (minimums.tpmMajor > 0) {
        AddTpm(builder, facts, minimums.tpmMajor);
    }
    return builder.Finish(minimums.name);
}
