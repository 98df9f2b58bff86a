// The in-memory catalogue and last-scan time that a load reads from the file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store_fixture.h"

namespace storetest {
namespace {

using ::testing::ElementsAre;

class CatalogueTest : public StoreTest {
  protected:
    // Creates the file, lets the test change it behind the store's back, and loads it anew.
    std::unique_ptr<CInventoryDatabase> ReloadAfter(const std::vector<std::wstring>& edits) {
        Open();
        for (const auto& sql : edits) {
            Execute(DbPath(), sql);
        }
        return Open();
    }
};

TEST_F(CatalogueTest, FreshFileGivesTheSeededCatalogueInIdOrder) {
    auto store = Open();
    const auto& queries = store->GetQueries();
    std::vector<std::wstring> names;
    std::vector<std::wstring> types;
    size_t fieldCount = 0;
    for (const auto& query : queries) {
        names.push_back(query.name);
        types.push_back(query.queryType);
        fieldCount += query.fields.size();
        EXPECT_EQ(query.maxRows, query.name == L"StartupCommand" ? 200 : 0) << query.name;
    }
    EXPECT_THAT(
        names,
        ElementsAre(L"Version", L"Process", L"BIOS", L"OperatingSystem", L"ComputerSystem",
                    L"MotherboardDevice", L"SoundDevice", L"CDROMDrive", L"VideoController",
                    L"DesktopMonitor", L"Registry", L"LogicalDisk", L"NetworkAdapterConfiguration",
                    L"Printer", L"StartupCommand", L"PhysicalMemory", L"PhysicalMemoryArray",
                    L"InstalledSoftware32", L"InstalledSoftware64", L"UserAccount",
                    L"QuickFixEngineering", L"Services", L"OptionalFeature", L"Subcomponents",
                    L"ServerFeature", L"Processor", L"DiskDrive", L"USBDevice", L"Platform", L"Tpm",
                    L"InstalledSoftwareUser"));
    EXPECT_EQ(fieldCount, 134u);
    ASSERT_EQ(types.size(), 31u);
    EXPECT_EQ(types[28], L"Platform");
    EXPECT_EQ(types[0], L"Version");
    EXPECT_EQ(types[1], L"Wmi");
    EXPECT_EQ(types[17], L"RegistryKeys");
    EXPECT_EQ(types[21], L"ServiceControl");
    EXPECT_EQ(types[23], L"RegistryValues");
    EXPECT_EQ(queries[18].query,
              L"64:HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    EXPECT_EQ(queries[19].query, L"Select * from Win32_UserAccount where Name = '@@user@@'");

    const QueryDefinition& version = queries[0];
    std::vector<std::wstring> fieldNames;
    for (const auto& field : version.fields) {
        fieldNames.push_back(field.name);
        EXPECT_EQ(field.exportName, field.name);
    }
    EXPECT_THAT(fieldNames,
                ElementsAre(L"FileVersionMajor", L"FileVersionMinor", L"FileVersionRevision",
                            L"DataVersionMajor", L"DataVersionMinor", L"DataVersionRevision",
                            L"RunAsAdmin", L"ZephId"));
    EXPECT_EQ(version.fields.at(5).exportName, L"DataVersionRevision");
}

TEST_F(CatalogueTest, DataVersionRevisionIsStoredAndLoaded) {
    // The Version collector fills rows under export names; with the mended seed the sixth
    // field is no longer lost on the way.
    auto store = Open();
    const QueryDefinition& version = Find(*store, L"Version");
    ResultRow row;
    for (const auto& field : version.fields) {
        row[field.exportName] = L"v-" + field.name;
    }
    EXPECT_EQ(store->StoreRow(version, row), 0);
    SessionData data;
    store->LoadSession(data);
    ASSERT_EQ(data[L"Version"].size(), 1u);
    EXPECT_EQ(data[L"Version"][0].size(), 8u);
    EXPECT_EQ(data[L"Version"][0][L"DataVersionRevision"], L"v-DataVersionRevision");
}

TEST_F(CatalogueTest, LastScanIsTheNewestKeptSession) {
    {
        auto store = Open();
        const std::tm& none = store->GetLastScan();
        EXPECT_EQ(none.tm_year, 0);
        EXPECT_EQ(none.tm_mon, 0);
        EXPECT_EQ(none.tm_mday, 0);
        EXPECT_EQ(none.tm_hour, 0);
        EXPECT_EQ(none.tm_min, 0);
        EXPECT_EQ(none.tm_sec, 0);
    }
    const std::wstring path = DbPath();
    // Sessions in progress do not count; of several kept ones the newest does.
    Execute(path,
            L"INSERT INTO session (status_type_id, created) VALUES "
            L"(1, '2030-01-01 00:00:00'), (2, '2010-05-06 07:08:09'), "
            L"(2, '2009-12-31 23:59:59')");
    auto store = Open();
    const std::tm& last = store->GetLastScan();
    EXPECT_EQ(last.tm_year, 110);
    EXPECT_EQ(last.tm_mon, 4);
    EXPECT_EQ(last.tm_mday, 6);
    EXPECT_EQ(last.tm_hour, 7);
    EXPECT_EQ(last.tm_min, 8);
    EXPECT_EQ(last.tm_sec, 9);
}

TEST_F(CatalogueTest, UnrecognisedLastScanTextGivesZeros) {
    Open();
    Execute(DbPath(), L"INSERT INTO session (status_type_id, created) VALUES (2, 'yesterday')");
    auto store = Open();
    EXPECT_EQ(store->GetLastScan().tm_year, 0);
    EXPECT_EQ(store->GetLastScan().tm_mday, 0);
}

TEST_F(CatalogueTest, MaxRowsTextIsReadAsItsLeadingNumber) {
    struct Case {
        const wchar_t* stored;
        int maxRows;
    };
    for (const Case& c :
         {Case{L"abc", 0}, Case{L"  12xyz", 12}, Case{L"007", 7}, Case{L"", 0}, Case{L"3.9", 3}}) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.stored)));
        auto store = ReloadAfter({L"UPDATE query SET max_rows = '" + std::wstring(c.stored) +
                                  L"' WHERE name = 'StartupCommand'"});
        EXPECT_EQ(Find(*store, L"StartupCommand").maxRows, c.maxRows);
        EXPECT_EQ(Find(*store, L"Process").maxRows, 0);
    }
}

