// The Windows 10 and 11 verdicts: every requirement on its boundary, the processor generations
// the readiness rules name, and the facts the report gathers from a session.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model_fixture.h"
#include "report/windows_requirements.h"

namespace {

constexpr double kGiB = 1073741824.0;
using State = RequirementState;

const wchar_t kIntel[] = L"GenuineIntel";
const wchar_t kAmd[] = L"AuthenticAMD";

TEST(ProcessorGeneration, RulesOfTheReadinessCheck) {
    struct Case {
        const wchar_t* manufacturer;
        const wchar_t* caption;
        State expected;
    };
    const Case cases[] = {
        {kIntel, L"Intel64 Family 6 Model 95 Stepping 0", State::kFailed},
        {kIntel, L"Intel64 Family 6 Model 85 Stepping 4", State::kMet},
        {kIntel, L"Intel64 Family 6 Model 96 Stepping 1", State::kMet},
        {kIntel, L"Intel64 Family 6 Model 142 Stepping 9", State::kFailed},
        {kIntel, L"Intel64 Family 6 Model 142 Stepping 10", State::kMet},
        {kIntel, L"Intel64 Family 6 Model 158 Stepping 9", State::kFailed},
        {kIntel, L"Intel64 Family 6 Model 158 Stepping 10", State::kMet},
        {kIntel, L"x86 Family 6 Model 15 Stepping 11", State::kFailed},
        {kIntel, L"x86 Family 15 Model 2 Stepping 9", State::kFailed},
        {kAmd, L"AMD64 Family 22 Model 48 Stepping 1", State::kFailed},
        {kAmd, L"AMD64 Family 23 Model 1 Stepping 1", State::kFailed},
        {kAmd, L"AMD64 Family 23 Model 17 Stepping 0", State::kFailed},
        {kAmd, L"AMD64 Family 23 Model 8 Stepping 2", State::kMet},
        {kAmd, L"AMD64 Family 25 Model 33 Stepping 0", State::kMet},
        {L"Qualcomm Technologies Inc", L"ARMv8 (64-bit) Family 8 Model D4B Revision 0",
         State::kMet},
        {L"Qualcomm Technologies Inc", L"", State::kMet},
        // Unknown, never failed: no maker, no family or model, no stepping where a rule needs it.
        {L"", L"Intel64 Family 6 Model 95 Stepping 0", State::kUnknown},
        {kIntel, L"Intel(R) Core(TM) i5-7200U CPU @ 2.50GHz", State::kUnknown},
        {kAmd, L"AMD64 Family Model", State::kUnknown},
        {kIntel, L"Intel64 Family 6 Model 142", State::kUnknown},
        {kIntel, L"Intel64 Family 6 Model 140", State::kMet},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProcessorGenerationState(c.manufacturer, c.caption), c.expected)
            << c.manufacturer << " " << c.caption;
    }
}

// A machine that meets every Windows 11 requirement exactly.
ReadinessFacts AtTheMinimums() {
    ReadinessFacts facts;
    facts.dataWidth = L"64";
    facts.architecture = L"9";
    facts.manufacturer = kIntel;
    facts.caption = L"Intel64 Family 6 Model 158 Stepping 10";
    facts.clockHertz = 1e9;
    facts.cores = 2;
    facts.memoryBytes = 4 * kGiB;
    facts.systemDriveBytes = 64 * kGiB;
    facts.firmwareType = L"UEFI";
    facts.secureBoot = L"Off";
    facts.tpm = ReadinessFacts::Tpm::kPresent;
    facts.tpmVersion = L"2.0, 0, 1.38";
    return facts;
}

struct VerdictCase {
    const char* name;
    std::function<void(ReadinessFacts&)> change;
    std::wstring color;
    std::wstring status;  // without the line ends
};

template <std::size_t N>
void ExpectVerdicts(WindowsRelease release, const VerdictCase (&cases)[N]) {
    for (const VerdictCase& c : cases) {
        ReadinessFacts facts = AtTheMinimums();
        c.change(facts);
        const ReadinessVerdict verdict = AssessWindowsRelease(release, facts);
        EXPECT_EQ(verdict.color, c.color) << c.name;
        const std::wstring status = c.color == L"green" ? c.status : c.status + L"&#13;";
        EXPECT_EQ(verdict.status, status) << c.name;
    }
}

