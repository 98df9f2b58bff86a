// A machine described in JSON, read back through the seams the collector uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fake_host.h"
#include "platform/described/described_machine.h"
#include "platform/files.h"
#include "platform/service_list.h"
#include "platform/services.h"
#include "platform/wql.h"
#include "temp_folder.h"
#include "util/utf.h"

using namespace platform;
using Kind = WmiValue::Kind;

namespace {

const std::wstring kName = L"m.json";

class Described : public ::testing::Test {
  protected:
    Described() {
        running_.dataFolder = L"/home/tester/.local/share/fennock/";
        running_.tempFolder = L"/tmp/";
        running_.separator = L'/';
    }

    // The machine of a description that must load.
    DescribedMachine Machine(const std::string& json) {
        std::wstring error;
        auto machine = DescribedMachine::FromText(json, kName, error, running_);
        EXPECT_TRUE(machine.has_value()) << WideToUtf8(error);
        EXPECT_TRUE(error.empty());
        if (!machine)
            machine = DescribedMachine::FromText("{}", kName, error, running_);
        return std::move(*machine);
    }

    // The error of a description that must not load.
    std::wstring Error(const std::string& json) {
        std::wstring error;
        EXPECT_FALSE(DescribedMachine::FromText(json, kName, error, running_).has_value());
        return error;
    }

    FakeHost running_;
};

// All objects of a statement, each as the values of the named properties; nothing when the
// statement is refused.
std::optional<std::vector<std::vector<std::optional<WmiValue>>>> Select(
    Wmi& wmi, const std::wstring& wql, const std::vector<std::wstring>& properties) {
    auto objects = wmi.ExecQuery(wql);
    if (!objects)
        return std::nullopt;
    std::vector<std::vector<std::optional<WmiValue>>> rows;
    while (objects->Next()) {
        auto& row = rows.emplace_back();
        for (const auto& name : properties) {
            WmiValue value;
            row.push_back(objects->Get(name, value) ? std::optional<WmiValue>(value)
                                                    : std::nullopt);
        }
    }
    return rows;
}

std::size_t CountObjects(Wmi& wmi, const std::wstring& wql) {
    auto rows = Select(wmi, wql, {});
    return rows ? rows->size() : 0;
}

// The text property of every object of a statement, in order.
std::vector<std::wstring> Texts(Wmi& wmi, const std::wstring& wql, const std::wstring& name) {
    std::vector<std::wstring> texts;
    const auto rows = Select(wmi, wql, {name});
    if (!rows)
        return {L"<refused>"};
    for (const auto& row : *rows)
        texts.push_back(row[0] && row[0]->kind == Kind::String ? row[0]->text : L"<not text>");
    return texts;
}

struct RegValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

std::optional<RegValue> ReadValue(Registry& registry, const std::wstring& path,
                                  const std::wstring& name, std::uint32_t access = kKeyRead) {
    RegKey key = 0;
    if (registry.OpenKey(kLocalMachine, path.c_str(), access, &key) != kErrorSuccess)
        return std::nullopt;
    RegValue value;
    std::uint32_t bytes = 0;
    RegError result = registry.QueryValue(key, name.c_str(), &value.type, nullptr, &bytes);
    if (result == kErrorSuccess) {
        value.data.resize(bytes);
        result = registry.QueryValue(key, name.c_str(), &value.type, value.data.data(), &bytes);
    }
    registry.CloseKey(key);
    if (result != kErrorSuccess)
        return std::nullopt;
    return value;
}

std::wstring WideData(const std::vector<std::uint8_t>& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    return text;
}

std::vector<std::uint8_t> WideDataOf(const std::wstring& text) {
    std::vector<std::uint8_t> data(text.size() * sizeof(wchar_t));
    std::memcpy(data.data(), text.data(), data.size());
    return data;
}

std::optional<std::wstring> ReadText(Registry& registry, const std::wstring& path,
                                     const std::wstring& name, std::uint32_t access = kKeyRead) {
    auto value = ReadValue(registry, path, name, access);
    if (!value || value->type != kRegSz)
        return std::nullopt;
    std::wstring text = WideData(value->data);
    return text.substr(0, text.find(L'\0'));
}

std::vector<std::wstring> Subkeys(Registry& registry, const std::wstring& path,
                                  std::uint32_t access) {
    std::vector<std::wstring> names;
    RegKey key = 0;
    if (registry.OpenKey(kLocalMachine, path.c_str(), access, &key) != kErrorSuccess)
        return names;
    for (std::uint32_t i = 0;; ++i) {
        wchar_t name[1024];
        std::uint32_t length = 1024;
        if (registry.EnumKey(key, i, name, &length) != kErrorSuccess)
            break;
        names.emplace_back(name, length);
    }
    registry.CloseKey(key);
    return names;
}

std::vector<std::wstring> ValueNames(Registry& registry, const std::wstring& path) {
    std::vector<std::wstring> names;
    RegKey key = 0;
    if (registry.OpenKey(kLocalMachine, path.c_str(), kKeyRead, &key) != kErrorSuccess)
        return names;
    for (std::uint32_t i = 0;; ++i) {
        wchar_t name[1024];
        std::uint32_t length = 1024;
        if (registry.EnumValue(key, i, name, &length, nullptr, nullptr, nullptr) != kErrorSuccess)
            break;
        names.emplace_back(name, length);
    }
    registry.CloseKey(key);
    return names;
}

// ---- WMI ----

struct TypedCase {
    std::wstring property;
    WmiValue expected;
};

TEST_F(Described, WmiPropertiesKeepTheirTypes) {
    auto machine = Machine(R"({"wmi": {"Win32_Thing": [{
        "Text": "C:\\Program Files\\\"quoted\" <b>&amp;</b> caf\u00e9 \ud83d\ude00",
        "Empty": "",
        "Plain": 42,
        "Lowest": -2147483648,
        "Highest": 2147483647,
        "Unsigned": {"uint32": 4294967295},
        "Short": {"int16": -32768},
        "ShortHigh": {"int16": 32767},
        "Signed": {"int32": -5},
        "Spelled": {"string": "spelled out"},
        "Yes": true,
        "No": {"boolean": false},
        "Nothing": null,
        "Float": {"other": 1.5},
        "Unset": {"empty": null},
        "Addresses": ["192.168.1.20", "fe80::1"],
        "Mixed": [7, {"uint32": 3000000000}, true, null],
        "None": []
    }]}})");
    ASSERT_EQ(0, machine.wmi().Connect());

    const std::vector<TypedCase> cases = {
        {L"Text", WmiValue::String(L"C:\\Program Files\\\"quoted\" <b>&amp;</b> caf\u00e9 "
                                   L"\U0001F600")},
        {L"Empty", WmiValue::String(L"")},
        {L"Plain", WmiValue::Integer(Kind::Int32, 42)},
        {L"Lowest", WmiValue::Integer(Kind::Int32, -2147483648LL)},
        {L"Highest", WmiValue::Integer(Kind::Int32, 2147483647)},
        {L"Unsigned", WmiValue::Integer(Kind::UInt32, 4294967295LL)},
        {L"Short", WmiValue::Integer(Kind::Int16, -32768)},
        {L"ShortHigh", WmiValue::Integer(Kind::Int16, 32767)},
        {L"Signed", WmiValue::Integer(Kind::Int32, -5)},
        {L"Spelled", WmiValue::String(L"spelled out")},
        {L"Yes", WmiValue::Bool(true)},
        {L"No", WmiValue::Bool(false)},
        {L"Nothing", WmiValue::Null()},
        {L"Float", WmiValue::Of(Kind::Other)},
        {L"Unset", WmiValue::Of(Kind::Empty)},
        {L"Addresses",
         WmiValue::Array({WmiValue::String(L"192.168.1.20"), WmiValue::String(L"fe80::1")})},
        {L"Mixed", WmiValue::Array({WmiValue::Integer(Kind::Int32, 7),
                                    WmiValue::Integer(Kind::UInt32, 3000000000LL),
                                    WmiValue::Bool(true), WmiValue::Null()})},
        {L"None", WmiValue::Array({})},
    };
    std::vector<std::wstring> names;
    for (const auto& c : cases)
        names.push_back(c.property);
    const auto rows = Select(machine.wmi(), L"Select * from Win32_Thing", names);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(1u, rows->size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(WideToUtf8(cases[i].property));
        const auto& got = (*rows)[0][i];
        ASSERT_TRUE(got.has_value());
        const WmiValue& want = cases[i].expected;
        EXPECT_EQ(want.kind, got->kind);
        EXPECT_EQ(want.isArray, got->isArray);
        EXPECT_EQ(want.number, got->number);
        EXPECT_EQ(want.boolean, got->boolean);
        EXPECT_EQ(want.text, got->text);
        ASSERT_EQ(want.elements.size(), got->elements.size());
        for (std::size_t e = 0; e < want.elements.size(); ++e) {
            EXPECT_EQ(want.elements[e].kind, got->elements[e].kind);
            EXPECT_EQ(want.elements[e].number, got->elements[e].number);
            EXPECT_EQ(want.elements[e].boolean, got->elements[e].boolean);
            EXPECT_EQ(want.elements[e].text, got->elements[e].text);
        }
    }
}

