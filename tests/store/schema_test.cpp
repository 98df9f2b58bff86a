// The file format (checked against a file an earlier build wrote), the version rule and what
// happens to files that are damaged or cannot be opened.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"
#include "store_fixture.h"
#include "util/text.h"
#include "util/utf.h"

namespace storetest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace fs = std::filesystem;

// The schema and the seeded catalogue, one line per object and per row: what a new file holds
// before its first session.
std::wstring Catalogue(const std::wstring& path, bool firstCatalogueOnly = false) {
    std::wstring text;
    for (const auto& object :
         Query(path,
               L"SELECT type, name, sql FROM sqlite_master WHERE name NOT LIKE 'sqlite\\_%' "
               L"ESCAPE '\\' ORDER BY type, name")) {
        text += object[0] + L" " + object[1] + L": " + object[2] + L"\n";
    }
    for (const wchar_t* table : {L"query_type", L"status_type", L"query", L"query_field",
                                 L"post_process", L"pre_process"}) {
        text += L"[" + std::wstring(table) + L"]\n";
        // The first catalogue's rows: 5 query types, 26 queries, 97 fields.
        const std::wstring limit = !firstCatalogueOnly                     ? L""
                                   : std::wstring(table) == L"query_type"  ? L" WHERE id <= 5"
                                   : std::wstring(table) == L"query"       ? L" WHERE id <= 26"
                                   : std::wstring(table) == L"query_field" ? L" WHERE id <= 97"
                                                                           : L"";
        for (const auto& row : Query(
                 path, L"SELECT * FROM [" + std::wstring(table) + L"]" + limit + L" ORDER BY id")) {
            for (const std::wstring& value : row) {
                text += value + L" | ";
            }
            text += L"\n";
        }
    }
    return text;
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

    // A new file as the previous data build wrote it (data/seeded_file.sql, one statement per
    // line ending in ";"), with its version row.
    std::wstring MakePreviousBuildFile(const std::wstring& name) const {
        std::string sql;
        EXPECT_TRUE(
            platform::ReadWholeFile(Utf8ToWide(FENNOCK_STORE_DATA_DIR "/seeded_file.sql"), sql));
        std::erase(sql, '\r');  // a checkout with Windows line ends
        const std::wstring path = (folder.path() / name).wstring();
        fs::remove(path);
        std::size_t start = 0;
        for (std::size_t end; (end = sql.find(";\n", start)) != std::string::npos;
             start = end + 2) {
            Execute(path, Utf8ToWide(sql.substr(start, end + 1 - start)));
        }
        Execute(path, L"INSERT INTO version VALUES (1, " + std::to_wstring(kMajor) + L", " +
                          std::to_wstring(kMinor) + L", 16, '2001-02-03 04:05:06')");
        return path;
    }

    // What a new file holds before its first session.
    std::wstring NewCatalogue() {
        const std::wstring path = (folder.path() / L"new.db").wstring();
        fs::remove(path);
        OpenAt(path);
        return Catalogue(path);
    }
};

