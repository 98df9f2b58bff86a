// The file format: tables, indexes, view, seed rows, the version rule and what happens to
// files that are damaged or cannot be opened.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store_fixture.h"
#include "util/text.h"
#include "util/utf.h"

namespace storetest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace fs = std::filesystem;

struct Column {
    const wchar_t* name;
    const wchar_t* type;
    bool notNull;
    const wchar_t* defaultValue;  // as the declaration writes it; empty for none
    bool primaryKey;
};

struct TableShape {
    const wchar_t* name;
    std::vector<Column> columns;
};

const Column kId{L"id", L"INTEGER", true, L"", true};

const std::vector<TableShape>& ExpectedTables() {
    static const std::vector<TableShape> tables = {
        {L"history", {kId, {L"created", L"DATETIME", true, L"", false}}},
        {L"history_item",
         {kId,
          {L"history_id", L"INTEGER", true, L"", false},
          {L"query_id", L"INTEGER", true, L"", false},
          {L"deleted", L"INTEGER", true, L"0", false}}},
        {L"history_item_field",
         {kId,
          {L"history_item_id", L"INTEGER", true, L"", false},
          {L"query_field_id", L"INTEGER", true, L"", false},
          {L"field", L"TEXT", true, L"", false}}},
        {L"post_process",
         {kId,
          {L"query", L"TEXT", true, L"", false},
          {L"sequence", L"INTEGER", true, L"0", false}}},
        {L"pre_process",
         {kId,
          {L"query", L"TEXT", true, L"", false},
          {L"sequence", L"INTEGER", true, L"0", false}}},
        {L"query",
         {kId,
          {L"query_type_id", L"INTEGER", true, L"", false},
          {L"query", L"TEXT", true, L"", false},
          {L"name", L"TEXT", true, L"", false},
          {L"max_rows", L"INTEGER", true, L"0", false},
          {L"key_field", L"TEXT", true, L"", false}}},
        {L"query_field",
         {kId,
          {L"query_id", L"INTEGER", true, L"", false},
          {L"name", L"TEXT", true, L"", false},
          {L"export_name", L"TEXT", true, L"", false}}},
        {L"query_type", {kId, {L"name", L"TEXT", true, L"", false}}},
        {L"session",
         {kId,
          {L"status_type_id", L"INTEGER", true, L"", false},
          {L"created", L"DATETIME", true, L"", false}}},
        {L"session_item",
         {kId,
          {L"session_id", L"INTEGER", true, L"", false},
          {L"query_id", L"INTEGER", true, L"", false},
          {L"key_value", L"TEXT", true, L"''", false}}},
        {L"session_item_field",
         {kId,
          {L"session_item_id", L"INTEGER", true, L"", false},
          {L"query_field_id", L"INTEGER", true, L"", false},
          {L"field", L"TEXT", true, L"", false}}},
        {L"status_type", {kId, {L"name", L"TEXT", true, L"", false}}},
        {L"version",
         {kId,
          {L"major", L"INTEGER", true, L"", false},
          {L"minor", L"INTEGER", true, L"", false},
          {L"build", L"INTEGER", true, L"", false},
          {L"created", L"DATETIME", true, L"", false}}},
    };
    return tables;
}

struct IndexShape {
    const wchar_t* name;
    const wchar_t* table;
    const wchar_t* column;
};

const IndexShape kIndexes[] = {
    {L"session_item_field_field", L"session_item_field", L"field"},
    {L"session_item_field_query_field_id", L"session_item_field", L"query_field_id"},
    {L"session_item_field_session_item_id", L"session_item_field", L"session_item_id"},
    {L"session_item_key_value", L"session_item", L"key_value"},
    {L"session_item_query_id", L"session_item", L"query_id"},
    {L"session_item_session_id", L"session_item", L"session_id"},
};

struct SeedQueryRow {
    const wchar_t* type;
    const wchar_t* query;
    const wchar_t* name;
    const wchar_t* maxRows;
    const wchar_t* keyField;
    std::vector<std::wstring> fields;
};