TEST_F(Described, ClassAndPropertyNamesIgnoreLetterCase) {
    auto machine = Machine(R"({"wmi": {"Win32_QuickFixEngineering": [
        {"HotFixID": "KB2393802", "Description": "Security Update"},
        {"HotFixID": "KB976902", "Description": "Update"}
    ]}})");
    Wmi& wmi = machine.wmi();
    ASSERT_EQ(0, wmi.Connect());
    const std::vector<std::wstring> expected = {L"KB2393802", L"KB976902"};
    EXPECT_EQ(expected, Texts(wmi, L"Select * from Win32_QuickFixEngineering", L"HotFixId"));
    EXPECT_EQ(expected, Texts(wmi, L"SELECT * FROM WIN32_QUICKFIXENGINEERING", L"hotfixid"));
    EXPECT_EQ(std::vector<std::wstring>{L"KB976902"},
              Texts(wmi, L"select * from win32_quickfixengineering where HOTFIXID = 'kb976902'",
                    L"HotFixID"));
}

struct FilterCase {
    std::wstring wql;
    std::vector<std::wstring> names;
};

TEST_F(Described, WhereSelectsAmongTheObjects) {
    auto machine = Machine(R"({
      "host": {"userName": "J\u00fcrgen"},
      "wmi": {
        "Win32_NetworkAdapterConfiguration": [
          {"Description": "RAS Async Adapter", "IPEnabled": false},
          {"Description": "Intel(R) PRO/1000 MT", "IPEnabled": true,
           "IPAddress": ["192.168.1.20"]},
          {"Description": "Microsoft ISATAP Adapter"},
          {"Description": "Broadcom 802.11g", "IPEnabled": true, "IPAddress": null}
        ],
        "Win32_QuickFixEngineering": [
          {"Description": "Security Update", "HotFixID": "KB1"},
          {"Description": "", "HotFixID": "KB2"},
          {"Description": null, "HotFixID": "KB3"},
          {"HotFixID": "KB4"},
          {"Description": "Hotfix", "HotFixID": "KB5"}
        ],
        "Win32_OptionalFeature": [
          {"Name": "TelnetClient", "InstallState": {"uint32": 1}},
          {"Name": "IIS-WebServer", "InstallState": {"uint32": 2}},
          {"Name": "MediaPlayback", "InstallState": 1}
        ],
        "Win32_UserAccount": [
          {"Name": "Administrator"},
          {"Name": "j\u00dcrgen", "FullName": "J\u00fcrgen M\u00fcller"},
          {"Name": "O'Brien", "FullName": "Niamh O'Brien"},
          {"Name": "Guest"}
        ],
        "Win32_ServerFeature": []
      }})");
    Wmi& wmi = machine.wmi();
    ASSERT_EQ(0, wmi.Connect());
    const std::vector<FilterCase> cases = {
        {L"Select * from Win32_NetworkAdapterConfiguration Where IPEnabled=TRUE",
         {L"Intel(R) PRO/1000 MT", L"Broadcom 802.11g"}},
        {L"Select * from Win32_NetworkAdapterConfiguration Where IPEnabled=FALSE",
         {L"RAS Async Adapter"}},
        {L"Select * from Win32_NetworkAdapterConfiguration",
         {L"RAS Async Adapter", L"Intel(R) PRO/1000 MT", L"Microsoft ISATAP Adapter",
          L"Broadcom 802.11g"}},
        {L"Select * from Win32_QuickFixEngineering Where Description != ''",
         {L"Security Update", L"Hotfix"}},
        {L"Select * from Win32_OptionalFeature Where InstallState = 1",
         {L"TelnetClient", L"MediaPlayback"}},
        {L"Select * from Win32_OptionalFeature Where InstallState != 1 AND Name <> 'x'",
         {L"IIS-WebServer"}},
        {L"Select * from Win32_UserAccount where Name = 'J\u00fcrgen'",
         {L"J\u00fcrgen M\u00fcller"}},
        {L"Select * from Win32_UserAccount where Name = '" + WqlStringText(L"O'Brien") + L"'",
         {L"Niamh O'Brien"}},
        {L"Select * from Win32_ServerFeature", {}},
        {L"Select * from Win32_NoSuchClass", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.wql));
        const std::wstring property = c.wql.find(L"UserAccount") != std::wstring::npos ? L"FullName"
                                      : c.wql.find(L"Feature") != std::wstring::npos
                                          ? L"Name"
                                          : L"Description";
        const auto rows = Select(wmi, c.wql, {property});
        ASSERT_TRUE(rows.has_value());
        std::vector<std::wstring> got;
        for (const auto& row : *rows)
            got.push_back(row[0] ? row[0]->text : L"<missing>");
        EXPECT_EQ(c.names, got);
    }
}

TEST_F(Described, ObjectsOutliveTheMachineThatMadeThem) {
    std::unique_ptr<WmiObjects> objects;
    {
        auto machine = Machine(R"({"wmi": {"Win32_BIOS": [{"Name": "Phoenix"}]}})");
        ASSERT_EQ(0, machine.wmi().Connect());
        objects = machine.wmi().ExecQuery(L"Select * from Win32_BIOS");
        ASSERT_NE(nullptr, objects);
        machine.wmi().Disconnect();
    }
    ASSERT_TRUE(objects->Next());
    WmiValue value;
    ASSERT_TRUE(objects->Get(L"Name", value));
    EXPECT_EQ(L"Phoenix", value.text);
    EXPECT_FALSE(objects->Next());
    EXPECT_FALSE(objects->Get(L"Name", value));
}

