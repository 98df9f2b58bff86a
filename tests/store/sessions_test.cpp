// Storing rows as session items, pre- and post-processing, loading a session, and the
// rotation of sessions at the end of a run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "store_fixture.h"

namespace storetest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::Pair;

std::vector<std::wstring> Values(const std::vector<SessionItem>& items, const std::wstring& name) {
    std::vector<std::wstring> values;
    for (const auto& item : items) {
        auto found = item.find(name);
        values.push_back(found == item.end() ? L"(none)" : found->second);
    }
    return values;
}

class SessionsTest : public StoreTest {
  protected:
    int Count(const std::string& sql) { return Scalar(DbPath(), sql); }
};

TEST_F(SessionsTest, KeyValueIsFormedFromThePresentKeyFields) {
    struct Case {
        const char* what;
        ResultRow row;
        int result;
        std::wstring key;  // of the stored item
    };
    const std::vector<Case> cases = {
        {"both", {{L"Name", L"a.exe"}, {L"CommandLine", L"a.exe -x"}}, 0, L"a.exe,a.exe -x"},
        {"second only", {{L"CommandLine", L"b -y"}}, 0, L"b -y"},
        {"first only", {{L"Name", L"c.exe"}}, 0, L"c.exe"},
        {"first empty", {{L"Name", L""}, {L"CommandLine", L"x"}}, 0, L"x"},
        {"second empty", {{L"Name", L"x"}, {L"CommandLine", L""}}, 0, L"x,"},
        {"blanks kept", {{L"Name", L" d "}, {L"CommandLine", L"e "}}, 0, L" d ,e "},
        {"quotes",
         {{L"Name", L"O'Brien's"}, {L"CommandLine", L"say ''hi'"}},
         0,
         L"O'Brien's,say ''hi'"},
        {"no key field", {{L"ExecutablePath", L"C:\\p.exe"}}, 1, L""},
        {"key fields empty", {{L"Name", L""}, {L"CommandLine", L""}}, 1, L""},
        {"names differ in case", {{L"name", L"a"}, {L"COMMANDLINE", L"b"}}, 1, L""},
        {"empty row", {}, 1, L""},
    };
    auto store = Open();
    const QueryDefinition& process = Find(*store, L"Process");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = Count("SELECT count(*) FROM session_item");
        EXPECT_EQ(store->StoreRow(process, c.row), c.result);
        if (c.result == 0) {
            EXPECT_EQ(Count("SELECT count(*) FROM session_item"), before + 1);
            EXPECT_EQ(ScalarText(DbPath(), "SELECT key_value FROM session_item ORDER BY id DESC"),
                      c.key);
        } else {
            EXPECT_EQ(Count("SELECT count(*) FROM session_item"), before);
        }
    }
    EXPECT_EQ(Count("SELECT count(*) FROM session"), 1);
    EXPECT_EQ(Count("SELECT count(DISTINCT session_id) FROM session_item"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM session_item WHERE query_id != 2"), 0);
}

TEST_F(SessionsTest, FirstRowOfferedBeginsTheSessionEvenWhenSkipped) {
    auto store = Open();
    store->PreProcess();
    EXPECT_EQ(store->GetSessionId(), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM session"), 0);

    EXPECT_EQ(store->StoreRow(Find(*store, L"BIOS"), {{L"Version", L"1"}}), 1);
    EXPECT_NE(store->GetSessionId(), 0);
    EXPECT_THAT(Query(DbPath(), L"SELECT id, status_type_id FROM session"),
                ElementsAre(ElementsAre(std::to_wstring(store->GetSessionId()), L"1")));
    EXPECT_EQ(Count("SELECT created = datetime(created) FROM session"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM session_item"), 0);

    // Later rows join the same session.
    const int id = store->GetSessionId();
    EXPECT_EQ(store->StoreRow(Find(*store, L"BIOS"), {{L"Name", L"n"}}), 0);
    EXPECT_EQ(store->GetSessionId(), id);
    EXPECT_EQ(Count("SELECT count(*) FROM session"), 1);
}

TEST_F(SessionsTest, QueryMissingFromTheKeyMapStoresNothing) {
    auto store = Open();
    QueryDefinition unknown;
    unknown.name = L"Nothing";
    unknown.fields = {{L"Name", L"Name"}};
    EXPECT_EQ(store->StoreRow(unknown, {{L"Name", L"x"}}), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM session_item"), 0);
}

TEST_F(SessionsTest, BlankBesideACommaIsPartOfTheKeyFieldName) {
    Open();
    Execute(DbPath(), L"UPDATE query SET key_field = 'Name, CommandLine' WHERE name = 'Process'");
    auto store = Open();
    const QueryDefinition& process = Find(*store, L"Process");
    EXPECT_EQ(store->StoreRow(process, {{L"Name", L"a"}, {L"CommandLine", L"b"}}), 0);
    EXPECT_EQ(ScalarText(DbPath(), "SELECT key_value FROM session_item ORDER BY id DESC"), L"a");
    // A key taken from an entry that is no catalogue field: the item has no fields.
    EXPECT_EQ(store->StoreRow(process, {{L" CommandLine", L"z"}}), 0);
    EXPECT_EQ(ScalarText(DbPath(), "SELECT key_value FROM session_item ORDER BY id DESC"), L"z");
    EXPECT_EQ(Count("SELECT count(*) FROM session_item_field WHERE session_item_id = "
                    "(SELECT max(id) FROM session_item)"),
              0);
    // ... and is therefore not loaded.
    SessionData data;
    store->LoadSession(data);
    EXPECT_THAT(Values(data[L"Process"], L"Name"), ElementsAre(L"a"));
}

TEST_F(SessionsTest, OnlyCatalogueFieldsAreStoredAndTextsStayIntact) {
    auto store = Open();
    EXPECT_EQ(store->StoreRow(Find(*store, L"Process"),
                              {{L"Name", L"It's"},
                               {L"CommandLine", L"\"q\" 'x' '' %s \\"},
                               {L"ExecutablePath", L"C:\\Gr\u00FC\u00DFe\\\u6587.exe"},
                               {L"commandline", L"lower case"},
                               {L"Extra", L"not a field"}}),
              0);
    // In the row's key order: CommandLine, ExecutablePath, Name.
    EXPECT_THAT(
        Query(DbPath(), L"SELECT query_field_id, field FROM session_item_field ORDER BY id"),
        ElementsAre(ElementsAre(L"11", L"\"q\" 'x' '' %s \\"),
                    ElementsAre(L"10", L"C:\\Gr\u00FC\u00DFe\\\u6587.exe"),
                    ElementsAre(L"9", L"It's")));
    SessionData data;
    store->LoadSession(data);
    ASSERT_EQ(data.size(), 1u);
    ASSERT_EQ(data[L"Process"].size(), 1u);
    EXPECT_THAT(data[L"Process"][0],
                ElementsAre(Pair(L"CommandLine", L"\"q\" 'x' '' %s \\"),
                            Pair(L"ExecutablePath", L"C:\\Gr\u00FC\u00DFe\\\u6587.exe"),
                            Pair(L"Name", L"It's")));
}

TEST_F(SessionsTest, LoadedItemsComeInUpperCaseKeyOrderAndOncePerKey) {
    auto store = Open();
    const QueryDefinition& services = Find(*store, L"Services");
    for (const auto& [name, service] :
         std::vector<std::pair<std::wstring, std::wstring>>{{L"beta", L"1"},
                                                            {L"Alpha", L"2"},
                                                            {L"_under", L"3"},
                                                            {L"alpha", L"4"},
                                                            {L"beta", L"5"},
                                                            {L"Gamma", L"6"},
                                                            {L"delta", L"7"}}) {
        EXPECT_EQ(store->StoreRow(services, {{L"DisplayName", name}, {L"ServiceName", service}}),
                  0);
    }
    // Both "beta" items are stored; an item without fields is not loaded.
    EXPECT_EQ(Count("SELECT count(*) FROM session_item WHERE key_value = 'beta'"), 2);
    Execute(DbPath(),
            L"DELETE FROM session_item_field WHERE session_item_id = "
            L"(SELECT id FROM session_item WHERE key_value = 'delta')");

    SessionData data;
    store->LoadSession(data);
    // "_" sorts after the letters once they are upper case; equal keys keep storing order.
    EXPECT_THAT(Values(data[L"Services"], L"ServiceName"),
                ElementsAre(L"2", L"4", L"1", L"6", L"3"));
    EXPECT_THAT(Values(data[L"Services"], L"DisplayName"),
                ElementsAre(L"Alpha", L"alpha", L"beta", L"Gamma", L"_under"));
}

TEST_F(SessionsTest, StoredStatementsSeeTheSessionIdAndStopAtAFailure) {
    Open();
    // Inserted out of sequence: the sequence column orders them.
    Execute(DbPath(),
            L"INSERT INTO pre_process (query, sequence) VALUES "
            L"('CREATE TABLE pre_after (x)', 30), "
            L"('CREATE TABLE pre_seen AS SELECT @@session_id@@ AS id, ''@@session_id@@'' AS t', "
            L"10), "
            L"('THIS IS NOT SQL', 20)");
    Execute(DbPath(),
            L"INSERT INTO post_process (query, sequence) VALUES "
            L"('CREATE TABLE post_seen AS SELECT @@session_id@@ AS id', 5)");
    auto store = Open();
    store->PreProcess();
    EXPECT_THAT(Query(DbPath(), L"SELECT id, t FROM pre_seen"),
                ElementsAre(ElementsAre(L"0", L"0")));
    EXPECT_EQ(Count("SELECT count(*) FROM sqlite_master WHERE name = 'pre_after'"), 0);
    EXPECT_THAT(store->GetErrorText(), Not(IsEmpty()));

    store->StoreRow(Find(*store, L"BIOS"), {{L"Name", L"n"}});
    store->PostProcess();
    EXPECT_EQ(Count("SELECT id FROM post_seen"), store->GetSessionId());
}

TEST_F(SessionsTest, PostProcessingTurnsUpdatesIntoHotFixesAndDropsDuplicates) {
    auto store = Open();
    const std::vector<StoredRow> rows = {
        {L"QuickFixEngineering",
         {{L"Description", L"Security Update"},
          {L"HotFixId", L"KB555555"},
          {L"Computer", L"PC"},
          {L"InstallationDate", L"1/2/2010"},
          {L"InstalledBy", L"admin"}}},
        {L"InstalledSoftware32",
         {{L"DisplayName", L"Security Update for Windows XP (KB2393802)"},
          {L"DisplayVersion", L"1"},
          {L"Publisher", L"Microsoft Corporation"}}},
        {L"InstalledSoftware32",
         {{L"DisplayName", L"UPDATE for thing KB12345"},
          {L"DisplayVersion", L"4"},
          {L"Publisher", L"Y"}}},
        // Four digits only, or no "update"/"hotfix": ordinary programs.
        {L"InstalledSoftware32",
         {{L"DisplayName", L"Update helper KB1234"},
          {L"DisplayVersion", L"3"},
          {L"Publisher", L"Contoso"}}},
        {L"InstalledSoftware32",
         {{L"DisplayName", L"Driver pack KB2393802"},
          {L"DisplayVersion", L"5"},
          {L"Publisher", L"Contoso"}}},
        // Display names equal to a field of a reported hot fix: dropped.
        {L"InstalledSoftware32",
         {{L"DisplayName", L"KB555555"}, {L"DisplayVersion", L""}, {L"Publisher", L"Microsoft"}}},
        {L"InstalledSoftware32",
         {{L"DisplayName", L"Notepad"}, {L"DisplayVersion", L"8"}, {L"Publisher", L"Contoso"}}},
        {L"InstalledSoftware64",
         {{L"DisplayName", L"Hotfix for Microsoft Office (kb9876543)"},
          {L"DisplayVersion", L"2"},
          {L"Publisher", L"Microsoft"}}},
        {L"InstalledSoftware64",
         {{L"DisplayName", L"Security Update"},
          {L"DisplayVersion", L"9"},
          {L"Publisher", L"Microsoft"}}},
        // Not an installed-software query: left alone.
        {L"Services", {{L"DisplayName", L"Windows Update KB1234567"}, {L"ServiceName", L"wu"}}},
    };
    StoreAll(*store, rows);
    store->PostProcess();
    EXPECT_EQ(store->GetErrorText(), L"");

    SessionData data;
    store->LoadSession(data);
    EXPECT_THAT(Values(data[L"InstalledSoftware32"], L"DisplayName"),
                ElementsAre(L"Driver pack KB2393802", L"Notepad", L"Update helper KB1234"));
    EXPECT_THAT(data[L"InstalledSoftware64"], IsEmpty());
    EXPECT_THAT(Values(data[L"Services"], L"DisplayName"),
                ElementsAre(L"Windows Update KB1234567"));

    const auto& fixes = data[L"QuickFixEngineering"];
    ASSERT_EQ(fixes.size(), 4u);
    EXPECT_THAT(fixes[0],
                ElementsAre(Pair(L"Computer", L""),
                            Pair(L"Description", L"Hotfix for Microsoft Office (kb9876543)"),
                            Pair(L"HotFixId", L"2"), Pair(L"InstallationDate", L""),
                            Pair(L"InstalledBy", L"")));
    EXPECT_THAT(fixes[1],
                ElementsAre(Pair(L"Computer", L""),
                            Pair(L"Description", L"Security Update for Windows XP (KB2393802)"),
                            Pair(L"HotFixId", L"1"), Pair(L"InstallationDate", L""),
                            Pair(L"InstalledBy", L"")));
    EXPECT_THAT(fixes[2],
                ElementsAre(Pair(L"Computer", L"PC"), Pair(L"Description", L"Security Update"),
                            Pair(L"HotFixId", L"KB555555"), Pair(L"InstallationDate", L"1/2/2010"),
                            Pair(L"InstalledBy", L"admin")));
    EXPECT_THAT(Values({fixes[3]}, L"Description"), ElementsAre(L"UPDATE for thing KB12345"));

    // Converted items keep the key they were stored with; no field is left without its item.
    EXPECT_EQ(Count("SELECT count(*) FROM session_item WHERE query_id = 21 AND key_value = "
                    "'Security Update for Windows XP (KB2393802),1,Microsoft Corporation'"),
              1);
    EXPECT_EQ(Count("SELECT count(*) FROM session_item_field WHERE session_item_id NOT IN "
                    "(SELECT id FROM session_item)"),
              0);
    EXPECT_EQ(Count("SELECT count(*) FROM session_item_field WHERE query_field_id IN (73, 76)"), 3);
}

TEST_F(SessionsTest, PostProcessingLooksAtThisSessionOnly) {
    // The hot fix reported last time does not drop this run's program of that name, and the
    // kept session is not touched again.
    Run({{L"QuickFixEngineering", {{L"Description", L"KB1"}, {L"HotFixId", L"KB1"}}},
         {L"InstalledSoftware32", {{L"DisplayName", L"Other"}, {L"Publisher", L"P"}}}});
    const Table kept = Query(DbPath(), L"SELECT * FROM session_item_field ORDER BY id");
    auto store = Open();
    store->StoreRow(Find(*store, L"InstalledSoftware32"),
                    {{L"DisplayName", L"KB1"}, {L"Publisher", L"P"}});
    store->PostProcess();
    SessionData data;
    store->LoadSession(data);
    EXPECT_THAT(Values(data[L"InstalledSoftware32"], L"DisplayName"), ElementsAre(L"KB1"));
    EXPECT_EQ(data.count(L"QuickFixEngineering"), 0u);
    EXPECT_EQ(Query(DbPath(),
                    L"SELECT * FROM session_item_field WHERE session_item_id IN "
                    L"(SELECT id FROM session_item WHERE session_id = 1) ORDER BY id"),
              kept);
}

TEST_F(SessionsTest, PostProcessingGivesWhatTheStoredStatementsGive) {
    // The program runs some seeded statements in a form that visits fewer rows; a statement
    // changed by as much as a space runs as stored, and both must leave the same rows.
    const std::wstring asStored = (folder.path() / L"as_stored.db").wstring();
    OpenAt(asStored);
    Execute(asStored, L"UPDATE post_process SET query = query || ' '");
    const std::vector<StoredRow> earlier = {
        {L"InstalledSoftware32",
         {{L"DisplayName", L"Update for Windows (KB1234567)"}, {L"Publisher", L"M"}}},
        {L"QuickFixEngineering", {{L"Description", L"Update"}, {L"HotFixId", L"KB7654321"}}},
    };
    const std::vector<StoredRow> now = {
        {L"QuickFixEngineering", {{L"Description", L"Update"}, {L"HotFixId", L"KB7654321"}}},
        {L"InstalledSoftware32",
         {{L"DisplayName", L"Update for Windows (KB1234567)"},
          {L"DisplayVersion", L"1"},
          {L"Publisher", L"M"}}},
        {L"InstalledSoftware32", {{L"DisplayName", L"KB7654321"}, {L"Publisher", L"M"}}},
        {L"InstalledSoftware32", {{L"DisplayName", L"Editor"}, {L"Publisher", L"C"}}},
        {L"InstalledSoftware32", {{L"DisplayName", L"Updater"}, {L"Publisher", L"C"}}},
        {L"InstalledSoftware32", {{L"DisplayName", L"Driver KB55555"}, {L"Publisher", L"C"}}},
        {L"InstalledSoftware64", {{L"DisplayName", L"Update"}, {L"Publisher", L"M"}}},
        {L"InstalledSoftware64",
         {{L"DisplayName", L"Hotfix for Office KB99999"}, {L"Publisher", L"M"}}},
        {L"Services", {{L"DisplayName", L"Update KB1234567"}, {L"ServiceName", L"u"}}},
    };
    for (const std::wstring& path : {DbPath(), asStored}) {
        RunAt(path, earlier);
        auto store = OpenAt(path);
        StoreAll(*store, now);
        store->PostProcess();
        EXPECT_EQ(store->GetErrorText(), L"");
    }
    for (const wchar_t* table : {L"session_item", L"session_item_field"}) {
        const std::wstring all = L"SELECT * FROM " + std::wstring(table) + L" ORDER BY id";
        EXPECT_EQ(Query(DbPath(), all), Query(asStored, all)) << table;
    }
    EXPECT_EQ(Count("SELECT count(*) FROM session_item WHERE query_id = 21 AND session_id = "
                    "(SELECT MAX(id) FROM session)"),
              3);
}

class RotationTest : public SessionsTest {
  protected:
    const std::vector<StoredRow> first_ = {
        {L"BIOS", {{L"Name", L"Firmware"}, {L"Version", L"1"}}},
        {L"Services", {{L"DisplayName", L"Alpha"}, {L"ServiceName", L"a"}}},
        {L"Services", {{L"DisplayName", L"Beta"}, {L"ServiceName", L"b"}}},
    };
    const std::vector<StoredRow> second_ = {
        {L"BIOS", {{L"Name", L"Firmware"}, {L"Version", L"2"}}},
        {L"Services", {{L"DisplayName", L"Alpha"}, {L"ServiceName", L"a"}}},
    };

    Table Sessions() {
        return Query(DbPath(), L"SELECT id, status_type_id FROM session ORDER BY id");
    }
    Table Items() {
        return Query(DbPath(),
                     L"SELECT id, session_id, query_id, key_value FROM session_item "
                     L"ORDER BY id");
    }
    Table Fields() { return Query(DbPath(), L"SELECT * FROM session_item_field ORDER BY id"); }

    // A run killed after its first rows leaves its session "New", with items and fields.
    int Abandon(const std::vector<StoredRow>& rows) {
        auto store = Open();
        store->PreProcess();
        StoreAll(*store, rows, true);
        return store->GetSessionId();
    }
};

TEST_F(RotationTest, SecondRunReplacesTheKeptSession) {
    const RunOutcome one = Run(first_);
    EXPECT_THAT(Sessions(), ElementsAre(ElementsAre(std::to_wstring(one.sessionId), L"2")));
    const RunOutcome two = Run(second_);
    EXPECT_THAT(Sessions(), ElementsAre(ElementsAre(std::to_wstring(two.sessionId), L"2")));
    EXPECT_EQ(Count("SELECT count(*) FROM session_item WHERE session_id != " +
                    std::to_string(two.sessionId)),
              0);
    EXPECT_EQ(Count("SELECT count(*) FROM session_item"), 2);
    EXPECT_EQ(Count("SELECT count(*) FROM session_item_field"), 4);
    EXPECT_EQ(Count("SELECT count(*) FROM session_item_field WHERE session_item_id NOT IN "
                    "(SELECT id FROM session_item)"),
              0);
    // The same key in both sessions: the new session's item is loaded, not filtered away.
    EXPECT_THAT(Values(two.session.at(L"Services"), L"DisplayName"), ElementsAre(L"Alpha"));
}

TEST_F(RotationTest, CancelledRunLeavesTheKeptSessionAlone) {
    Run(first_);
    const Table sessions = Sessions();
    const Table items = Items();
    const Table fields = Fields();
    {
        auto store = Open();
        store->PreProcess();
        StoreAll(*store, second_);
        store->CancelSession();
        EXPECT_EQ(store->GetErrorText(), L"");
    }
    EXPECT_EQ(Sessions(), sessions);
    EXPECT_EQ(Items(), items);
    EXPECT_EQ(Fields(), fields);
    EXPECT_EQ(Run(second_).changesResult, 0);
}

TEST_F(RotationTest, KeepWithoutAnyRowKeepsThePreviousSession) {
    Run(first_);
    const Table sessions = Sessions();
    const Table items = Items();
    const Table fields = Fields();
    {
        auto store = Open();
        store->PreProcess();
        store->PostProcess();
        SessionData data;
        store->LoadSession(data);
        EXPECT_TRUE(data.empty());
        store->KeepSession();
        EXPECT_EQ(store->GetSessionId(), 0);
    }
    EXPECT_EQ(Sessions(), sessions);
    EXPECT_EQ(Items(), items);
    EXPECT_EQ(Fields(), fields);
}

TEST_F(RotationTest, UnfinishedRunsAreNeverComparedAndGoWithTheNextKeep) {
    const RunOutcome one = Run(first_);
    std::vector<int> abandoned;
    for (const wchar_t* version : {L"99", L"98"}) {
        abandoned.push_back(Abandon({{L"BIOS", {{L"Name", L"Firmware"}, {L"Version", version}}},
                                     {L"Services", {{L"DisplayName", L"Gamma"}}}}));
    }
    EXPECT_EQ(Count("SELECT count(*) FROM session WHERE status_type_id = 1"), 2);
    const RunOutcome three = Run(second_);
    EXPECT_EQ(three.changesResult, 0);
    const auto& bios = three.changes.at(L"BIOS");
    ASSERT_EQ(bios.size(), 1u);
    EXPECT_EQ(bios[0].oldValue, L"1");
    EXPECT_THAT(Sessions(), ElementsAre(ElementsAre(std::to_wstring(three.sessionId), L"2")));
    EXPECT_EQ(Count("SELECT count(*) FROM session_item WHERE session_id != " +
                    std::to_string(three.sessionId)),
              0);
    EXPECT_EQ(Count("SELECT count(*) FROM session_item_field WHERE session_item_id NOT IN "
                    "(SELECT id FROM session_item)"),
              0);
    EXPECT_EQ(Count("SELECT count(*) FROM session_item_field"), 4);
    EXPECT_THAT(abandoned, Not(testing::Contains(one.sessionId)));
}

TEST_F(RotationTest, KilledRunLeavesAnIntactFileWithWhatItCommitted) {
    Run(first_);
    const std::filesystem::path copy = folder.path() / L"killed";
    std::filesystem::create_directories(copy);
    {
        auto store = Open();
        store->PreProcess();
        StoreAll(*store, second_, true);
        // Commits go to the write-ahead log, where the platform has one.
        EXPECT_EQ(ScalarText(DbPath(), "PRAGMA journal_mode;"), L"wal");
        // What a process killed now leaves behind: its files as they are, never closed.
        for (const wchar_t* suffix : {L"", L"-wal", L"-journal"}) {
            if (std::filesystem::exists(DbPath() + suffix)) {
                std::filesystem::copy_file(DbPath() + suffix,
                                           copy / (std::wstring(L"inventory.db") + suffix));
            }
        }
    }
    const std::wstring killed = (copy / L"inventory.db").wstring();
    EXPECT_EQ(ScalarText(killed, "PRAGMA integrity_check;"), L"ok");
    EXPECT_EQ(Scalar(killed,
                     "SELECT count(*) FROM session_item si JOIN session s ON "
                     "s.id = si.session_id WHERE s.status_type_id = 1"),
              2);
    const RunOutcome next = RunAt(killed, first_);
    EXPECT_EQ(Query(killed, L"SELECT id, status_type_id FROM session"),
              Table({{std::to_wstring(next.sessionId), L"2"}}));
}

TEST_F(RotationTest, FailedKeepLeavesTheFileAsItWas) {
    Run(first_);
    Execute(DbPath(),
            L"CREATE TRIGGER refuse BEFORE UPDATE ON session "
            L"BEGIN SELECT RAISE(ABORT, 'refused by test'); END");
    const Table sessions = Sessions();
    const Table items = Items();
    const Table fields = Fields();
    {
        auto store = Open();
        StoreAll(*store, second_);
        const Table withNew = Items();
        try {
            store->KeepSession();
            ADD_FAILURE() << "KeepSession did not throw";
        } catch (const sqlite3x::database_error& error) {
            EXPECT_THAT(error.what(), HasSubstr("refused by test"));
        }
        EXPECT_EQ(Items(), withNew);
    }
    EXPECT_EQ(Count("SELECT count(*) FROM session WHERE status_type_id = 2"), 1);
    EXPECT_EQ(Sessions().front(), sessions.front());
    EXPECT_EQ(Fields().size(), fields.size() + 4);
    EXPECT_EQ(Items().size(), items.size() + 2);
}

TEST_F(RotationTest, FailedCancelIsRecordedNotThrown) {
    Run(first_);
    Execute(DbPath(),
            L"CREATE TRIGGER refuse BEFORE DELETE ON session "
            L"BEGIN SELECT RAISE(ABORT, 'refused by test'); END");
    auto store = Open();
    StoreAll(*store, second_);
    EXPECT_NO_THROW(store->CancelSession());
    EXPECT_THAT(store->GetErrorText(), HasSubstr(L"refused by test"));
    // Statements before the failure stay done: no transaction around the cancel.
    EXPECT_EQ(Count("SELECT count(*) FROM session_item WHERE session_id = " +
                    std::to_string(store->GetSessionId())),
              0);
}

std::vector<StoredRow> MixedRows(int variant) {
    std::vector<StoredRow> rows = {
        {L"Version", {{L"FileVersionMajor", L"1"}, {L"FileVersionMinor", L"0"}}},
        {L"Process", {{L"Name", L"a.exe"}, {L"CommandLine", L"a -x"}}},
        {L"Process", {{L"ExecutablePath", L"skipped: no key"}}},
        {L"Process", {{L"Name", L"a.exe"}, {L"CommandLine", L"a -x"}}},
        {L"Process", {{L"Name", L"O'Neil"}, {L"CommandLine", std::to_wstring(variant)}}},
        {L"InstalledSoftware32",
         {{L"DisplayName", L"Security Update for Windows XP (KB2393802)"},
          {L"DisplayVersion", std::to_wstring(variant)},
          {L"Publisher", L"Microsoft Corporation"}}},
        {L"InstalledSoftware32",
         {{L"DisplayName", L"KB7"}, {L"DisplayVersion", L"1"}, {L"Publisher", L"Contoso"}}},
        {L"QuickFixEngineering", {{L"Description", L"Fix"}, {L"HotFixId", L"KB7"}}},
        {L"Services", {{L"DisplayName", L"Svc"}, {L"ServiceName", std::to_wstring(variant)}}},
    };
    if (variant == 2) {
        rows.push_back({L"Printer", {{L"Caption", L"Printer"}}});
    }
    return rows;
}

TEST_F(SessionsTest, GroupedRowsGiveTheSameFileAsSingleStatements) {
    const std::wstring single = DbPath();
    const std::wstring grouped = (folder.path() / L"grouped.db").wstring();
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        const RunOutcome a = RunAt(single, MixedRows(run), false);
        const RunOutcome b = RunAt(grouped, MixedRows(run), true);
        EXPECT_EQ(a.session, b.session);
        EXPECT_EQ(Describe(a.changes), Describe(b.changes));
        EXPECT_EQ(a.sessionId, b.sessionId);
    }
    EXPECT_EQ(Dump(single), Dump(grouped));
    EXPECT_THAT(Query(grouped, L"SELECT status_type_id FROM session"),
                ElementsAre(ElementsAre(L"2")));
}

TEST_F(SessionsTest, ExplicitGroupEndsBeforeTheKeep) {
    auto store = Open();
    store->PreProcess();
    store->BeginRowGroup();
    StoreAll(*store, MixedRows(1));
    store->EndRowGroup();
    EXPECT_EQ(Count("SELECT count(*) FROM session_item"), 8);
    store->PostProcess();
    SessionData data;
    store->LoadSession(data);
    store->KeepSession();
    EXPECT_EQ(store->GetErrorText(), L"");
    EXPECT_EQ(Count("SELECT status_type_id FROM session"), 2);
}

TEST_F(SessionsTest, GroupLeftByAnExceptionStillCommits) {
    auto store = Open();
    try {
        CRowGroup group(*store);
        store->StoreRow(Find(*store, L"BIOS"), {{L"Name", L"Firmware"}});
        throw std::runtime_error("collector gave up");
    } catch (const std::runtime_error&) {
    }
    // Visible to another connection, so committed; and no transaction is left open.
    EXPECT_EQ(Count("SELECT count(*) FROM session_item"), 1);
    store->KeepSession();
    EXPECT_EQ(Count("SELECT status_type_id FROM session"), 2);
}

}  // namespace
}  // namespace storetest