TEST_F(SchemaTest, NewFileIsThePreviousBuildsFileWithRowsAdded) {
    const std::wstring previous = MakePreviousBuildFile(L"previous.db");
    const std::wstring firstCatalogue = Catalogue(previous);
    OpenAt(previous);
    const std::wstring path = DbPath();
    Open();
    EXPECT_EQ(ScalarText(path, "pragma encoding"), L"UTF-16le");
    EXPECT_EQ(Catalogue(path), Catalogue(previous));
    // The previous build's catalogue stays as it was; only rows and our own table come after.
    std::wstring kept = Catalogue(path, true);
    const std::wstring added = L"table query_first_session: ";
    const auto line = kept.find(added);
    ASSERT_NE(line, std::wstring::npos);
    kept.erase(line, kept.find(L'\n', line) + 1 - line);
    EXPECT_EQ(kept, firstCatalogue);
    for (const char* table : {"version", "session", "session_item", "session_item_field", "history",
                              "history_item", "history_item_field", "query_first_session"}) {
        EXPECT_EQ(Scalar(path, std::string("SELECT count(*) FROM ") + table),
                  std::string(table) == "version" ? 1 : 0)
            << table;
    }
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

TEST_F(SchemaTest, VersionRowRecordsTheProgramVersionAndFormatBuild) {
    auto store = Open(3, 7);
    const std::wstring path = DbPath();
    EXPECT_THAT(Query(path, L"SELECT id, major, minor, build FROM version"),
                ElementsAre(ElementsAre(L"1", L"3", L"7", L"18")));
    // An SQL timestamp of about now.
    EXPECT_EQ(Scalar(path, "SELECT created = datetime(created) FROM version"), 1);
    EXPECT_EQ(Scalar(path, "SELECT abs(julianday('now') - julianday(created)) < 1 FROM version"),
              1);
    EXPECT_EQ(store->GetErrorText(), L"");
    EXPECT_EQ(store->GetQueries().size(), 31u);
}

TEST_F(SchemaTest, OtherVersionEmptiesAndReseedsTheFile) {
    struct Case {
        const char* what;
        int fileBuild;
        int major;
        int minor;
    };
    for (const Case& c :
         {Case{"format build 15", 15, kMajor, kMinor}, Case{"a later build", 19, kMajor, kMinor},
          Case{"other minor", 16, kMajor, kMinor + 3},
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
            ElementsAre(ElementsAre(L"1", std::to_wstring(c.major), std::to_wstring(c.minor), L"18",
                                    L"2001-02-03 04:05:06")));
        for (const char* table :
             {"session", "session_item", "session_item_field", "history", "pre_process"}) {
            EXPECT_EQ(Scalar(path, std::string("SELECT count(*) FROM ") + table), 0) << table;
        }
        EXPECT_EQ(Catalogue(path), NewCatalogue());
        EXPECT_EQ(store->GetQueries().size(), 31u);
        ExpectAllZero(store->GetLastScan());
        ChangeData changes;
        EXPECT_EQ(store->LoadChanges(changes), 1);
        EXPECT_TRUE(changes.empty());
    }
}

// The previous build's file keeps its sessions: the first run after the upgrade compares with
// the last run before it, and the queries the upgrade added count as new only from then on.
TEST_F(SchemaTest, PreviousBuildIsUpgradedKeepingItsSessions) {
    const std::wstring path = MakePreviousBuildFile(L"inventory.db");
    ASSERT_EQ(path, DbPath());
    Execute(path,
            L"INSERT INTO session (status_type_id, created) VALUES (2, "
            L"'2001-02-03 04:05:06')");
    Execute(path,
            L"INSERT INTO session_item (session_id, query_id, key_value) VALUES (1, 3, "
            L"'Firmware')");
    Execute(path,
            L"INSERT INTO session_item_field (session_item_id, query_field_id, field) "
            L"VALUES (1, 12, 'Firmware'), (1, 13, '1.0')");
    Execute(path,
            L"INSERT INTO session_item (session_id, query_id, key_value) VALUES (1, 13, "
            L"'eth0')");
    Execute(path,
            L"INSERT INTO session_item_field (session_item_id, query_field_id, field) "
            L"VALUES (2, 52, 'eth0')");

    const std::vector<StoredRow> rows = {
        {L"BIOS", {{L"Name", L"Firmware"}, {L"Version", L"2.0"}}},
        {L"DiskDrive", {{L"DeviceID", L"vda"}, {L"Size", L"274877906944"}}},
        {L"NetworkAdapterConfiguration",
         {{L"Description", L"eth0"}, {L"DefaultIPGateway", L"10.0.0.1"}}},
    };
    RunOutcome first = Run(rows);
    EXPECT_EQ(first.changesResult, 0);
    EXPECT_EQ(Describe(first.changes), L"BIOS 3 #3 [Firmware] Version: [1.0] -> [2.0]\n");
    EXPECT_THAT(Query(path, L"SELECT build, created FROM version"),
                ElementsAre(ElementsAre(L"18", L"2001-02-03 04:05:06")));
    EXPECT_THAT(
        Query(path, L"SELECT query_id, session_id FROM query_first_session"),
        ElementsAre(ElementsAre(L"27", L"2"), ElementsAre(L"28", L"2"), ElementsAre(L"29", L"2"),
                    ElementsAre(L"30", L"2"), ElementsAre(L"31", L"2")));

    // From now on both sides were asked: a disk that goes is a change.
    RunOutcome second = Run({rows[0], rows[2]});
    EXPECT_EQ(Describe(second.changes), L"DiskDrive 2 #4 [vda] : [] -> []\n");
}

// Each build's rows come once, whichever build the file was at.
TEST_F(SchemaTest, LaterBuildAddsOnlyItsOwnRows) {
    const std::wstring path = DbPath();
    Open();
    const std::wstring current = Catalogue(path);
    Execute(path, L"DELETE FROM query WHERE id > 30");
    Execute(path, L"DELETE FROM query_field WHERE id > 123");
    Execute(path, L"UPDATE version SET build = 17");
    Open();
    EXPECT_EQ(Catalogue(path), current);
    EXPECT_THAT(Query(path, L"SELECT query_id, session_id FROM query_first_session"),
                ElementsAre(ElementsAre(L"31", L"1")));
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
    EXPECT_EQ(Scalar(DbPath(), "SELECT count(*) FROM query"), 31);
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
        EXPECT_EQ(store->GetQueries().size(), 31u);
        ExpectAllZero(store->GetLastScan());
        EXPECT_EQ(Scalar(DbPath(), "SELECT count(*) FROM query_field"), 134);
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
    EXPECT_EQ(Scalar(path, "SELECT count(*) FROM query"), 31);
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