// The whole seeded catalogue, in id order.
const std::vector<SeedQueryRow>& ExpectedQueries() {
    static const std::vector<SeedQueryRow> queries = {
        {L"1",
         L"*",
         L"Version",
         L"0",
         L"FileVersionMajor,FileVersionMinor",
         {L"FileVersionMajor", L"FileVersionMinor", L"FileVersionRevision", L"DataVersionMajor",
          L"DataVersionMinor", L"DataVersionRevision", L"RunAsAdmin", L"ZephId"}},
        {L"2",
         L"Select * from Win32_Process",
         L"Process",
         L"0",
         L"Name,CommandLine",
         {L"Name", L"ExecutablePath", L"CommandLine"}},
        {L"2",
         L"Select * from Win32_BIOS",
         L"BIOS",
         L"0",
         L"Name",
         {L"Name", L"Version", L"Manufacturer", L"Description", L"IdentificationCode",
          L"SerialNumber"}},
        {L"2",
         L"Select * from Win32_OperatingSystem",
         L"OperatingSystem",
         L"0",
         L"Caption",
         {L"InstallDate", L"LastBootupTime", L"TotalVisibleMemorySize", L"FreePhysicalMemory",
          L"Caption", L"Version", L"BuildNumber", L"CsdVersion", L"WindowsDirectory",
          L"Description", L"OSArchitecture"}},
        {L"2",
         L"Select * from Win32_ComputerSystem",
         L"ComputerSystem",
         L"0",
         L"Manufacturer",
         {L"Manufacturer", L"Model", L"Name", L"Domain"}},
        {L"2",
         L"Select * from Win32_MotherboardDevice",
         L"MotherboardDevice",
         L"0",
         L"PrimaryBusType",
         {L"PrimaryBusType", L"SecondaryBusType"}},
        {L"2",
         L"Select * from Win32_SoundDevice",
         L"SoundDevice",
         L"0",
         L"Description",
         {L"Description"}},
        {L"2", L"Select * from Win32_CDROMDrive", L"CDROMDrive", L"0", L"Name", {L"Name"}},
        {L"2",
         L"Select * from Win32_VideoController",
         L"VideoController",
         L"0",
         L"Name",
         {L"Name"}},
        {L"2",
         L"Select * from Win32_DesktopMonitor",
         L"DesktopMonitor",
         L"0",
         L"Name,DeviceID",
         {L"Name", L"Description", L"DeviceID", L"MonitorManufacturer", L"MonitorType"}},
        {L"2",
         L"Select * from Win32_Registry",
         L"Registry",
         L"0",
         L"Caption",
         {L"Caption", L"CurrentSize", L"MaximumSize"}},
        {L"2",
         L"Select * from Win32_LogicalDisk",
         L"LogicalDisk",
         L"0",
         L"DeviceID",
         {L"DriveType", L"Size", L"FreeSpace", L"FileSystem", L"DeviceID", L"ProviderName"}},
        {L"2",
         L"Select * from Win32_NetworkAdapterConfiguration Where IPEnabled=TRUE",
         L"NetworkAdapterConfiguration",
         L"0",
         L"Description",
         {L"Description", L"MACAddress", L"IPAddress", L"DHCPEnabled"}},
        {L"2",
         L"Select * from Win32_Printer",
         L"Printer",
         L"0",
         L"Caption",
         {L"Caption", L"DeviceID", L"Name", L"ShareName", L"ServerName", L"DriverName"}},
        {L"2",
         L"Select * from Win32_StartupCommand",
         L"StartupCommand",
         L"200",
         L"Name,Command",
         {L"Name", L"Command"}},
        {L"2",
         L"Select * from Win32_PhysicalMemory",
         L"PhysicalMemory",
         L"0",
         L"Tag",
         {L"Tag", L"DeviceLocator", L"Capacity", L"Speed"}},
        {L"2",
         L"Select * from Win32_PhysicalMemoryArray",
         L"PhysicalMemoryArray",
         L"0",
         L"Tag",
         {L"Tag", L"MaxCapacity", L"MemoryDevices"}},
        {L"3",
         L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
         L"InstalledSoftware32",
         L"0",
         L"DisplayName,DisplayVersion,Publisher",
         {L"DisplayName", L"DisplayVersion", L"Publisher"}},
        {L"3",
         L"64:HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
         L"InstalledSoftware64",
         L"0",
         L"DisplayName,DisplayVersion,Publisher",
         {L"DisplayName", L"DisplayVersion", L"Publisher"}},
        {L"2",
         L"Select * from Win32_UserAccount where Name = '@@user@@'",
         L"UserAccount",
         L"0",
         L"Name",
         {L"Name", L"FullName", L"Domain"}},
        {L"2",
         L"Select * from Win32_QuickFixEngineering Where Description != ''",
         L"QuickFixEngineering",
         L"0",
         L"Description,HotFixId",
         {L"Description", L"Computer", L"HotFixId", L"InstallationDate", L"InstalledBy"}},
        {L"5", L"*", L"Services", L"0", L"DisplayName", {L"DisplayName", L"ServiceName"}},
        {L"2",
         L"Select * from Win32_OptionalFeature Where InstallState = 1",
         L"OptionalFeature",
         L"0",
         L"Name",
         {L"Name", L"Caption"}},
        {L"4",
         L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup\\OC "
         L"Manager\\Subcomponents",
         L"Subcomponents",
         L"0",
         L"Name",
         {L"Name", L"Value"}},
        {L"2",
         L"Select * from Win32_ServerFeature",
         L"ServerFeature",
         L"0",
         L"Name",
         {L"Name", L"ID", L"ParentID"}},
        {L"2",
         L"Select * from Win32_Processor",
         L"Processor",
         L"0",
         L"Name,DeviceID",
         {L"Name", L"NumberOfCores", L"DeviceID", L"MaxClockSpeed"}},
    };
    return queries;
}