TEST_F(Described, MissingPropertiesAndRefusedStatementsGiveNothing) {
    auto machine = Machine(R"({"wmi": {"Win32_BIOS": [{"Name": "Phoenix"}]}})");
    Wmi& wmi = machine.wmi();
    EXPECT_EQ(nullptr, wmi.ExecQuery(L"Select * from Win32_BIOS")) << "before Connect";
    ASSERT_EQ(0, wmi.Connect());
    auto objects = wmi.ExecQuery(L"Select * from Win32_BIOS");
    ASSERT_NE(nullptr, objects);
    WmiValue value;
    EXPECT_FALSE(objects->Get(L"Name", value)) << "before the first Next";
    ASSERT_TRUE(objects->Next());
    EXPECT_FALSE(objects->Get(L"SerialNumber", value));
    EXPECT_EQ(nullptr, wmi.ExecQuery(L"Select Name from Win32_BIOS"));
    EXPECT_EQ(nullptr, wmi.ExecQuery(L"Select * from Win32_BIOS where Name > 'A'"));
    wmi.Disconnect();
    EXPECT_EQ(nullptr, wmi.ExecQuery(L"Select * from Win32_BIOS"));
}

TEST_F(Described, NoWmiSectionMeansNoConnection) {
    auto machine = Machine(R"({"host": {}})");
    EXPECT_EQ(1, machine.wmi().Connect());
    EXPECT_EQ(nullptr, machine.wmi().ExecQuery(L"Select * from Win32_BIOS"));

    auto empty = Machine(R"({"wmi": {}})");
    ASSERT_EQ(0, empty.wmi().Connect());
    EXPECT_EQ(0u, CountObjects(empty.wmi(), L"Select * from Win32_BIOS"));
}

TEST_F(Described, NamespacesBesideTheDefaultOne) {
    const std::string namespaces = R"(
      "namespaces": {"ROOT\\CIMV2\\Security\\MicrosoftTpm": {
        "Win32_Tpm": [{"SpecVersion": "2.0, 0, 1.38"}]}, "ROOT\\WMI": {"X": [{}]}}})";
    auto user = Machine(R"({"host": {"administrator": false},)" + namespaces);
    ASSERT_EQ(0, user.wmi().Connect());
    EXPECT_EQ(nullptr, user.wmi().ExecQueryIn(L"ROOT\\CIMV2\\Security\\MicrosoftTpm",
                                              L"Select * from Win32_Tpm"))
        << "the TPM's namespace takes administrator rights";
    EXPECT_TRUE(user.wmi().ExecQueryIn(L"ROOT\\WMI", L"Select * from X")->Next());

    auto machine = Machine(R"({"host": {"administrator": true},
      "wmi": {"Win32_BIOS": [{"Name": "B"}]},)" +
                           namespaces);
    Wmi& wmi = machine.wmi();
    ASSERT_EQ(0, wmi.Connect());
    auto tpm = wmi.ExecQueryIn(L"root\\CIMV2\\security\\MicrosoftTpm", L"Select * from Win32_Tpm");
    ASSERT_NE(nullptr, tpm);
    WmiValue version;
    ASSERT_TRUE(tpm->Next() && tpm->Get(L"SpecVersion", version));
    EXPECT_EQ(L"2.0, 0, 1.38", version.text);
    EXPECT_EQ(0u, CountObjects(wmi, L"Select * from Win32_Tpm")) << "not in ROOT\\CIMV2";
    EXPECT_FALSE(wmi.ExecQueryIn(L"ROOT\\WMI", L"Select * from Win32_Tpm")->Next());
    EXPECT_EQ(1u, CountObjects(wmi, L"Select * from Win32_BIOS"));
}

TEST_F(Described, PlatformFactsOfAWindowsMachine) {
    auto machine = Machine(
        R"({"platform": {"firmwareType": "UEFI", "secureBoot": "Off", "virtualization": "kvm"}})");
    const PlatformFacts facts = machine.ServicesFor().platformInfo->Facts();
    EXPECT_EQ(L"Windows", facts.osFamily);
    EXPECT_EQ(L"UEFI", facts.firmwareType);
    EXPECT_EQ(L"Off", facts.secureBoot);
    EXPECT_EQ(L"kvm", facts.virtualization);
    EXPECT_EQ(L"", facts.initSystem);
    const PlatformFacts unknown = Machine("{}").ServicesFor().platformInfo->Facts();
    EXPECT_EQ(L"Windows", unknown.osFamily);
    EXPECT_EQ(L"", unknown.firmwareType);
}

// ---- services ----

TEST_F(Described, ServicesAreListedInFileOrderWithTheirStatus) {
    auto machine = Machine(R"({"services": [
        {"name": "Dhcp", "displayName": "DHCP Client", "status": [32, 4, 1, 0, 0, 0, 0]},
        {"name": "Beep", "displayName": "Beep", "status": [1, 1, 0, 1077, 0, 0, 0],
         "startMode": "System"},
        {"name": "Odd", "displayName": "Odd \"one\" <i>", "status":
            [16, 9, 0, -1, 4294967295, 3, 2000], "startMode": ""}
    ]})");
    const ServiceListing listing = machine.serviceManager().ListServices();
    EXPECT_EQ(ServiceListing::Failure::None, listing.failure);
    ASSERT_EQ(3u, listing.services.size());
    EXPECT_EQ(L"Dhcp", listing.services[0].serviceName);
    EXPECT_EQ(L"DHCP Client", listing.services[0].displayName);
    EXPECT_EQ(L"Odd \"one\" <i>", listing.services[2].displayName);
    const std::uint32_t expected[3][7] = {
        {32, 4, 1, 0, 0, 0, 0},
        {1, 1, 0, 1077, 0, 0, 0},
        {16, 9, 0, 4294967295u, 4294967295u, 3, 2000},
    };
    // The state is named from the status block; a number Windows has no name for, none.
    const wchar_t* const states[3][2] = {{L"Running", L""}, {L"Stopped", L"System"}, {L"", L""}};
    for (std::size_t s = 0; s < 3; ++s) {
        for (std::size_t n = 0; n < 7; ++n)
            EXPECT_EQ(expected[s][n], listing.services[s].status[n]) << s << ", " << n;
        EXPECT_EQ(states[s][0], listing.services[s].state) << s;
        EXPECT_EQ(states[s][1], listing.services[s].startMode) << s;
    }
}

TEST(ServiceTexts, WindowsNamesOfStatesAndStartTypes) {
    const std::vector<std::wstring> states = {
        L"",        L"Stopped",          L"Start Pending", L"Stop Pending",
        L"Running", L"Continue Pending", L"Pause Pending", L"Paused",
        L""};
    for (std::uint32_t n = 0; n < states.size(); ++n)
        EXPECT_EQ(states[n], ServiceStateText(n)) << n;
    const std::vector<std::wstring> modes = {L"Boot",   L"System",   L"Auto",
                                             L"Manual", L"Disabled", L""};
    for (std::uint32_t n = 0; n < modes.size(); ++n)
        EXPECT_EQ(modes[n], ServiceStartModeText(n)) << n;
}

struct ListingFailureCase {
    std::string json;
    ServiceListing::Failure failure;
    long error;
    std::size_t services;
};