TEST(WindowsReadiness, Windows11Boundaries) {
    const VerdictCase cases[] = {
        {"every minimum met exactly", [](ReadinessFacts&) {}, L"green",
         L"This computer meets all the requirements of Windows 11"},
        {"999 MHz", [](ReadinessFacts& f) { f.clockHertz = 999e6; }, L"red",
         L"1.00GHz CPU speed or higher required"},
        {"one core", [](ReadinessFacts& f) { f.cores = 1; }, L"red",
         L"2 or more processor cores required"},
        {"4 GiB less a byte", [](ReadinessFacts& f) { f.memoryBytes = 4 * kGiB - 1; }, L"red",
         L"4.00GB of RAM or higher required"},
        {"64 GiB drive less a byte", [](ReadinessFacts& f) { f.systemDriveBytes = 64 * kGiB - 1; },
         L"red", L"64.00GB system drive or larger required"},
        {"32-bit processor",
         [](ReadinessFacts& f) {
             f.dataWidth = L"32";
             f.architecture = L"0";
         },
         L"red", L"64-bit processor required"},
        {"ARM64 without a width",
         [](ReadinessFacts& f) {
             f.dataWidth.clear();
             f.architecture = L"12";
         },
         L"green", L"This computer meets all the requirements of Windows 11"},
        {"7th generation",
         [](ReadinessFacts& f) { f.caption = L"Intel64 Family 6 Model 142 Stepping 9"; }, L"red",
         L"Processor generation not supported: GenuineIntel family 6 model 142 stepping 9"},
        {"BIOS", [](ReadinessFacts& f) { f.firmwareType = L"BIOS"; }, L"red",
         L"UEFI firmware required (this computer has BIOS)"},
        {"Secure Boot on", [](ReadinessFacts& f) { f.secureBoot = L"On"; }, L"green",
         L"This computer meets all the requirements of Windows 11"},
        {"no Secure Boot", [](ReadinessFacts& f) { f.secureBoot = L"Not supported"; }, L"red",
         L"Secure Boot capable firmware required"},
        {"TPM 1.2", [](ReadinessFacts& f) { f.tpmVersion = L"1.2"; }, L"red",
         L"TPM 2.0 required (this computer has TPM 1.2)"},
        {"no TPM", [](ReadinessFacts& f) { f.tpm = ReadinessFacts::Tpm::kNone; }, L"red",
         L"TPM 2.0 required (no TPM found)"},
        {"TPM without administrator rights",
         [](ReadinessFacts& f) { f.tpm = ReadinessFacts::Tpm::kNeedsAdmin; }, L"yellow",
         L"TPM unknown: reading it takes administrator rights"},
        {"TPM the system could not be asked (Wine)",
         [](ReadinessFacts& f) { f.tpm = ReadinessFacts::Tpm::kUnreadable; }, L"yellow",
         L"TPM unknown: the system could not be asked"},
        {"unknown width",
         [](ReadinessFacts& f) {
             f.dataWidth.clear();
             f.architecture.clear();
         },
         L"yellow", L"Processor width unknown"},
        {"unknown clock", [](ReadinessFacts& f) { f.clockHertz = 0; }, L"yellow",
         L"CPU speed unknown"},
        {"unknown cores", [](ReadinessFacts& f) { f.cores = 0; }, L"yellow",
         L"Processor cores unknown"},
        {"caption without family", [](ReadinessFacts& f) { f.caption = L"Core i7"; }, L"yellow",
         L"Processor generation unknown"},
        {"unknown firmware", [](ReadinessFacts& f) { f.firmwareType.clear(); }, L"yellow",
         L"Firmware type unknown"},
        {"unknown Secure Boot", [](ReadinessFacts& f) { f.secureBoot.clear(); }, L"yellow",
         L"Secure Boot unknown"},
        {"unknown drive", [](ReadinessFacts& f) { f.systemDriveBytes = 0; }, L"yellow",
         L"System drive size unknown"},
        {"an unknown beside a failure is red",
         [](ReadinessFacts& f) {
             f.tpm = ReadinessFacts::Tpm::kNeedsAdmin;
             f.firmwareType = L"BIOS";
         },
         L"red",
         L"UEFI firmware required (this computer has BIOS)&#13;"
         L"TPM unknown: reading it takes administrator rights"},
    };
    ExpectVerdicts(WindowsRelease::kWindows11, cases);
}