std::wstring FieldsUpdate(const std::wstring& from, const std::wstring& to) {
    return L"UPDATE session_item_field SET query_field_id = COALESCE( ( SELECT qf2.id FROM "
           L"temp_session_item tsi, query q1, query_field qf1, query q2, query_field qf2 WHERE "
           L"q1.id = qf1.query_id AND tsi.id = session_item_field.session_item_id AND qf1.id = "
           L"session_item_field.query_field_id AND qf2.query_id = q2.id AND q1.name IN "
           L"('InstalledSoftware32','InstalledSoftware64') AND q2.name = 'QuickFixEngineering' "
           L"AND qf1.name = '" +
           from + L"' AND qf2.name = '" + to +
           L"' ), query_field_id) WHERE session_item_id IN (SELECT id FROM temp_session_item);";
}

std::wstring EmptyHotFixField(const std::wstring& field) {
    return L"INSERT INTO session_item_field (session_item_id, query_field_id, field) SELECT "
           L"tsi.id, qf.id, '' FROM temp_session_item tsi, query q, query_field qf WHERE q.id = "
           L"qf.query_id AND q.name = 'QuickFixEngineering' AND qf.name = '" +
           field + L"';";
}

const std::vector<std::wstring>& ExpectedPostProcess() {
    static const std::vector<std::wstring> statements = {
        L"DROP TABLE IF EXISTS [temp_session_item];",
        L"CREATE TEMPORARY TABLE [temp_session_item] ( [id] INTEGER NOT NULL PRIMARY KEY);",
        L"DELETE FROM session_item WHERE id IN ( SELECT session_item_id FROM v_session_item_field "
        L"WHERE session_id = @@session_id@@ AND query_name IN "
        L"('InstalledSoftware32','InstalledSoftware64') AND query_field_name = 'DisplayName' AND "
        L"session_item_field_value IN ( SELECT session_item_field_value FROM "
        L"v_session_item_field WHERE session_id = @@session_id@@ AND query_name = "
        L"'QuickFixEngineering'));",
        L"DELETE FROM session_item_field WHERE session_item_id not IN (SELECT id FROM "
        L"session_item);",
        L"INSERT INTO temp_session_item (id) SELECT DISTINCT si.id FROM session_item si INNER "
        L"JOIN query q ON q.id = si.query_id WHERE si.session_id = @@session_id@@ AND q.name IN "
        L"('InstalledSoftware32','InstalledSoftware64') AND si.key_value GLOB "
        L"'*[Kk][Bb][0123456789][0123456789][0123456789][0123456789][0123456789]*' AND "
        L"(si.key_value LIKE '%update%' OR si.key_value LIKE '%hotfix%');",
        FieldsUpdate(L"DisplayName", L"Description"),
        FieldsUpdate(L"DisplayVersion", L"HotFixId"),
        L"DELETE FROM session_item_field WHERE query_field_id IN ( SELECT qf.id FROM "
        L"temp_session_item tsi, query q, query_field qf WHERE q.id = qf.query_id AND tsi.id = "
        L"session_item_field.session_item_id AND qf.id = session_item_field.query_field_id AND "
        L"q.name IN ('InstalledSoftware32','InstalledSoftware64') AND qf.name = 'Publisher' );",
        EmptyHotFixField(L"Computer"),
        EmptyHotFixField(L"InstallationDate"),
        EmptyHotFixField(L"InstalledBy"),
        L"UPDATE session_item SET query_id = COALESCE( ( SELECT q.id FROM temp_session_item tsi, "
        L"query q WHERE tsi.id = session_item.id AND q.name = 'QuickFixEngineering'), query_id );",
    };
    return statements;
}