TEST_F(Described, ServiceListingCanFail) {
    const std::vector<ListingFailureCase> cases = {
        {R"({"services": {"failure": "open", "error": 5}})", ServiceListing::Failure::Open, 5, 0},
        {R"({"services": {"failure": "list", "error": 234, "list": [
            {"name": "a", "displayName": "A", "status": [16, 4, 0, 0, 0, 0, 0]}]}})",
         ServiceListing::Failure::List, 234, 1},
        {R"({"services": {"failure": "close", "error": 6, "list": []}})",
         ServiceListing::Failure::Close, 6, 0},
        {R"({"services": {"list": []}})", ServiceListing::Failure::None, 0, 0},
        {R"({})", ServiceListing::Failure::None, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        auto machine = Machine(c.json);
        const ServiceListing listing = machine.serviceManager().ListServices();
        EXPECT_EQ(c.failure, listing.failure);
        EXPECT_EQ(c.error, listing.error);
        EXPECT_EQ(c.services, listing.services.size());
    }
    auto machine = Machine("{}");
    EXPECT_EQ(L"Access is denied.\r\n", machine.serviceManager().SystemMessage(5));
    EXPECT_EQ(L"", machine.serviceManager().SystemMessage(99999));
}

// ---- registry ----

struct RegistryCase {
    std::wstring name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
};

TEST_F(Described, RegistryValuesKeepTheirTypes) {
    auto machine = Machine(R"({"registry": {
        "HKLM\\SOFTWARE\\Test": {
            "Text": "C:\\Program Files\\caf\u00e9",
            "Blank": "",
            "Dword": {"dword": 4294967295},
            "Order": {"dword": 305419896},
            "Expand": {"expand": "%SystemRoot%\\system32"},
            "Multi": {"multi": ["one", "two"]},
            "NoLines": {"multi": []},
            "Binary": {"binary": "00fF10"},
            "Qword": {"qword": 18446744073709551615},
            "Bytes": {"qword": 72623859790382856}
        }
    }})");
    using Bytes = std::vector<std::uint8_t>;
    const std::vector<RegistryCase> cases = {
        {L"Text", kRegSz, WideDataOf(std::wstring(L"C:\\Program Files\\caf\u00e9") + L'\0')},
        {L"Blank", kRegSz, WideDataOf(std::wstring(1, L'\0'))},
        {L"Dword", kRegDword, Bytes{0xFF, 0xFF, 0xFF, 0xFF}},
        {L"Order", kRegDword, Bytes{0x78, 0x56, 0x34, 0x12}},
        {L"Expand", kRegExpandSz, WideDataOf(std::wstring(L"%SystemRoot%\\system32") + L'\0')},
        {L"Multi", kRegMultiSz, WideDataOf(std::wstring(L"one\0two\0\0", 9))},
        {L"NoLines", kRegMultiSz, WideDataOf(std::wstring(1, L'\0'))},
        {L"Binary", kRegBinary, Bytes{0x00, 0xFF, 0x10}},
        {L"Qword", kRegQword, Bytes(8, 0xFF)},
        {L"Bytes", kRegQword, Bytes{0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.name));
        const auto value = ReadValue(machine.registry(), L"SOFTWARE\\Test", c.name);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(c.type, value->type);
        EXPECT_EQ(c.data, value->data);
    }
    // Values keep file order; their names ignore letter case when read.
    std::vector<std::wstring> names;
    for (const auto& c : cases)
        names.push_back(c.name);
    EXPECT_EQ(names, ValueNames(machine.registry(), L"SOFTWARE\\Test"));
    EXPECT_TRUE(ReadValue(machine.registry(), L"software\\test", L"DWORD").has_value());
}

TEST_F(Described, RegistryRootsAndEmptyKeys) {
    auto machine = Machine(R"({"registry": {
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Long": {"V": "long"},
        "hklm\\SOFTWARE\\Short\\Deeper\\Still": {},
        "HKCU\\Software\\ZEPH\\Fennock": {"Version": "1.0.32278"},
        "HKEY_USERS\\S-1-5-18\\Software": {"V": "system"}
    }})");
    Registry& registry = machine.registry();
    EXPECT_EQ(L"long", ReadText(registry, L"SOFTWARE\\Long", L"V").value_or(L"<none>"));
    // A key listed without values exists, and so do the keys above it.
    EXPECT_EQ(std::vector<std::wstring>{L"Still"},
              Subkeys(registry, L"SOFTWARE\\Short\\Deeper", kKeyRead));
    EXPECT_TRUE(ValueNames(registry, L"SOFTWARE\\Short\\Deeper\\Still").empty());

    RegKey key = 0;
    ASSERT_EQ(kErrorSuccess,
              registry.OpenKey(kCurrentUser, L"Software\\ZEPH\\Fennock", kKeyRead, &key));
    registry.CloseKey(key);
    ASSERT_EQ(kErrorSuccess, registry.OpenKey(kUsers, L"S-1-5-18\\Software", kKeyRead, &key));
    registry.CloseKey(key);
    EXPECT_EQ(kErrorFileNotFound,
              registry.OpenKey(kLocalMachine, L"SOFTWARE\\Missing", kKeyRead, &key));
}

struct ViewCase {
    std::uint32_t access;
    std::wstring machineId;
};

TEST_F(Described, ThirtyTwoBitViewOfASixtyFourBitMachine) {
    auto machine = Machine(R"({
      "host": {"machine64Bit": true},
      "registry": {
        "HKLM\\SOFTWARE\\Zeph": {"MachineId": "native"},
        "HKLM\\SOFTWARE\\Wow6432Node\\Zeph": {"MachineId": "redirected"}
      }})");
    // The program is a 32-bit process: without a view flag it sees the 32-bit view.
    const std::vector<ViewCase> cases = {
        {kKeyRead, L"redirected"},
        {kKeyRead | kKeyWow64_32, L"redirected"},
        {kKeyRead | kKeyWow64_64, L"native"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.machineId,
                  ReadText(machine.registry(), L"SOFTWARE\\Zeph", L"MachineId", c.access)
                      .value_or(L"<none>"))
            << c.access;
}

TEST_F(Described, OneViewOnAThirtyTwoBitMachine) {
    auto machine = Machine(R"({
      "host": {"machine64Bit": false},
      "registry": {"HKLM\\SOFTWARE\\Zeph": {"MachineId": "only"}}})");
    for (std::uint32_t access : {kKeyRead, kKeyRead | kKeyWow64_32, kKeyRead | kKeyWow64_64})
        EXPECT_EQ(L"only", ReadText(machine.registry(), L"SOFTWARE\\Zeph", L"MachineId", access)
                               .value_or(L"<none>"))
            << access;
    EXPECT_TRUE(Subkeys(machine.registry(), L"SOFTWARE\\Wow6432Node", kKeyRead).empty());
}

// ---- host ----

struct HostCase {
    std::string json;
    std::wstring userName;
    bool administrator;
    bool wow64;
    bool machine64Bit;
    std::optional<WindowsVersion> version;
    std::wstring windowsFolder;
};

