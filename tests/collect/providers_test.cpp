// The providers against doubles: what reaches the store for each kind of answer.
#include <gtest/gtest.h>

#include "collect/platform_provider.h"
#include "collect/registry_providers.h"
#include "collect/system_providers.h"
#include "collect/wmi_session.h"
#include "config/linux_config.h"
#include "fake_host.h"
#include "fake_platform_info.h"
#include "fake_service_manager.h"
#include "fake_wmi.h"
#include "platform/memory_registry.h"
#include "platform/services.h"
#include "temp_folder.h"

using namespace platform;
using Kind = WmiValue::Kind;

namespace {

struct Recorder {
    std::vector<ResultRow> rows;
    RowSink Sink() {
        return [this](const QueryDefinition&, const ResultRow& row) { rows.push_back(row); };
    }
};

QueryDefinition Query(const std::wstring& text, std::vector<std::wstring> fields, int maxRows = 0) {
    QueryDefinition query{L"Test", L"Wmi", text, maxRows, {}};
    for (auto& f : fields)
        query.fields.push_back({f, f + L"Export"});
    return query;
}

class WmiProvider : public ::testing::Test {
  protected:
    WmiProvider() : scope_(Services{nullptr, &host_, nullptr, &wmi_}) {
        host_.userName = L"O'Brien";
        session_.Connect();
    }
    FakeHost host_;
    FakeWmi wmi_;
    ServicesScope scope_;
    CWmiSession session_;
    Recorder recorder_;
};

TEST_F(WmiProvider, ValuesBecomeText) {
    FakeWmi::Object object{
        {L"S", WmiValue::String(L"text \"quoted\"")},
        {L"I16", WmiValue::Integer(Kind::Int16, -3)},
        {L"I32", WmiValue::Integer(Kind::Int32, -2147483647 - 1)},
        {L"U32", WmiValue::Integer(Kind::UInt32, 4294967295LL)},
        {L"True", WmiValue::Bool(true)},
        {L"False", WmiValue::Bool(false)},
        {L"Null", WmiValue::Null()},
        {L"Real", WmiValue::Of(Kind::Other)},
        {L"Ips", WmiValue::Array({WmiValue::String(L"10.0.0.5"), WmiValue::String(L"fe80::1")})},
        {L"Mixed", WmiValue::Array({WmiValue::Integer(Kind::UInt32, 7), WmiValue::Bool(true),
                                    WmiValue::Of(Kind::Other)})},
        {L"NoItems", WmiValue::Array({})},
    };
    wmi_.results[L"Select * from X"] = {object};
    CollectWmi(session_,
               Query(L"Select * from X", {L"S", L"I16", L"I32", L"U32", L"True", L"False", L"Null",
                                          L"Real", L"Ips", L"Mixed", L"NoItems", L"Missing"}),
               recorder_.Sink());
    ASSERT_EQ(1u, recorder_.rows.size());
    const ResultRow expected{{L"SExport", L"text \"quoted\""},
                             {L"I16Export", L"-3"},
                             {L"I32Export", L"-2147483648"},
                             {L"U32Export", L"4294967295"},
                             {L"TrueExport", L"-1"},
                             {L"FalseExport", L"0"},
                             {L"NullExport", L""},
                             {L"RealExport", L""},
                             {L"IpsExport", L"10.0.0.5\tfe80::1"},
                             {L"MixedExport", L"7\t-1\t"},
                             {L"NoItemsExport", L""},
                             {L"MissingExport", L""}};
    EXPECT_EQ(expected, recorder_.rows[0]);
}

TEST_F(WmiProvider, RowLimit) {
    std::vector<FakeWmi::Object> objects(250, {{L"Name", WmiValue::String(L"x")}});
    wmi_.results[L"Select * from Win32_StartupCommand"] = objects;
    CollectWmi(session_, Query(L"Select * from Win32_StartupCommand", {L"Name"}, 200),
               recorder_.Sink());
    EXPECT_EQ(200u, recorder_.rows.size());
    recorder_.rows.clear();
    CollectWmi(session_, Query(L"Select * from Win32_StartupCommand", {L"Name"}, 0),
               recorder_.Sink());
    EXPECT_EQ(250u, recorder_.rows.size());
}

TEST_F(WmiProvider, UserNameIsSubstitutedEverywhere) {
    CollectWmi(session_, Query(L"Select * from A where Name = '@@user@@' or B = '@@user@@'", {}),
               recorder_.Sink());
    CollectWmi(session_, Query(L"Select * from A", {}), recorder_.Sink());
    ASSERT_EQ(2u, wmi_.statements.size());
    EXPECT_EQ(L"Select * from A where Name = 'O\\'Brien' or B = 'O\\'Brien'", wmi_.statements[0]);
    EXPECT_EQ(L"Select * from A", wmi_.statements[1]);
}

TEST_F(WmiProvider, ANamespaceBeforeTheStatementIsAskedSeparately) {
    const std::wstring tpm = L"ROOT\\CIMV2\\Security\\MicrosoftTpm";
    wmi_.results[tpm + L":Select * from Win32_Tpm"] = {
        {{L"SpecVersion", WmiValue::String(L"2.0")}}};
    CollectWmi(session_, Query(tpm + L":Select * from Win32_Tpm", {L"SpecVersion"}),
               recorder_.Sink());
    CollectWmi(session_, Query(L"Select * from A Where D = 'C:'", {}), recorder_.Sink());
    EXPECT_EQ((std::vector<std::wstring>{tpm, L"ROOT\\CIMV2"}), wmi_.namespaces);
    EXPECT_EQ(
        (std::vector<std::wstring>{L"Select * from Win32_Tpm", L"Select * from A Where D = 'C:'"}),
        wmi_.statements);
    ASSERT_EQ(1u, recorder_.rows.size());
    EXPECT_EQ(L"2.0", recorder_.rows[0][L"SpecVersionExport"]);
}

TEST_F(WmiProvider, NothingWithoutConnectionOrAnswer) {
    CollectWmi(session_, Query(L"Select * from Unknown", {L"Name"}), recorder_.Sink());
    wmi_.results[L"Select * from X"] = {{{L"Name", WmiValue::String(L"x")}}};
    session_.Disconnect();
    CollectWmi(session_, Query(L"Select * from X", {L"Name"}), recorder_.Sink());
    EXPECT_TRUE(recorder_.rows.empty());
    wmi_.connectable = false;
    EXPECT_EQ(1, session_.Connect());
    EXPECT_EQ(0u, session_.StartQuery(L"Select * from X"));
    EXPECT_TRUE(session_.AtEnd());
    EXPECT_EQ(L"", session_.GetProperty(L"Name"));
}

constexpr wchar_t kUninstall[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class RegistryProvider : public ::testing::Test {
  protected:
    RegistryProvider()
        : registry_(MemoryRegistry::Layout{true, true}),
          scope_(Services{&registry_, nullptr, nullptr}) {}
    ~RegistryProvider() override { EXPECT_EQ(0u, registry_.OpenKeyCount()); }

    QueryDefinition Software(const std::wstring& prefix, int maxRows = 0) {
        return Query(prefix + L"HKEY_LOCAL_MACHINE\\" + kUninstall,
                     {L"DisplayName", L"DisplayVersion", L"Size"}, maxRows);
    }

    MemoryRegistry registry_;
    ServicesScope scope_;
    Recorder recorder_;
};

TEST_F(RegistryProvider, ViewsOfAThirtyTwoBitProcessOnSixtyFourBitWindows) {
    registry_.PutString(kLocalMachine,
                        std::wstring(L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\"
                                     L"CurrentVersion\\Uninstall\\A"),
                        L"DisplayName", L"32-bit app");
    registry_.PutString(kLocalMachine, std::wstring(kUninstall) + L"\\B", L"DisplayName",
                        L"64-bit app");
    CollectRegistryKeys(Software(L""), true, recorder_.Sink());
    CollectRegistryKeys(Software(L"64:"), true, recorder_.Sink());
    ASSERT_EQ(2u, recorder_.rows.size());
    EXPECT_EQ(L"32-bit app", recorder_.rows[0][L"DisplayNameExport"]);
    EXPECT_EQ(L"64-bit app", recorder_.rows[1][L"DisplayNameExport"]);
    recorder_.rows.clear();
    // A 32-bit process on 32-bit Windows: the 64-bit twin adds nothing.
    CollectRegistryKeys(Software(L"64:"), false, recorder_.Sink());
    EXPECT_TRUE(recorder_.rows.empty());
}

TEST_F(RegistryProvider, ValueTypesOfSubkeys) {
    const std::wstring app = std::wstring(
        L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\"
        L"CurrentVersion\\Uninstall\\App");
    registry_.PutString(kLocalMachine, app, L"DisplayName", L"Name\\with \"quotes\"");
    registry_.PutString(kLocalMachine, app, L"DisplayVersion", L"%VERSION%", kRegExpandSz);
    registry_.PutDword(kLocalMachine, app, L"Size", 0xFFFFFFFF);
    registry_.PutKey(kLocalMachine, app + L"Empty");
    CollectRegistryKeys(Software(L""), true, recorder_.Sink());
    ASSERT_EQ(2u, recorder_.rows.size());
    EXPECT_EQ((ResultRow{{L"DisplayNameExport", L"Name\\with \"quotes\""},
                         {L"DisplayVersionExport", L""},
                         {L"SizeExport", L"4294967295"}}),
              recorder_.rows[0]);
    EXPECT_EQ(
        (ResultRow{
            {L"DisplayNameExport", L""}, {L"DisplayVersionExport", L""}, {L"SizeExport", L""}}),
        recorder_.rows[1])
        << "a subkey without values still gives an item";
}

TEST_F(RegistryProvider, SubkeyLimit) {
    for (int i = 0; i < 8; ++i)
        registry_.PutKey(kLocalMachine, std::wstring(L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\"
                                                     L"CurrentVersion\\Uninstall\\K") +
                                            std::to_wstring(i));
    CollectRegistryKeys(Software(L"", 5), true, recorder_.Sink());
    EXPECT_EQ(5u, recorder_.rows.size());
}

TEST_F(RegistryProvider, ValuesOfAKey) {
    const std::wstring key = L"SOFTWARE\\Wow6432Node\\Setup\\Subcomponents";
    for (int i = 0; i < 8; ++i)
        registry_.PutDword(kLocalMachine, key, L"c" + std::to_wstring(i), i % 2);
    registry_.PutString(kLocalMachine, key, L"text", L"on");
    registry_.PutValue(kLocalMachine, key, L"blob", kRegBinary, {1, 2});
    QueryDefinition values =
        Query(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Setup\\Subcomponents", {L"Name", L"Value", L"Third"});
    CollectRegistryValues(values, recorder_.Sink());
    ASSERT_EQ(10u, recorder_.rows.size());
    EXPECT_EQ((ResultRow{{L"NameExport", L"c1"}, {L"ValueExport", L"1"}}), recorder_.rows[1]);
    EXPECT_EQ((ResultRow{{L"NameExport", L"text"}, {L"ValueExport", L"on"}}), recorder_.rows[8]);
    EXPECT_EQ((ResultRow{{L"NameExport", L"blob"}, {L"ValueExport", L""}}), recorder_.rows[9]);

    recorder_.rows.clear();
    values.maxRows = 5;
    CollectRegistryValues(values, recorder_.Sink());
    ASSERT_EQ(5u, recorder_.rows.size());
    EXPECT_EQ(L"c4", recorder_.rows[4][L"NameExport"]);
}

TEST_F(RegistryProvider, QueriesThatNameNoKey) {
    registry_.PutString(kCurrentConfig, L"Software\\X\\Y", L"DisplayName", L"x");
    for (const wchar_t* text : {L"no backslash", L"HKEY_CURRENT_CONFIG\\Software\\X",
                                L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Missing", L""}) {
        CollectRegistryKeys(Query(text, {L"DisplayName"}), true, recorder_.Sink());
        CollectRegistryValues(Query(text, {L"Name", L"Value"}), recorder_.Sink());
    }
    EXPECT_TRUE(recorder_.rows.empty());
}

TEST_F(RegistryProvider, ProgramsOfEachUserHive) {
    const std::wstring uninstall = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    const std::wstring profiles = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
    struct Hive {
        const wchar_t* name;
        const wchar_t* profilePath;  // null: no profile-list entry
        const wchar_t* user;         // null: the hive is skipped
    };
    const Hive hives[] = {
        {L".DEFAULT", nullptr, nullptr},
        {L"S-1-5-18", L"%systemroot%\\system32\\config\\systemprofile", nullptr},
        {L"S-1-5-19", nullptr, nullptr},
        {L"s-1-5-20", nullptr, nullptr},
        {L"S-1-5-21-7-1001", L"C:\\Users\\ann\\", L"ann"},
        {L"S-1-5-21-7-1001_Classes", nullptr, nullptr},
        {L"S-1-5-21-7-1002", nullptr, L"S-1-5-21-7-1002"},
        {L"S-1-5-21-7-1003", L"", L"S-1-5-21-7-1003"},
    };
    for (const Hive& hive : hives) {
        registry_.PutString(kUsers, hive.name + uninstall + L"App", L"DisplayName",
                            std::wstring(L"App of ") + hive.name);
        if (hive.profilePath)
            // The profile list is read in the native view, where Windows keeps it.
            registry_.PutString(kLocalMachine, profiles + hive.name, L"ProfileImagePath",
                                hive.profilePath, kRegExpandSz);
    }
    const std::vector<std::wstring> fields = {L"DisplayName", L"UserName"};
    const std::wstring text = L"HKEY_USERS\\*" + uninstall.substr(0, uninstall.size() - 1);
    CollectRegistryKeys(Query(text, fields), true, recorder_.Sink());
    std::vector<ResultRow> expected;
    for (const Hive& hive : hives)
        if (hive.user)
            expected.push_back({{L"DisplayNameExport", std::wstring(L"App of ") + hive.name},
                                {L"UserNameExport", hive.user}});
    EXPECT_EQ(expected, recorder_.rows);

    recorder_.rows.clear();
    CollectRegistryKeys(Query(text, fields, 2), true, recorder_.Sink());
    EXPECT_EQ(2u, recorder_.rows.size()) << "the row limit counts every user's rows";
    recorder_.rows.clear();
    CollectRegistryKeys(Query(L"HKEY_LOCAL_MACHINE\\*" + uninstall, fields), true,
                        recorder_.Sink());
    EXPECT_TRUE(recorder_.rows.empty()) << "only HKEY_USERS has a hive per user";
}

TEST(RegistryQueryText, RootsAndViews) {
    EXPECT_EQ(kLocalMachine, ParseRootKey(L"64:HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(kCurrentUser, ParseRootKey(L"xHKEY_CURRENT_USERx"));
    EXPECT_EQ(kClassesRoot, ParseRootKey(L"HKEY_CLASSES_ROOT"));
    EXPECT_EQ(kUsers, ParseRootKey(L"HKEY_USERS"));
    EXPECT_EQ(0u, ParseRootKey(L"HKLM"));
    EXPECT_EQ(0u, ParseRootKey(L"HKEY_CURRENT_CONFIG"));
    EXPECT_EQ(kKeyWow64_64, ParseRegistryView(L"64:HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(kKeyWow64_32, ParseRegistryView(L"32:HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(0u, ParseRegistryView(L"HKEY_LOCAL_MACHINE64:"));
}

TEST_F(RegistryProvider, GraphicsMemoryTheDriverRegistered) {
    const std::wstring display =
        L"SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e968-e325-11ce-bfc1-08002be10318}\\";
    const std::vector<std::uint8_t> eightGigabytes = {0, 0, 0, 0, 2, 0, 0, 0};
    struct Adapter {
        const wchar_t* key;
        const wchar_t* driverDesc;
        std::uint32_t type;
        std::vector<std::uint8_t> size;  // empty: no qwMemorySize
    };
    const Adapter adapters[] = {
        {L"0000", L"Wide", kRegQword, eightGigabytes},
        {L"0001", L"Binary", kRegBinary, eightGigabytes},
        {L"0002", L"Short binary", kRegBinary, {0, 0, 0, 2}},
        {L"0003", L"Dword", kRegDword, {0, 0, 0, 2}},
        {L"0004", L"Twin", kRegQword, {}},
        {L"0005", L"Twin", kRegQword, {0, 0, 0, 0, 1, 0, 0, 0}},
    };
    for (const Adapter& adapter : adapters) {
        registry_.PutString(kLocalMachine, display + adapter.key, L"DriverDesc",
                            adapter.driverDesc);
        if (!adapter.size.empty())
            registry_.PutValue(kLocalMachine, display + adapter.key,
                               L"HardwareInformation.qwMemorySize", adapter.type, adapter.size);
    }
    FakeWmi wmi;
    const ServicesScope withWmi(Services{&registry_, nullptr, nullptr, &wmi});
    CWmiSession session;
    session.Connect();
    const struct {
        const wchar_t* name;
        const wchar_t* adapterRam;
    } cases[] = {
        {L"Wide", L"8589934592"},
        {L"Binary", L"8589934592"},
        {L"Short binary", L"4293918720"},  // not a quadword: WMI's figure stays
        {L"Dword", L"4293918720"},
        {L"Twin", L"4294967296"},  // the first adapter of the name that registered a size
        {L"Unregistered", L"4293918720"},
    };
    auto& objects = wmi.results[L"Select * from Win32_VideoController"];
    for (const auto& c : cases)
        objects.push_back({{L"Name", WmiValue::String(c.name)},
                           {L"AdapterRAM", WmiValue::Integer(Kind::UInt32, 4293918720LL)}});
    CollectWmi(session, Query(L"Select * from Win32_VideoController", {L"Name", L"AdapterRAM"}),
               recorder_.Sink());
    ASSERT_EQ(std::size(cases), recorder_.rows.size());
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].adapterRam, recorder_.rows[i][L"AdapterRAMExport"]) << i;

    recorder_.rows.clear();
    wmi.results[L"Select * from Win32_Other"] = {objects[0]};
    CollectWmi(session, Query(L"Select * from Win32_Other", {L"Name", L"AdapterRAM"}),
               recorder_.Sink());
    EXPECT_EQ(L"4293918720", recorder_.rows.at(0)[L"AdapterRAMExport"]) << "another class";
}

class SystemProviders : public ::testing::Test {
  protected:
    SystemProviders()
        : registry_(MemoryRegistry::Layout{true, true}),
          scope_(Services{&registry_, &host_, nullptr, nullptr, &services_}) {
        host_.dataFolder = data_.Slashed();
        host_.machineId = L"machine-1";
        host_.administrator = true;
    }
    TempFolder data_;
    FakeHost host_;
    MemoryRegistry registry_;
    FakeServiceManager services_;
    ServicesScope scope_;
    Recorder recorder_;
};

TEST_F(SystemProviders, VersionRecord) {
    CLinuxConfig config;
    QueryDefinition query = Query(
        L"*", {L"FileVersionMajor", L"FileVersionMinor", L"FileVersionRevision",
               L"DataVersionMajor", L"DataVersionRevision", L"RunAsAdmin", L"ZephId", L"Unknown"});
    CollectVersion(config, query, recorder_.Sink());
    ASSERT_EQ(1u, recorder_.rows.size());
    EXPECT_EQ((ResultRow{{L"FileVersionMajorExport", L"1"},
                         {L"FileVersionMinorExport", L"0"},
                         {L"FileVersionRevisionExport", L"32278"},
                         {L"DataVersionMajorExport", L"0"},
                         {L"DataVersionRevisionExport", L"0"},
                         {L"RunAsAdminExport", L"1"},
                         {L"ZephIdExport", L"machine-1"}}),
              recorder_.rows[0]);
}

TEST_F(SystemProviders, ServicesWithTheirStatus) {
    for (int i = 0; i < 150; ++i)
        services_.listing.services.push_back(
            {L"svc" + std::to_wstring(i),
             L"Service " + std::to_wstring(i),
             {i == 0 ? 1u : 16u, i == 0 ? 1u : 4u, 5, 0, 0, 0, 0xFFFFFFFF},
             i == 0 ? L"Stopped" : L"Running",
             i == 0 ? L"Boot" : L""});
    QueryDefinition query =
        Query(L"*", {L"DisplayName", L"ServiceName", L"ServiceType", L"CurrentState", L"WaitHint",
                     L"State", L"StartMode", L"Nonsense"});
    std::wstring error;
    EXPECT_EQ(0, CollectServices(query, recorder_.Sink(), error));
    ASSERT_EQ(150u, recorder_.rows.size());
    EXPECT_EQ((ResultRow{{L"DisplayNameExport", L"Service 0"},
                         {L"ServiceNameExport", L"svc0"},
                         {L"ServiceTypeExport", L"1"},
                         {L"CurrentStateExport", L"1"},
                         {L"WaitHintExport", L"-1"},
                         {L"StateExport", L"Stopped"},
                         {L"StartModeExport", L"Boot"},
                         {L"NonsenseExport", L""}}),
              recorder_.rows[0]);
    EXPECT_EQ(L"4", recorder_.rows[1][L"CurrentStateExport"]);
    EXPECT_EQ(L"Running", recorder_.rows[1][L"StateExport"]);

    recorder_.rows.clear();
    query.maxRows = 10;
    CollectServices(query, recorder_.Sink(), error);
    EXPECT_EQ(10u, recorder_.rows.size());
    EXPECT_TRUE(error.empty());
}

TEST(PlatformProvider, OneItemOfTheFacts) {
    FakePlatformInfo info;
    info.facts = {L"Linux", L"UEFI", L"Off", L"kvm", L"systemd"};
    ServicesScope scope(Services{.platformInfo = &info});
    Recorder recorder;
    CWmiSession wmi;  // not connected: the TPM cannot be asked
    CollectPlatform(wmi,
                    Query(L"*", {L"OSFamily", L"FirmwareType", L"SecureBoot", L"Virtualization",
                                 L"InitSystem", L"TpmPresent", L"Unknown"}),
                    recorder.Sink());
    ASSERT_EQ(1u, recorder.rows.size());
    EXPECT_EQ((ResultRow{{L"OSFamilyExport", L"Linux"},
                         {L"FirmwareTypeExport", L"UEFI"},
                         {L"SecureBootExport", L"Off"},
                         {L"VirtualizationExport", L"kvm"},
                         {L"InitSystemExport", L"systemd"},
                         {L"TpmPresentExport", L""},
                         {L"UnknownExport", L""}}),
              recorder.rows[0]);
}

TEST_F(SystemProviders, ServiceManagerRefused) {
    services_.listing.failure = ServiceListing::Failure::Open;
    services_.listing.error = 5;
    std::wstring error;
    EXPECT_EQ(-1, CollectServices(Query(L"*", {L"DisplayName"}), recorder_.Sink(), error));
    EXPECT_TRUE(recorder_.rows.empty());
    EXPECT_EQ(L"system message 5\r\n", error);
}

}  // namespace