// Line breaks and indentation of stored statements carry no meaning: runs of white space
// become one blank, and a blank next to a parenthesis or comma goes.
std::wstring Folded(const std::wstring& text) {
    std::wstring spaced;
    for (wchar_t c : text) {
        const bool blank = c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
        if (!blank) {
            spaced += c;
        } else if (!spaced.empty() && spaced.back() != L' ') {
            spaced += L' ';
        }
    }
    std::wstring folded;
    for (size_t i = 0; i < spaced.size(); ++i) {
        const wchar_t c = spaced[i];
        if (c == L' ') {
            const bool afterTight =
                !folded.empty() && (folded.back() == L'(' || folded.back() == L',');
            const bool beforeTight =
                i + 1 >= spaced.size() || spaced[i + 1] == L')' || spaced[i + 1] == L',';
            if (afterTight || beforeTight) {
                continue;
            }
        }
        folded += c;
    }
    return folded;
}

std::vector<std::wstring> Column0(const Table& table) {
    std::vector<std::wstring> values;
    for (const auto& row : table) {
        values.push_back(row.at(0));
    }
    return values;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void ExpectAllZero(const std::tm& time) {
    EXPECT_EQ(time.tm_year, 0);
    EXPECT_EQ(time.tm_mon, 0);
    EXPECT_EQ(time.tm_mday, 0);
    EXPECT_EQ(time.tm_hour, 0);
    EXPECT_EQ(time.tm_min, 0);
    EXPECT_EQ(time.tm_sec, 0);
}

class SchemaTest : public StoreTest {
  protected:
    // A file with one kept session of a few hundred rows (so that it spans many pages).
    void MakeFileWithHistory(int processes = 20) {
        std::vector<StoredRow> rows;
        for (int i = 0; i < processes; ++i) {
            rows.push_back({L"Process",
                            {{L"Name", L"proc" + std::to_wstring(i) + L".exe"},
                             {L"CommandLine", L"C:\\bin\\proc" + std::to_wstring(i) + L".exe -x"},
                             {L"ExecutablePath", L"C:\\bin\\proc" + std::to_wstring(i)}}});
        }
        rows.push_back({L"BIOS", {{L"Name", L"Firmware"}, {L"Version", L"1.2"}}});
        Run(rows, true);
    }

    std::wstring DamagedPath(const std::wstring& suffix) const { return DbPath() + suffix; }
};

TEST_F(SchemaTest, NewFileHasTheTablesColumnsAndConstraints) {
    Open();
    const std::wstring path = DbPath();
    EXPECT_EQ(ScalarText(path, "pragma encoding"), L"UTF-16le");

    std::vector<std::wstring> expectedNames;
    for (const auto& table : ExpectedTables()) {
        expectedNames.push_back(table.name);
    }
    EXPECT_THAT(Column0(Query(path,
                              L"SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT "
                              L"LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name")),
                ElementsAreArray(expectedNames));
    EXPECT_EQ(Scalar(path, "SELECT count(*) FROM sqlite_master WHERE name = 'sqlite_sequence'"), 1);

    for (const auto& table : ExpectedTables()) {
        SCOPED_TRACE(WideToUtf8(table.name));
        const Table columns =
            Query(path,
                  L"SELECT name, upper(type), \"notnull\", COALESCE(dflt_value, ''), pk FROM "
                  L"pragma_table_info('" +
                      std::wstring(table.name) + L"') ORDER BY cid");
        ASSERT_EQ(columns.size(), table.columns.size());
        for (size_t i = 0; i < columns.size(); ++i) {
            const Column& expected = table.columns[i];
            EXPECT_THAT(columns[i],
                        ElementsAre(expected.name, expected.type, expected.notNull ? L"1" : L"0",
                                    expected.defaultValue, expected.primaryKey ? L"1" : L"0"));
        }
        const std::wstring create = ScalarText(
            path, "SELECT sql FROM sqlite_master WHERE name = '" + WideToUtf8(table.name) + "'");
        EXPECT_THAT(ToUpper(create), HasSubstr(L"AUTOINCREMENT"));
    }
    // No foreign keys anywhere: the program keeps the relations itself.
    EXPECT_EQ(Scalar(path,
                     "SELECT count(*) FROM sqlite_master m, pragma_foreign_key_list(m.name) "
                     "WHERE m.type = 'table'"),
              0);
}

TEST_F(SchemaTest, NewFileHasTheSixPlainIndexesAndTheView) {
    Open();
    const std::wstring path = DbPath();
    const Table indexes = Query(path,
                                L"SELECT m.name, m.tbl_name, i.name, l.\"unique\", l.partial "
                                L"FROM sqlite_master m, pragma_index_info(m.name) i, "
                                L"pragma_index_list(m.tbl_name) l WHERE m.type = 'index' AND "
                                L"l.name = m.name ORDER BY m.name, i.seqno");
    ASSERT_EQ(indexes.size(), std::size(kIndexes));
    for (size_t i = 0; i < indexes.size(); ++i) {
        EXPECT_THAT(indexes[i], ElementsAre(kIndexes[i].name, kIndexes[i].table, kIndexes[i].column,
                                            L"0", L"0"));
    }

    EXPECT_EQ(Scalar(path, "SELECT count(*) FROM sqlite_master WHERE type = 'view'"), 1);
    EXPECT_THAT(Column0(Query(path,
                              L"SELECT name FROM pragma_table_info('v_session_item_field') "
                              L"ORDER BY cid")),
                ElementsAre(L"session_id", L"session_item_id", L"query_id", L"query_name",
                            L"query_field_id", L"query_field_name", L"session_item_field_id",
                            L"session_item_field_value", L"query"));
}

TEST_F(SchemaTest, ViewShowsOnlyFieldsOfTheItemsOwnQuery) {
    {
        auto store = Open();
        store->StoreRow(Find(*store, L"BIOS"), {{L"Name", L"Firmware"}, {L"Version", L"7"}});
    }
    const std::wstring path = DbPath();
    // A field row pointing at a field of another query (Process "Name", id 9).
    Execute(path,
            L"INSERT INTO session_item_field (session_item_id, query_field_id, field) "
            L"SELECT id, 9, 'stray' FROM session_item");
    EXPECT_EQ(Scalar(path, "SELECT count(*) FROM session_item_field"), 3);
    EXPECT_THAT(Query(path,
                      L"SELECT session_id, session_item_id, query_id, query_name, query_field_id, "
                      L"query_field_name, session_item_field_value, query FROM "
                      L"v_session_item_field ORDER BY session_item_field_id"),
                ElementsAre(ElementsAre(L"1", L"1", L"3", L"BIOS", L"12", L"Name", L"Firmware",
                                        L"Select * from Win32_BIOS"),
                            ElementsAre(L"1", L"1", L"3", L"BIOS", L"13", L"Version", L"7",
                                        L"Select * from Win32_BIOS")));
}

TEST_F(SchemaTest, NewFileHoldsTheSeedRows) {
    Open();
    const std::wstring path = DbPath();
    struct Count {
        const char* table;
        int rows;
    };
    for (const Count& count :
         {Count{"query_type", 5}, Count{"status_type", 2}, Count{"query", 26},
          Count{"query_field", 97}, Count{"post_process", 12}, Count{"pre_process", 0},
          Count{"version", 1}, Count{"session", 0}, Count{"session_item", 0},
          Count{"session_item_field", 0}, Count{"history", 0}, Count{"history_item", 0},
          Count{"history_item_field", 0}}) {
        EXPECT_EQ(Scalar(path, std::string("SELECT count(*) FROM ") + count.table), count.rows)
            << count.table;
    }

    EXPECT_THAT(
        Query(path, L"SELECT id, name FROM query_type ORDER BY id"),
        ElementsAre(ElementsAre(L"1", L"Version"), ElementsAre(L"2", L"Wmi"),
                    ElementsAre(L"3", L"RegistryKeys"), ElementsAre(L"4", L"RegistryValues"),
                    ElementsAre(L"5", L"ServiceControl")));
    EXPECT_THAT(Query(path, L"SELECT id, name FROM status_type ORDER BY id"),
                ElementsAre(ElementsAre(L"1", L"New"), ElementsAre(L"2", L"Last")));

    const Table queries =
        Query(path,
              L"SELECT id, query_type_id, query, name, max_rows, key_field FROM query "
              L"ORDER BY id");
    const Table fields =
        Query(path, L"SELECT id, query_id, name, export_name FROM query_field ORDER BY id");
    ASSERT_EQ(queries.size(), ExpectedQueries().size());
    size_t field = 0;
    for (size_t i = 0; i < queries.size(); ++i) {
        const SeedQueryRow& expected = ExpectedQueries()[i];
        const std::wstring id = std::to_wstring(i + 1);
        EXPECT_THAT(queries[i], ElementsAre(id, expected.type, expected.query, expected.name,
                                            expected.maxRows, expected.keyField));
        for (const std::wstring& name : expected.fields) {
            ASSERT_LT(field, fields.size());
            // Field ids run on through the whole catalogue; names equal export names.
            EXPECT_THAT(fields[field], ElementsAre(std::to_wstring(field + 1), id, name, name));
            ++field;
        }
    }
    EXPECT_EQ(field, fields.size());
    EXPECT_THAT(fields.at(5),
                ElementsAre(L"6", L"1", L"DataVersionRevision", L"DataVersionRevision"));

    const Table post = Query(path, L"SELECT id, sequence, query FROM post_process ORDER BY id");
    ASSERT_EQ(post.size(), ExpectedPostProcess().size());
    for (size_t i = 0; i < post.size(); ++i) {
        SCOPED_TRACE("post_process row " + std::to_string(i + 1));
        EXPECT_EQ(post[i][0], std::to_wstring(i + 1));
        EXPECT_EQ(post[i][1], std::to_wstring((i + 1) * 10));
        EXPECT_EQ(Folded(post[i][2]), Folded(ExpectedPostProcess()[i]));
    }
}

TEST_F(SchemaTest, VersionRowRecordsTheProgramVersionAndFormatBuild) {
    auto store = Open(3, 7);
    const std::wstring path = DbPath();
    EXPECT_THAT(Query(path, L"SELECT id, major, minor, build FROM version"),
                ElementsAre(ElementsAre(L"1", L"3", L"7", L"16")));
    // An SQL timestamp of about now.
    EXPECT_EQ(Scalar(path, "SELECT created = datetime(created) FROM version"), 1);
    EXPECT_EQ(Scalar(path, "SELECT abs(julianday('now') - julianday(created)) < 1 FROM version"),
              1);
    EXPECT_EQ(store->GetErrorText(), L"");
    EXPECT_EQ(store->GetQueries().size(), 26u);
}

TEST_F(SchemaTest, OtherVersionEmptiesAndReseedsTheFile) {
    struct Case {
        const char* what;
        int fileBuild;
        int major;
        int minor;
    };
    for (const Case& c :
         {Case{"format build 15", 15, kMajor, kMinor}, Case{"other minor", 16, kMajor, kMinor + 3},
          Case{"other major", 16, kMajor + 1, kMinor}}) {
        SCOPED_TRACE(c.what);
        fs::remove(DbPath());
        MakeFileWithHistory();
        const std::wstring path = DbPath();
        Execute(path, L"UPDATE version SET build = " + std::to_wstring(c.fileBuild) +
                          L", created = '2001-02-03 04:05:06'");
        Execute(path, L"INSERT INTO history (created) VALUES ('2001-02-03 04:05:06')");
        Execute(path, L"INSERT INTO pre_process (query, sequence) VALUES ('SELECT 1', 1)");
        Execute(path, L"UPDATE query SET key_field = 'Name' WHERE id = 2");
        Execute(path, L"DELETE FROM query_field WHERE id = 97");
        Execute(path, L"UPDATE post_process SET query = 'SELECT 2' WHERE id = 3");
        ASSERT_EQ(Scalar(path, "SELECT count(*) FROM session"), 1);

        auto store = Open(c.major, c.minor);
        EXPECT_EQ(store->GetErrorText(), L"");
        EXPECT_THAT(
            Query(path, L"SELECT id, major, minor, build, created FROM version"),
            ElementsAre(ElementsAre(L"1", std::to_wstring(c.major), std::to_wstring(c.minor), L"16",
                                    L"2001-02-03 04:05:06")));
        for (const char* table :
             {"session", "session_item", "session_item_field", "history", "pre_process"}) {
            EXPECT_EQ(Scalar(path, std::string("SELECT count(*) FROM ") + table), 0) << table;
        }
        EXPECT_EQ(ScalarText(path, "SELECT key_field FROM query WHERE id = 2"),
                  L"Name,CommandLine");
        EXPECT_EQ(Scalar(path, "SELECT count(*) FROM query_field"), 97);
        EXPECT_EQ(Folded(ScalarText(path, "SELECT query FROM post_process WHERE id = 3")),
                  Folded(ExpectedPostProcess()[2]));
        EXPECT_EQ(Scalar(path, "SELECT count(*) FROM sqlite_master WHERE type = 'index'"), 6);
        EXPECT_EQ(store->GetQueries().size(), 26u);
        ExpectAllZero(store->GetLastScan());
        ChangeData changes;
        EXPECT_EQ(store->LoadChanges(changes), 1);
        EXPECT_TRUE(changes.empty());
    }
}

TEST_F(SchemaTest, SameVersionLeavesTheFileAsItIs) {
    MakeFileWithHistory();
    const std::wstring path = DbPath();
    // Edits of seeded tables survive: seed rows come only with a table's creation.
    Execute(path, L"UPDATE post_process SET query = 'SELECT 2' WHERE id = 3");
    Execute(path, L"UPDATE query SET key_field = 'Name' WHERE id = 2");
    Execute(path, L"INSERT INTO pre_process (query, sequence) VALUES ('SELECT 1', 1)");
    const std::wstring before = Dump(path);
    {
        auto store = Open();
        EXPECT_EQ(store->GetErrorText(), L"");
    }
    EXPECT_EQ(Dump(path), before);
}

TEST_F(SchemaTest, TableDroppedByHandComesBackAloneWithItsIndexes) {
    MakeFileWithHistory();
    const std::wstring path = DbPath();
    Execute(path, L"DROP TABLE session_item_field");
    Execute(path, L"UPDATE post_process SET sequence = 999 WHERE id = 1");
    const std::wstring before = Dump(path);
    {
        auto store = Open();
        EXPECT_EQ(store->GetErrorText(), L"");
    }
    EXPECT_EQ(Scalar(path, "SELECT count(*) FROM session_item_field"), 0);
    EXPECT_THAT(Column0(Query(path,
                              L"SELECT name FROM sqlite_master WHERE type = 'index' AND "
                              L"tbl_name = 'session_item_field' ORDER BY name")),
                ElementsAre(L"session_item_field_field", L"session_item_field_query_field_id",
                            L"session_item_field_session_item_id"));
    EXPECT_EQ(Scalar(path, "SELECT count(*) FROM pragma_table_info('session_item_field')"), 4);

    // Dropping it again from a copy must give back exactly the file as it was.
    const fs::path copy = folder.path() / L"copy.db";
    fs::copy_file(path, copy);
    Execute(copy.wstring(), L"DROP TABLE session_item_field");
    EXPECT_EQ(Dump(copy.wstring()), before);
}

TEST_F(SchemaTest, EmptyFileIsANewDatabaseNotADamagedOne) {
    WriteBytes(DbPath(), "");
    auto store = Open();
    EXPECT_EQ(store->GetErrorText(), L"");
    EXPECT_FALSE(fs::exists(DamagedPath(L".damaged")));
    EXPECT_EQ(Scalar(DbPath(), "SELECT count(*) FROM query"), 26);
}

TEST_F(SchemaTest, DamagedFileIsMovedAsideAndReplaced) {
    struct Case {
        const char* what;
        std::vector<std::wstring> taken;  // names already present beside the file
        std::wstring movedTo;
    };
    const std::vector<Case> cases = {
        {"first", {}, L".damaged"},
        {"second", {L".damaged"}, L".damaged.1"},
        {"third", {L".damaged", L".damaged.1"}, L".damaged.2"},
    };
    std::string garbage;
    while (garbage.size() < 5000) {
        garbage += "This is no database, only words. ";
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            fs::remove(entry.path());
        }
        for (const std::wstring& taken : c.taken) {
            WriteBytes(DamagedPath(taken), "kept " + WideToUtf8(taken));
        }
        WriteBytes(DbPath(), garbage);

        std::unique_ptr<CInventoryDatabase> store;
        ASSERT_NO_THROW(store = Open());
        EXPECT_THAT(store->GetErrorText(), HasSubstr(DamagedPath(c.movedTo)));
        EXPECT_EQ(ReadBytes(DamagedPath(c.movedTo)), garbage);
        for (const std::wstring& taken : c.taken) {
            EXPECT_EQ(ReadBytes(DamagedPath(taken)), "kept " + WideToUtf8(taken));
        }
        EXPECT_EQ(store->GetQueries().size(), 26u);
        ExpectAllZero(store->GetLastScan());
        EXPECT_EQ(Scalar(DbPath(), "SELECT count(*) FROM query_field"), 97);
        EXPECT_TRUE(host.sleeps.empty()) << "a damaged file is not worth waiting for";
    }
}