TEST_F(Described, HostAnswers) {
    const std::vector<HostCase> cases = {
        {R"({})", L"", false, false, false, std::nullopt, L"C:\\Windows"},
        {R"({"host": {"userName": "J\u00fcrgen", "administrator": true, "wow64": false,
             "machine64Bit": false, "windowsVersion": "5.1", "windowsFolder": "C:\\WINDOWS"}})",
         L"J\u00fcrgen", true, false, false, WindowsVersion{true, 5, 1}, L"C:\\WINDOWS"},
        {R"({"host": {"machine64Bit": true, "windowsVersion": "6.1"}})", L"", false, true, true,
         WindowsVersion{true, 6, 1}, L"C:\\Windows"},
        {R"({"host": {"wow64": true}})", L"", false, true, true, std::nullopt, L"C:\\Windows"},
        {R"({"host": {"windowsVersion": "4.10", "ntFamily": false}})", L"", false, false, false,
         WindowsVersion{false, 4, 10}, L"C:\\Windows"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        auto machine = Machine(c.json);
        DescribedHost& host = machine.host();
        EXPECT_EQ(c.userName, host.UserName());
        EXPECT_EQ(c.administrator, host.IsAdministrator());
        EXPECT_EQ(c.wow64, host.IsWow64());
        EXPECT_EQ(c.machine64Bit, host.Is64BitMachine());
        EXPECT_EQ(c.windowsFolder, host.WindowsFolder());
        const auto version = host.GetWindowsVersion();
        ASSERT_EQ(c.version.has_value(), version.has_value());
        if (version) {
            EXPECT_EQ(c.version->ntFamily, version->ntFamily);
            EXPECT_EQ(c.version->major, version->major);
            EXPECT_EQ(c.version->minor, version->minor);
        }
        // The machine keeps its id in its registry, not in the host.
        EXPECT_EQ(L"", host.MachineId());
        // What concerns this program comes from where it runs.
        EXPECT_EQ(running_.dataFolder, host.DataFolder());
        EXPECT_EQ(running_.tempFolder, host.TempFolder());
        EXPECT_EQ(L'/', host.PathSeparator());
        EXPECT_EQ(32278, host.OwnFileVersion().revision);
    }
    Machine(R"({"host": {}})").host().Sleep(30);
    EXPECT_EQ(std::vector<unsigned>{30}, running_.sleeps);
}

TEST_F(Described, InstalledServicesAnswerForTheMachine) {
    auto machine = Machine(R"({
      "host": {"userName": "described"},
      "wmi": {"Win32_BIOS": [{"Name": "Described BIOS"}]},
      "registry": {"HKLM\\SOFTWARE\\Zeph": {"MachineId": "id"}},
      "services": [{"name": "a", "displayName": "A", "status": [16, 4, 0, 0, 0, 0, 0]}]})");
    const Services services = machine.ServicesFor();
    EXPECT_EQ(nullptr, services.ui);
    EXPECT_EQ(nullptr, services.progress);
    Host* const before = &GetHost();
    {
        ServicesScope scope(services);
        EXPECT_EQ(L"described", GetHost().UserName());
        EXPECT_EQ(L"C:\\Windows", GetHost().WindowsFolder());
        EXPECT_EQ(L"id", ReadText(GetRegistry(), L"SOFTWARE\\Zeph", L"MachineId").value_or(L""));
        ASSERT_EQ(0, GetWmi().Connect());
        EXPECT_EQ(std::vector<std::wstring>{L"Described BIOS"},
                  Texts(GetWmi(), L"Select * from Win32_BIOS", L"Name"));
        EXPECT_EQ(1u, GetServiceManager().ListServices().services.size());
    }
    EXPECT_EQ(before, &GetHost());

    // Moving the machine keeps what it handed out valid.
    DescribedMachine moved = std::move(machine);
    EXPECT_EQ(services.host, &moved.host());
    EXPECT_EQ(L"described", services.host->UserName());
}

TEST_F(Described, LoadsAFile) {
    TempFolder temp;
    const std::wstring path = temp.Slashed() + L"machine \u00e9.json";
    ASSERT_TRUE(platform::WriteWholeFile(
        path, "\xEF\xBB\xBF{\"host\": {\"userName\": \"from a file\"}}\r\n"));
    std::wstring error = L"stale";
    auto machine = DescribedMachine::Load(path, error, running_);
    ASSERT_TRUE(machine.has_value()) << WideToUtf8(error);
    EXPECT_EQ(L"", error);
    EXPECT_EQ(L"from a file", machine->host().UserName());
}

// ---- failures ----

struct ErrorCase {
    std::string json;
    std::wstring error;
};

class DescribedFailure : public Described {
  protected:
    void Check(const std::vector<ErrorCase>& cases) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.json);
            EXPECT_EQ(L"m.json: " + c.error, Error(c.json));
        }
    }
};

// The place counts characters from 1 up to the byte the library refused; the reason is the
// library's, without its own place (in bytes) or its echo of the text.
TEST_F(DescribedFailure, MalformedJsonNamesLineAndColumn) {
    const std::wstring value = L"syntax error while parsing value - ";
    const std::wstring key = L"syntax error while parsing object key - ";
    Check({
        {"", L"line 1, column 1: " + value +
                 L"unexpected end of input; expected '[', '{', or a literal"},
        {"{\n  \"host\": {\n    \"userName\": \"x\",\n  }\n}",
         L"line 4, column 3: " + key + L"unexpected '}'; expected string literal"},
        {"{\r\n\"a\":\r\n}",
         L"line 3, column 1: " + value + L"unexpected '}'; expected '[', '{', or a literal"},
        // Columns count characters, not bytes; a byte-order mark is no character.
        {"{\"comment\": \"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\", x}",
         L"line 1, column 20: " + key + L"invalid literal"},
        {"\xEF\xBB\xBF{\"a\" 1}",
         L"line 1, column 6: syntax error while parsing object separator - unexpected number "
         L"literal; expected ':'"},
        {"\xEF\xBB\xBF\xEF\xBB\xBF{}", L"line 1, column 1: " + value + L"invalid literal"},
        {R"({"host": {"userName": "abc)",
         L"line 1, column 27: " + value + L"invalid string: missing closing quote"},
        {"{} {}", L"line 1, column 4: " + value + L"unexpected '{'; expected end of input"},
        {"{\"comment\": \"a\tb\"}",
         L"line 1, column 15: " + value +
             L"invalid string: control character U+0009 (HT) must be escaped to \\u0009 or \\t"},
        // Text a description cannot hold is refused where it stands, not mended.
        {"{\"host\": {\"userName\": \"ab\xFF\"}}",
         L"line 1, column 26: " + value + L"invalid string: ill-formed UTF-8 byte"},
        {"{\"comment\": \"\xED\xA0\x80\"}",
         L"line 1, column 15: " + value + L"invalid string: ill-formed UTF-8 byte"},
        {R"({"comment": "a\ud800b"})",
         L"line 1, column 21: " + value +
             L"invalid string: surrogate U+D800..U+DBFF must be followed by U+DC00..U+DFFF"},
        {"[0, 1e400]", L"line 1, column 9: number overflow parsing '1e400'"},
    });
}