TEST(WindowsReadiness, Windows10Boundaries) {
    const auto width = [](const wchar_t* bits, double memory) {
        return [bits, memory](ReadinessFacts& f) {
            f.dataWidth = bits;
            f.architecture.clear();
            f.memoryBytes = memory;
        };
    };
    const std::wstring met = L"This computer meets all the requirements of Windows 10";
    const VerdictCase cases[] = {
        {"32-bit, 1 GiB", width(L"32", kGiB), L"green", met},
        {"32-bit, 1 GiB less a byte", width(L"32", kGiB - 1), L"red",
         L"1.00GB of RAM or higher required"},
        {"64-bit, 2 GiB", width(L"64", 2 * kGiB), L"green", met},
        {"64-bit, 2 GiB less a byte", width(L"64", 2 * kGiB - 1), L"red",
         L"2.00GB of RAM or higher required"},
        {"unknown width, between the two", width(L"", 1.5 * kGiB), L"yellow",
         L"RAM requirement unknown: processor width unknown"},
        {"unknown width, below both", width(L"", kGiB - 1), L"red",
         L"1.00GB of RAM or higher required"},
        {"32 GiB drive", [](ReadinessFacts& f) { f.systemDriveBytes = 32 * kGiB; }, L"green", met},
        {"32 GiB drive less a byte", [](ReadinessFacts& f) { f.systemDriveBytes = 32 * kGiB - 1; },
         L"red", L"32.00GB system drive or larger required"},
        {"999 MHz", [](ReadinessFacts& f) { f.clockHertz = 999e6; }, L"red",
         L"1.00GHz CPU speed or higher required"},
        {"what only Windows 11 asks for is not asked",
         [](ReadinessFacts& f) {
             f.cores = 1;
             f.firmwareType = L"BIOS";
             f.tpm = ReadinessFacts::Tpm::kNone;
             f.caption = L"x86 Family 6 Model 15 Stepping 11";
         },
         L"green", met},
    };
    ExpectVerdicts(WindowsRelease::kWindows10, cases);
}

TEST(WindowsReadiness, RowsShowActualAndRequiredAndMarkTheShortfall) {
    ReadinessFacts facts = AtTheMinimums();
    facts.tpmVersion = L"1.2";
    facts.caption = L"<b>";
    const ReadinessVerdict verdict = AssessWindowsRelease(WindowsRelease::kWindows11, facts);
    struct Row {
        std::wstring label, actual, required;
    };
    const Row expected[] = {
        {L"64-bit processor", L"64-bit", L"64-bit"},
        {L"Processor speed", L"1.00GHz", L"1.00GHz"},
        {L"Processor cores", L"2", L"2 or more"},
        {L"Processor generation", L"&lt;b&gt; (GenuineIntel)", L"a supported generation"},
        {L"RAM", L"4.00GB", L"4.00GB"},
        {L"System drive", L"64.00GB", L"64.00GB"},
        {L"Firmware", L"UEFI", L"UEFI"},
        {L"Secure Boot", L"Off", L"capable (On or Off)"},
        {L"TPM", L"<span style=\"color:red\"><i>TPM 1.2</i></span>", L"TPM 2.0"},
    };
    ASSERT_EQ(verdict.rows.size(), std::size(expected));
    for (std::size_t i = 0; i < verdict.rows.size(); ++i) {
        EXPECT_EQ(verdict.rows[i].label, expected[i].label);
        EXPECT_EQ(verdict.rows[i].actual, expected[i].actual) << expected[i].label;
        EXPECT_EQ(verdict.rows[i].required, expected[i].required) << expected[i].label;
    }
    EXPECT_EQ(verdict.status,
              L"Processor generation unknown&#13;TPM 2.0 required (this computer "
              L"has TPM 1.2)&#13;");
}