TEST_F(SchemaTest, TruncatedFileIsMovedAsideAndReplaced) {
    MakeFileWithHistory(400);
    const std::wstring path = DbPath();
    const auto size = fs::file_size(path);
    ASSERT_GT(size, 40000u);
    fs::resize_file(path, size / 2);
    const std::string truncated = ReadBytes(path);

    std::unique_ptr<CInventoryDatabase> store;
    ASSERT_NO_THROW(store = Open());
    EXPECT_THAT(store->GetErrorText(), HasSubstr(DamagedPath(L".damaged")));
    EXPECT_EQ(ReadBytes(DamagedPath(L".damaged")), truncated);
    ExpectAllZero(store->GetLastScan());
    EXPECT_EQ(Scalar(path, "SELECT count(*) FROM session"), 0);
    EXPECT_EQ(Scalar(path, "SELECT count(*) FROM query"), 26);
    store.reset();

    // The fresh file serves a whole run, and the next run compares with it.
    RunOutcome first = Run({{L"BIOS", {{L"Name", L"Firmware"}}}});
    EXPECT_EQ(first.changesResult, 1);
    RunOutcome second = Run({{L"BIOS", {{L"Name", L"Firmware"}}}});
    EXPECT_EQ(second.changesResult, 0);
}

TEST_F(SchemaTest, MissingFolderIsReportedAsCreateFailure) {
    const std::wstring path = (folder.path() / L"absent" / L"inventory.db").wstring();
    CInventoryDatabase store(kMajor, kMinor);
    EXPECT_THROW(store.Load(path), sqlite3x::database_error);
    EXPECT_TRUE(host.sleeps.empty());
    EXPECT_FALSE(fs::exists(folder.path() / L"absent"));

    store.OpenFile();
    EXPECT_THAT(store.GetErrorText(), StartsWith(L"Could not create DB at '" + path + L"': "));
    EXPECT_TRUE(host.sleeps.empty());
}