TEST_F(DescribedFailure, WrongTypesNameTheJsonPath) {
    Check({
        {R"([])", L"expected a JSON object at the top level"},
        {R"({"host": []})", L"host: expected an object"},
        {R"({"host": {"userName": 5}})", L"host.userName: expected a string"},
        {R"({"host": {"wow64": "yes"}})", L"host.wow64: expected true or false"},
        {R"({"host": {"windowsVersion": 5.1}})",
         L"host.windowsVersion: expected a string such as \"5.1\""},
        {R"({"wmi": []})", L"wmi: expected an object of classes"},
        {R"({"wmi": {"Win32_X": {}}})", L"wmi.Win32_X: expected an array of objects"},
        {R"({"wmi": {"Win32_X": [{"Name": "a"}, 5]}})",
         L"wmi.Win32_X[1]: expected an object of properties"},
        {R"({"wmi": {"Win32_X": [{"IPAddress": ["a", ["b"]]}]}})",
         L"wmi.Win32_X[0].IPAddress[1]: expected a single value (an array holds no arrays)"},
        {R"({"wmi": {"Win32_X": [{"Size": {"string": 5}}]}})",
         L"wmi.Win32_X[0].Size.string: expected a string"},
        {R"({"wmi": {"Win32_X": [{"On": {"boolean": 1}}]}})",
         L"wmi.Win32_X[0].On.boolean: expected true or false"},
        {R"({"wmi": {"Win32_X": [{"Size": {"uint32": 1, "int16": 2}}]}})",
         L"wmi.Win32_X[0].Size: expected one typed value such as {\"uint32\": 4} (types: int16, "
         L"int32, uint32, string, boolean, other, empty)"},
        {R"({"registry": []})", L"registry: expected an object of keys"},
        {R"({"registry": {"HKLM\\SOFTWARE\\X": []}})",
         L"registry[\"HKLM\\SOFTWARE\\X\"]: expected an object of values"},
        {R"({"registry": {"HKLM\\SOFTWARE\\X": {"Display Name": 5}}})",
         L"registry[\"HKLM\\SOFTWARE\\X\"][\"Display Name\"]: expected a string or one typed "
         L"value such as {\"dword\": 1} (types: dword, qword, expand, multi, binary)"},
        {R"({"registry": {"HKLM\\SOFTWARE\\X": {"V": {"multi": ["a", 1]}}}})",
         L"registry[\"HKLM\\SOFTWARE\\X\"].V.multi[1]: expected a string"},
        {R"({"registry": {"HKLM\\SOFTWARE\\X": {"V": {"multi": "a"}}}})",
         L"registry[\"HKLM\\SOFTWARE\\X\"].V.multi: expected an array of strings"},
        {R"({"registry": {"HKLM\\SOFTWARE\\X": {"V": {"expand": 1}}}})",
         L"registry[\"HKLM\\SOFTWARE\\X\"].V.expand: expected a string"},
        {R"({"registry": {"HKLM\\SOFTWARE\\X": {"V": {"binary": "0g"}}}})",
         L"registry[\"HKLM\\SOFTWARE\\X\"].V.binary: expected a string of hexadecimal digit "
         L"pairs such as \"00ff\""},
        {R"({"registry": {"HKLM\\SOFTWARE\\X": {"V": {"binary": "abc"}}}})",
         L"registry[\"HKLM\\SOFTWARE\\X\"].V.binary: expected a string of hexadecimal digit "
         L"pairs such as \"00ff\""},
        {R"({"services": 5})",
         L"services: expected an array of services, or an object with list, failure and error"},
        {R"({"services": {"list": 5}})",
         L"services.list: expected an array of services, or an object with list, failure and "
         L"error"},
        {R"({"services": [5]})", L"services[0]: expected an object with name, displayName, status"},
        {R"({"services": [{"name": "a", "displayName": "b", "status": [1, 2, 3]}]})",
         L"services[0].status: expected an array of the seven status numbers: type, state, "
         L"controls accepted, Win32 exit code, service-specific exit code, check point, wait "
         L"hint"},
        {R"({"services": [{"name": "a", "displayName": "b", "status": [16, "4", 0, 0, 0, 0, 0]}]})",
         L"services[0].status[1]: expected a 32-bit integer"},
        {R"({"services": [{"name": 1, "displayName": "b", "status": [16, 4, 0, 0, 0, 0, 0]}]})",
         L"services[0].name: expected a string"},
        {R"({"services": {"failure": "crash"}})",
         L"services.failure: expected \"open\", \"list\" or \"close\""},
    });
}

// An object of many members, whose names are looked up rather than compared one by one.
std::string ManyProperties() {
    std::string json = R"({"wmi": {"C": [{)";
    for (int i = 0; i < 40; ++i)
        json += "\"P" + std::to_string(i) + "\": 1, ";
    return json;
}

TEST_F(DescribedFailure, UnknownAndMissingParts) {
    Check({
        {R"({"hosts": {}})",
         L"hosts: unknown member (expected one of: host, wmi, namespaces, registry, services, "
         L"platform, comment)"},
        {R"({"namespaces": {"ROOT\\Bad Name": {}}})",
         L"namespaces[\"ROOT\\Bad Name\"]: a namespace is a path of names separated by "
         L"backslashes, such as ROOT\\CIMV2\\Security\\MicrosoftTpm"},
        {R"({"namespaces": {"root\\cimv2": {}}})",
         L"namespaces[\"root\\cimv2\"]: the classes of ROOT\\CIMV2 are given under wmi"},
        {R"({"namespaces": {"ROOT\\WMI": {"X": {}}}})",
         L"namespaces[\"ROOT\\WMI\"].X: expected an array of objects"},
        {R"({"platform": {"firmware": "UEFI"}})",
         L"platform.firmware: unknown member (expected one of: firmwareType, secureBoot, "
         L"virtualization, initSystem)"},
        {R"({"platform": {"secureBoot": "Yes"}})",
         L"platform.secureBoot: expected \"On\", \"Off\", \"Not supported\" or \"\""},
        {R"({"host": {"user": "x"}})",
         L"host.user: unknown member (expected one of: userName, administrator, wow64, "
         L"machine64Bit, windowsVersion, windowsFolder, ntFamily)"},
        {R"({"host": {"machine64Bit": true, "wow64": false}})",
         L"host.wow64: must equal machine64Bit (the program is a 32-bit process)"},
        {R"({"host": {"windowsVersion": "XP"}})",
         L"host.windowsVersion: expected \"major.minor\" such as \"5.1\""},
        {R"({"host": {"windowsVersion": "6"}})",
         L"host.windowsVersion: expected \"major.minor\" such as \"5.1\""},
        {R"({"host": {"windowsVersion": "6.1.7601"}})",
         L"host.windowsVersion: expected \"major.minor\" such as \"5.1\""},
        {R"({"host": {"windowsVersion": ".1"}})",
         L"host.windowsVersion: expected \"major.minor\" such as \"5.1\""},
        {R"({"wmi": {"Win32 X": []}})",
         L"wmi[\"Win32 X\"]: a class name is a letter or underscore followed by letters, digits "
         L"and underscores"},
        {R"({"wmi": {"Win32_X": [{"Bad-Name": 1}]}})",
         L"wmi.Win32_X[0][\"Bad-Name\"]: a property name is a letter or underscore followed by "
         L"letters, digits and underscores"},
        {R"({"wmi": {"Win32_X": [{"Size": {"uint64": "5"}}]}})",
         L"wmi.Win32_X[0].Size.uint64: unknown type (expected one of: int16, int32, uint32, "
         L"string, boolean, other, empty)"},
        {R"({"registry": {"HKXX\\Foo": {}}})",
         L"registry[\"HKXX\\Foo\"]: a key path starts with a root such as HKEY_LOCAL_MACHINE (or "
         L"HKLM), HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_USERS, HKEY_CURRENT_CONFIG"},
        {R"({"registry": {"HKLM\\SOFTWARE\\X": {"V": {"sz": "x"}}}})",
         L"registry[\"HKLM\\SOFTWARE\\X\"].V.sz: unknown type (expected one of: dword, qword, "
         L"expand, multi, binary)"},
        {R"({"services": {"lists": []}})",
         L"services.lists: unknown member (expected one of: list, failure, error)"},
        {R"({"services": [{"name": "a", "displayName": "b", "state": 4}]})",
         L"services[0].state: unknown member (expected one of: name, displayName, status, "
         L"startMode)"},
        {R"({"services": [{"displayName": "b", "status": [16, 4, 0, 0, 0, 0, 0]}]})",
         L"services[0]: the service has no name"},
        {R"({"services": [{"name": "a", "status": [16, 4, 0, 0, 0, 0, 0]}]})",
         L"services[0]: the service has no displayName"},
        {R"({"services": [{"name": "a", "displayName": "b"}]})",
         L"services[0]: the service has no status"},
        // Names that WMI, the registry and the service manager do not tell apart.
        {R"({"wmi": {"Win32_X": [], "WIN32_x": []}})",
         L"wmi.WIN32_x: the class is given twice (class names ignore letter case)"},
        {R"({"wmi": {"Win32_X": [{"HotFixID": "a", "HotFixId": "b"}]}})",
         L"wmi.Win32_X[0].HotFixId: the property is given twice (property names ignore letter "
         L"case)"},
        {ManyProperties() + R"("p3": 2}]}})",
         L"wmi.C[0].p3: the property is given twice (property names ignore letter case)"},
        {R"({"registry": {"HKLM\\SOFTWARE\\X": {"V": "a", "v": "b"}}})",
         L"registry[\"HKLM\\SOFTWARE\\X\"].v: the value is given twice (value names ignore "
         L"letter case)"},
        {R"({"services": [
              {"name": "dhcp", "displayName": "a", "status": [32, 4, 0, 0, 0, 0, 0]},
              {"name": "Dhcp", "displayName": "b", "status": [32, 4, 0, 0, 0, 0, 0]}]})",
         L"services[1].name: the service is listed twice (service names ignore letter case)"},
    });
}