TEST_F(CatalogueTest, QueriesWithSameNameAreBothListedButTheLastKeyListWins) {
    auto store = ReloadAfter({
        L"INSERT INTO query (id, query_type_id, query, name, max_rows, key_field) "
        L"VALUES (99, 2, 'Select * from Win32_Process2', 'Process', 5, 'Name')",
        L"INSERT INTO query_field (query_id, name, export_name) VALUES (99, 'Name', 'Name')",
    });
    const auto& queries = store->GetQueries();
    ASSERT_EQ(queries.size(), 32u);
    EXPECT_EQ(queries[1].name, L"Process");
    EXPECT_EQ(queries[1].fields.size(), 3u);
    EXPECT_EQ(queries[31].name, L"Process");
    EXPECT_EQ(queries[31].query, L"Select * from Win32_Process2");
    EXPECT_EQ(queries[31].maxRows, 5);
    ASSERT_EQ(queries[31].fields.size(), 1u);

    EXPECT_EQ(store->StoreRow(queries[1], {{L"Name", L"a.exe"}, {L"CommandLine", L"a.exe -b"}}), 0);
    const Table keys = Query(DbPath(), L"SELECT DISTINCT key_value FROM session_item");
    EXPECT_THAT(keys, ElementsAre(ElementsAre(L"a.exe")));
}

TEST_F(CatalogueTest, QueryOfUnknownTypeIsLeftOutAndOneWithoutFieldsKept) {
    auto store = ReloadAfter({L"UPDATE query SET query_type_id = 9 WHERE name = 'ComputerSystem'",
                              L"DELETE FROM query_field WHERE query_id = 7"});
    const auto& queries = store->GetQueries();
    ASSERT_EQ(queries.size(), 30u);
    for (const auto& query : queries) {
        EXPECT_NE(query.name, L"ComputerSystem");
    }
    EXPECT_EQ(Find(*store, L"SoundDevice").fields.size(), 0u);
    EXPECT_EQ(Find(*store, L"MotherboardDevice").fields.size(), 2u);
}

TEST_F(CatalogueTest, FieldsKeepTheirStoredNamesAndExportNames) {
    auto store = ReloadAfter(
        {L"UPDATE query_field SET export_name = 'Firmware' WHERE query_id = 3 AND name = 'Name'"});
    const QueryDefinition& bios = Find(*store, L"BIOS");
    ASSERT_EQ(bios.fields.size(), 6u);
    EXPECT_EQ(bios.fields[0].name, L"Name");
    EXPECT_EQ(bios.fields[0].exportName, L"Firmware");

    // Rows match field names; the loaded session shows export names.
    EXPECT_EQ(store->StoreRow(bios, {{L"Name", L"X"}, {L"Firmware", L"ignored"}}), 0);
    SessionData data;
    store->LoadSession(data);
    ASSERT_EQ(data[L"BIOS"].size(), 1u);
    EXPECT_THAT(data[L"BIOS"][0],
                ElementsAre(std::pair<const std::wstring, std::wstring>(L"Firmware", L"X")));
}

}  // namespace
}  // namespace storetest