// The report gathers the facts from the session's items.
class ReadinessReportTest : public ModelTest {
  protected:
    void Render(const SessionData& session) {
        report_ = std::make_unique<CInventoryReport>(*config_);
        report().SetLastSessionTime(std::tm{});
        report().RenderSections(session, {});
        report().AssessCompatibility();
    }
};

SessionData WindowsDesktop(const wchar_t* runAsAdmin) {
    return {
        {L"Version", {{{L"RunAsAdmin", runAsAdmin}}}},
        {L"OperatingSystem", {{{L"SystemDrive", L"C:"}}}},
        {L"LogicalDisk",
         {{{L"DeviceID", L"D:"}, {L"DriveType", L"3"}, {L"Size", L"1099511627776"}},
          {{L"DeviceID", L"c:"}, {L"DriveType", L"3"}, {L"Size", L"68719476735"}}}},
        {L"Processor",
         {{{L"MaxClockSpeed", L"3600"},
           {L"NumberOfCores", L"6"},
           {L"DataWidth", L"64"},
           {L"Manufacturer", L"GenuineIntel"},
           {L"Caption", L"Intel64 Family 6 Model 158 Stepping 10"}}}},
        {L"PhysicalMemory", {{{L"Capacity", L"17179869184"}}}},
        {L"Platform",
         {{{L"OSFamily", L"Windows"}, {L"FirmwareType", L"UEFI"}, {L"SecureBoot", L"On"}}}},
    };
}

TEST_F(ReadinessReportTest, GathersTheFactsOfWindowsAndLinuxSessions) {
    struct Case {
        const char* name;
        SessionData session;
        std::wstring color10, color11, status11;
    };
    SessionData linux = WindowsDesktop(L"0");
    linux[L"Platform"][0][L"OSFamily"] = L"Linux";
    linux[L"OperatingSystem"] = {{}};
    linux[L"LogicalDisk"][1][L"DeviceID"] = L"/";
    SessionData coreless = WindowsDesktop(L"1");
    coreless[L"Processor"].push_back({{L"NumberOfCores", L""}});
    const Case cases[] = {
        {"system drive C: one byte short, not the large D:", WindowsDesktop(L"1"), L"green", L"red",
         L"64.00GB system drive or larger required&#13;TPM 2.0 required (no TPM found)&#13;"},
        {"no administrator rights", WindowsDesktop(L"0"), L"green", L"red",
         L"64.00GB system drive or larger required&#13;"
         L"TPM unknown: reading it takes administrator rights&#13;"},
        {"Linux: the root mount, and no TPM listed is none", linux, L"green", L"red",
         L"64.00GB system drive or larger required&#13;TPM 2.0 required (no TPM found)&#13;"},
        {"a processor without a core count", coreless, L"green", L"red",
         L"Processor cores unknown&#13;64.00GB system drive or larger required&#13;"
         L"TPM 2.0 required (no TPM found)&#13;"},
    };
    for (const Case& c : cases) {
        Render(c.session);
        EXPECT_EQ(report().m_compatWin10Color, c.color10)
            << c.name << ": " << report().m_compatWin10Status;
        EXPECT_EQ(report().m_compatWin11Color, c.color11) << c.name;
        EXPECT_EQ(report().m_compatWin11Status, c.status11) << c.name;
    }
    SessionData session = WindowsDesktop(L"1");
    session[L"Tpm"] = {{{L"SpecVersion", L"1.2"}}, {{L"SpecVersion", L"2.0, 0, 1.59"}}};
    session[L"LogicalDisk"][1][L"Size"] = L"68719476736";
    Render(session);
    EXPECT_EQ(report().m_compatWin11Color, L"green") << report().m_compatWin11Status;
    EXPECT_NE(report().m_compatWin11List.find(L"<td>TPM 2.0 <span class=\"compatLimits\">"
                                              L"(Required: TPM 2.0)</span></td>"),
              std::wstring::npos)
        << report().m_compatWin11List;
}

}  // namespace