TEST_F(DescribedFailure, IntegersOutOfRange) {
    const std::wstring plain =
        L": expected a signed 32-bit integer (write {\"uint32\": n} for an unsigned one, "
        L"{\"other\": x} for other types)";
    Check({
        {R"({"wmi": {"C": [{"N": 2147483648}]}})", L"wmi.C[0].N" + plain},
        {R"({"wmi": {"C": [{"N": -2147483649}]}})", L"wmi.C[0].N" + plain},
        {R"({"wmi": {"C": [{"N": 1.5}]}})", L"wmi.C[0].N" + plain},
        {R"({"wmi": {"C": [{"N": 1e3}]}})", L"wmi.C[0].N" + plain},
        {R"({"wmi": {"C": [{"N": [1, 99999999999]}]}})", L"wmi.C[0].N[1]" + plain},
        {R"({"wmi": {"C": [{"N": {"uint32": 4294967296}}]}})",
         L"wmi.C[0].N.uint32: expected an integer from 0 to 4294967295"},
        {R"({"wmi": {"C": [{"N": {"uint32": -1}}]}})",
         L"wmi.C[0].N.uint32: expected an integer from 0 to 4294967295"},
        {R"({"wmi": {"C": [{"N": {"uint32": "5"}}]}})",
         L"wmi.C[0].N.uint32: expected an integer from 0 to 4294967295"},
        {R"({"wmi": {"C": [{"N": {"int16": 32768}}]}})",
         L"wmi.C[0].N.int16: expected an integer from -32768 to 32767"},
        {R"({"wmi": {"C": [{"N": {"int16": -32769}}]}})",
         L"wmi.C[0].N.int16: expected an integer from -32768 to 32767"},
        {R"({"wmi": {"C": [{"N": {"int32": 2147483648}}]}})",
         L"wmi.C[0].N.int32: expected an integer from -2147483648 to 2147483647"},
        {R"({"registry": {"HKLM\\S": {"V": {"dword": 4294967296}}}})",
         L"registry[\"HKLM\\S\"].V.dword: expected an integer from 0 to 4294967295"},
        {R"({"registry": {"HKLM\\S": {"V": {"dword": -1}}}})",
         L"registry[\"HKLM\\S\"].V.dword: expected an integer from 0 to 4294967295"},
        {R"({"registry": {"HKLM\\S": {"V": {"qword": 18446744073709551616}}}})",
         L"registry[\"HKLM\\S\"].V.qword: expected an integer from 0 to 18446744073709551615"},
        {R"({"services": [{"name": "a", "displayName": "b",
                           "status": [16, 4, 0, 4294967296, 0, 0, 0]}]})",
         L"services[0].status[3]: expected a 32-bit integer"},
        {R"({"services": [{"name": "a", "displayName": "b",
                           "status": [16, 4, 0, -2147483649, 0, 0, 0]}]})",
         L"services[0].status[3]: expected a 32-bit integer"},
        {R"({"services": {"error": 4294967296}})", L"services.error: expected a Win32 error code"},
    });
}

// What the JSON library allows and a description does not.
TEST_F(DescribedFailure, StricterThanTheJsonLibrary) {
    const std::string deep =
        R"({"comment": )" + std::string(201, '[') + std::string(201, ']') + "}";
    const std::string many = ManyProperties();
    Check({
        {many + R"("P3": 2}]}})",
         L"line 1, column " + std::to_wstring(many.size() + 4) + L": duplicate member name \"P3\""},
        // Told where the library has read the name: at its closing quote.
        {R"({"wmi": {"C": [{"N": 1, "N": 2}]}})",
         L"line 1, column 27: duplicate member name \"N\""},
        {R"({"host": {}, "\u0068ost": {}})", L"line 1, column 24: duplicate member name \"host\""},
        {deep, L"line 1, column 213: nesting deeper than 200 levels"},
        {R"({"comment": )" + std::string(100000, '['),
         L"line 1, column 213: nesting deeper than 200 levels"},
        {R"({"comment": )" + std::string(200, '[') + "null" + std::string(200, ']') + "}",
         L"line 1, column 216: nesting deeper than 200 levels"},
        // The library ends a document at a NUL byte.
        {std::string("{}\0{}", 5),
         L"line 1, column 3: unexpected text after the end of the document"},
        {std::string("{}\n\0", 4),
         L"line 2, column 1: unexpected text after the end of the document"},
    });
}

TEST_F(DescribedFailure, NumbersBeyondSixtyFourBitsAreNoIntegers) {
    const std::wstring plain =
        L": expected a signed 32-bit integer (write {\"uint32\": n} for an unsigned one, "
        L"{\"other\": x} for other types)";
    Check({
        {R"({"wmi": {"C": [{"N": 1e300}]}})", L"wmi.C[0].N" + plain},
        {R"({"wmi": {"C": [{"N": )" + std::string(30, '9') + "}]}}", L"wmi.C[0].N" + plain},
        {R"({"wmi": {"C": [{"N": {"int32": -9223372036854775809}}]}})",
         L"wmi.C[0].N.int32: expected an integer from -2147483648 to 2147483647"},
        {R"({"wmi": {"C": [{"N": {"uint32": -9223372036854775808}}]}})",
         L"wmi.C[0].N.uint32: expected an integer from 0 to 4294967295"},
        {R"({"registry": {"HKLM\\S": {"V": {"qword": 1.0}}}})",
         L"registry[\"HKLM\\S\"].V.qword: expected an integer from 0 to 18446744073709551615"},
        {R"({"registry": {"HKLM\\S": {"V": {"qword": -18446744073709551615}}}})",
         L"registry[\"HKLM\\S\"].V.qword: expected an integer from 0 to 18446744073709551615"},
    });
}

TEST_F(Described, EscapedNulStaysInTheText) {
    auto machine =
        Machine(R"({"host": {"userName": "a\u0000b", "windowsFolder": "\ud83d\ude00"}})");
    EXPECT_EQ(std::wstring(L"a\0b", 3), machine.host().UserName());
    EXPECT_EQ(L"\U0001F600", machine.host().WindowsFolder());
}