TEST_F(SchemaTest, ExistingPathThatWillNotOpenIsRetriedTenTimes) {
    // A folder in the file's place exists but can never be opened as a database.
    fs::create_directory(DbPath());
    CInventoryDatabase store(kMajor, kMinor);
    EXPECT_THROW(store.Load(DbPath()), sqlite3x::database_error);
    EXPECT_EQ(host.sleeps, std::vector<unsigned>(10, 30));
    EXPECT_TRUE(fs::is_directory(DbPath()));
    EXPECT_FALSE(fs::exists(DamagedPath(L".damaged")));

    host.sleeps.clear();
    store.OpenFile();
    EXPECT_THAT(store.GetErrorText(), StartsWith(L"Could not open DB at '" + DbPath() + L"': "));
    EXPECT_EQ(host.sleeps, std::vector<unsigned>(10, 30));
}

TEST_F(SchemaTest, PathWithNonAsciiCharactersWorks) {
    // Wide and UTF-8 spellings of one folder: a wide path is not convertible by the "C"
    // locale on Linux, so the file-system checks go through UTF-8.
    const fs::path sub = folder.path() / fs::path(u8"Pr\u00FCfung \u6570\u636E");
    const std::wstring path = folder.path().wstring() + L"/Pr\u00FCfung \u6570\u636E/inventory.db";
    fs::create_directory(sub);
    {
        CInventoryDatabase store(kMajor, kMinor);
        store.Load(path);
        EXPECT_EQ(store.GetErrorText(), L"");
        store.StoreRow(Find(store, L"BIOS"), {{L"Name", L"Firmware"}});
        store.KeepSession();
    }
    ASSERT_TRUE(fs::exists(sub / "inventory.db"));
    EXPECT_EQ(Scalar(path, "SELECT count(*) FROM session WHERE status_type_id = 2"), 1);

    WriteBytes(sub / "inventory.db", "no database here, either; no database here, either");
    CInventoryDatabase store(kMajor, kMinor);
    store.Load(path);
    EXPECT_THAT(store.GetErrorText(), HasSubstr(path + L".damaged"));
    EXPECT_TRUE(fs::exists(sub / "inventory.db.damaged"));
}

}  // namespace
}  // namespace storetest