TEST_F(Described, TinyNumbersAndNestingAtTheLimitLoad) {
    auto machine = Machine(R"({"comment": )" + std::string(200, '[') + std::string(200, ']') +
                           R"(, "wmi": {"C": [{"Tiny": {"other": -1e-400}, "Zero": -0}]}})");
    ASSERT_EQ(0, machine.wmi().Connect());
    const auto rows = Select(machine.wmi(), L"Select * from C", {L"Tiny", L"Zero"});
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(1u, rows->size());
    EXPECT_EQ(Kind::Other, (*rows)[0][0].value_or(WmiValue::Null()).kind);
    EXPECT_EQ(Kind::Int32, (*rows)[0][1].value_or(WmiValue::Null()).kind);
    EXPECT_EQ(0, (*rows)[0][1].value_or(WmiValue::Null()).number);
}

TEST_F(DescribedFailure, UnreadableFiles) {
    TempFolder temp;
    const std::vector<std::wstring> paths = {
        temp.Slashed() + L"missing.json",
        temp.path().wstring(),
    };
    for (const auto& path : paths) {
        std::wstring error;
        EXPECT_FALSE(DescribedMachine::Load(path, error, running_).has_value());
        EXPECT_EQ(path + L": cannot be read", error);
    }
}

// ---- the shipped machines ----

// A path of the source tree as this build opens it: under Wine the tree is on drive Z:.
std::wstring SourcePath(const std::string& unixPath) {
    std::wstring path = Utf8ToWide(unixPath);
    if (GetHost().PathSeparator() != L'\\')
        return path;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return L"Z:" + path;
}

struct Range {
    std::size_t low;
    std::size_t high;
};

struct ShippedCase {
    std::string file;
    bool machine64Bit;
    WindowsVersion version;
    Range processes;
    Range hotFixes;
    Range programs32;  // the view the program sees by default
    Range programs64;  // only on a 64-bit machine
    Range services;
    Range optionalFeatures;
    Range subcomponents;
};

void ExpectIn(const Range& range, std::size_t count, const char* what) {
    EXPECT_GE(count, range.low) << what;
    EXPECT_LE(count, range.high) << what;
}

TEST_F(Described, ShippedMachinesLoadWithPlausibleContents) {
    const std::vector<ShippedCase> cases = {
        {"xp-desktop.json",
         false,
         WindowsVersion{true, 5, 1},
         {40, 90},
         {25, 60},
         {100, 250},
         {0, 0},
         {100, 200},
         {0, 0},
         {30, 60}},
        {"win7-laptop.json",
         true,
         WindowsVersion{true, 6, 1},
         {90, 160},
         {80, 200},
         {100, 250},
         {150, 300},
         {200, 320},
         {10, 80},
         {0, 0}},
    };
    const std::wstring uninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    const std::wstring subcomponents =
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup\\OC Manager\\Subcomponents";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::wstring error;
        auto machine = DescribedMachine::Load(
            SourcePath(std::string(FENNOCK_MACHINES_DIR) + "/" + c.file), error, running_);
        ASSERT_TRUE(machine.has_value()) << WideToUtf8(error);

        DescribedHost& host = machine->host();
        EXPECT_FALSE(host.UserName().empty());
        EXPECT_EQ(c.machine64Bit, host.Is64BitMachine());
        EXPECT_EQ(c.machine64Bit, host.IsWow64());
        ASSERT_TRUE(host.GetWindowsVersion().has_value());
        EXPECT_EQ(c.version.major, host.GetWindowsVersion()->major);
        EXPECT_EQ(c.version.minor, host.GetWindowsVersion()->minor);

        Wmi& wmi = machine->wmi();
        ASSERT_EQ(0, wmi.Connect());
        // Every class of the catalogue answers, except the server features of a client.
        for (const wchar_t* cls :
             {L"Win32_BIOS", L"Win32_OperatingSystem", L"Win32_ComputerSystem",
              L"Win32_MotherboardDevice", L"Win32_SoundDevice", L"Win32_CDROMDrive",
              L"Win32_VideoController", L"Win32_DesktopMonitor", L"Win32_Registry",
              L"Win32_LogicalDisk", L"Win32_Printer", L"Win32_StartupCommand",
              L"Win32_PhysicalMemory", L"Win32_PhysicalMemoryArray", L"Win32_Processor"})
            EXPECT_GE(CountObjects(wmi, std::wstring(L"Select * from ") + cls), 1u)
                << WideToUtf8(cls);
        EXPECT_EQ(0u, CountObjects(wmi, L"Select * from Win32_ServerFeature"));
        EXPECT_EQ(1u, CountObjects(wmi, L"Select * from Win32_OperatingSystem"));
        EXPECT_GE(CountObjects(wmi,
                               L"Select * from Win32_NetworkAdapterConfiguration Where "
                               L"IPEnabled=TRUE"),
                  1u);
        EXPECT_LT(CountObjects(wmi,
                               L"Select * from Win32_NetworkAdapterConfiguration Where "
                               L"IPEnabled=TRUE"),
                  CountObjects(wmi, L"Select * from Win32_NetworkAdapterConfiguration"));
        EXPECT_EQ(1u, CountObjects(wmi, L"Select * from Win32_UserAccount where Name = '" +
                                            host.UserName() + L"'"));
        ExpectIn(c.processes, CountObjects(wmi, L"Select * from Win32_Process"), "processes");
        ExpectIn(c.hotFixes,
                 CountObjects(wmi,
                              L"Select * from Win32_QuickFixEngineering Where "
                              L"Description != ''"),
                 "hot fixes");
        ExpectIn(c.optionalFeatures,
                 CountObjects(wmi, L"Select * from Win32_OptionalFeature Where InstallState = 1"),
                 "optional features");
        const auto versions = Texts(wmi, L"Select * from Win32_OperatingSystem", L"Version");
        ASSERT_EQ(1u, versions.size());
        EXPECT_EQ(std::to_wstring(c.version.major) + L"." + std::to_wstring(c.version.minor),
                  versions[0].substr(0, 3));

        Registry& registry = machine->registry();
        ExpectIn(c.programs32, Subkeys(registry, uninstall, kKeyRead).size(), "programs");
        if (c.machine64Bit)
            ExpectIn(c.programs64, Subkeys(registry, uninstall, kKeyRead | kKeyWow64_64).size(),
                     "64-bit programs");
        ExpectIn(c.subcomponents, ValueNames(registry, subcomponents).size(), "subcomponents");
        EXPECT_FALSE(ReadText(registry, L"SOFTWARE\\Zeph", L"MachineId").value_or(L"").empty());

        const ServiceListing listing = machine->serviceManager().ListServices();
        ExpectIn(c.services, listing.services.size(), "services");
        const auto count = [&](std::uint32_t type, std::uint32_t state) {
            return std::count_if(
                listing.services.begin(), listing.services.end(),
                [&](const ServiceEntry& s) { return s.status[0] == type && s.status[1] == state; });
        };
        EXPECT_GT(count(1, 4), 0) << "running kernel drivers";
        EXPECT_GT(count(1, 1), 0) << "stopped kernel drivers";
        EXPECT_GT(count(2, 4), 0) << "running file-system drivers";
        EXPECT_GT(count(32, 4), 0) << "running shared services";
        EXPECT_GT(count(16, 4) + count(16, 1), 0) << "own-process services";
    }
}

}  // namespace
