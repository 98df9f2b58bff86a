// What StoreRow leaves in the file: the same rows, ids and order as the statements assembled
// as text that it replaced, values whole whatever characters they hold, and a row stored
// whole or not at all.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store_fixture.h"
#include "util/numbers.h"
#include "util/text.h"
#include "util/utf.h"

namespace storetest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Pair;

std::wstring Literal(const std::wstring& text) {
    return L"'" + EscapeSql(text) + L"'";
}

// The former StoreRow, kept as the reference: an INSERT ... SELECT for the item and one for
// all its fields, with the values as literals in the SQL text.
class TextFormStore {
  public:
    explicit TextFormStore(const std::wstring& path) { db_.open(path); }

    void Begin() { db_.run("begin"); }
    void Commit() { db_.run("commit"); }

    void StoreRow(const std::wstring& queryName, const ResultRow& row) {
        if (sessionId_ == 0) {
            db_.run(std::wstring(
                L"INSERT INTO `session` (status_type_id,created) VALUES (1,datetime('now'));"));
            sessionId_ = static_cast<int>(db_.last_insert_rowid());
        }
        // The store reads the catalogue in id order, so the last query of a name gives the
        // key fields.
        std::wstring keyValue;
        sqlite3x::sqlite3_command keys(db_, L"SELECT key_field FROM query WHERE name = " +
                                                Literal(queryName) + L" ORDER BY id DESC");
        for (const auto& keyField : Split(keys.scalar_wstring(), L',')) {
            auto value = row.find(keyField);
            if (value == row.end())
                continue;
            if (!keyValue.empty())
                keyValue += L',';
            keyValue += value->second;
        }
        if (keyValue.empty())
            return;
        const std::wstring name = Literal(queryName);
        db_.run(L"INSERT INTO `session_item` (session_id,query_id,key_value) SELECT " +
                IntToText(sessionId_) + L",id," + Literal(keyValue) +
                L" FROM `query` WHERE name = " + name);
        const std::wstring itemId = IntToText(static_cast<int>(db_.last_insert_rowid()));
        std::wstring values = L"CASE qf.name";
        std::wstring names;
        std::wstring order = L"CASE qf.name";
        int rank = 0;
        for (const auto& [field, value] : row) {
            values += L" WHEN " + Literal(field) + L" THEN " + Literal(value);
            names += (names.empty() ? L"" : L",") + Literal(field);
            order += L" WHEN " + Literal(field) + L" THEN " + IntToText(rank++);
        }
        db_.run(
            L"INSERT INTO `session_item_field` (session_item_id,query_field_id,field) "
            L"SELECT " +
            itemId + L",qf.id," + values +
            L" END FROM `query` q INNER JOIN `query_field` qf ON q.id = qf.query_id "
            L"WHERE q.name = " +
            name + L" AND qf.name IN (" + names + L") ORDER BY " + order + L" END, qf.id");
    }

  private:
    sqlite3x::sqlite3_connection db_;
    int sessionId_ = 0;
};

// Rows that exercise every rule of storing: skipped rows (also the first one, which still
// begins the session), fields outside the catalogue, missing and empty fields, fields whose
// key order is not their id order, repeated keys, quotes and wide characters; and, with the
// catalogue below, a field name held twice by one query and a query name held twice.
std::vector<StoredRow> Rows(int session) {
    const std::wstring n = std::to_wstring(session);
    return {
        {L"Process", {{L"ExecutablePath", L"no key " + n}}},
        {L"Version",
         {{L"FileVersionMajor", L"1"},
          {L"FileVersionMinor", n},
          {L"DataVersionMajor", L"2"},
          {L"RunAsAdmin", L"0"},
          {L"ZephId", L""}}},
        {L"Process",
         {{L"Name", L"a.exe"},
          {L"CommandLine", L"a -" + n},
          {L"ExecutablePath", L"C:\\Gr\u00FC\u00DFe\\\u6587.exe"}}},
        {L"Process", {{L"Name", L"O'Neil's"}, {L"CommandLine", L"''"}, {L"Extra", L"dropped"}}},
        {L"Process", {{L"Name", L"a.exe"}, {L"CommandLine", L"a -" + n}}},
        {L"Process", {{L"Name", L""}, {L"CommandLine", L"only the second"}}},
        {L"Process", {{L"Name", L""}, {L"CommandLine", L""}}},
        {L"BIOS", {{L"Name", L"Firmware"}, {L"Version", n}, {L"Serial", L"second BIOS"}}},
        {L"Services", {{L"ServiceName", L"no display name"}}},
        {L"Services", {{L"DisplayName", L"Svc \U0001F600"}, {L"ServiceName", n}}},
        {L"Services", {{L"DisplayName", L"Other"}}},
    };
}

void EditCatalogue(const std::wstring& path) {
    Execute(path,
            L"INSERT INTO query_field (query_id, name, export_name) VALUES (2, 'Name', 'N2')");
    Execute(path,
            L"INSERT INTO query (query_type_id, query, name, max_rows, key_field) "
            L"VALUES (2, 'Select * from Win32_BIOS', 'BIOS', 0, 'Name')");
    Execute(path,
            L"INSERT INTO query_field (query_id, name, export_name) "
            L"SELECT max(id), 'Serial', 'Serial' FROM query UNION ALL "
            L"SELECT max(id), 'Name', 'Name' FROM query");
}

void StoreByText(const std::wstring& path, const std::vector<StoredRow>& rows, bool grouped) {
    TextFormStore store(path);
    for (size_t i = 0; i < rows.size(); ++i) {
        const bool first = i == 0 || rows[i - 1].query != rows[i].query;
        const bool last = i + 1 == rows.size() || rows[i + 1].query != rows[i].query;
        if (grouped && first)
            store.Begin();
        store.StoreRow(rows[i].query, rows[i].row);
        if (grouped && last)
            store.Commit();
    }
}

class StoredRowsTest : public StoreTest {};

TEST_F(StoredRowsTest, SameFileAsTheStatementsAssembledAsText) {
    for (const bool grouped : {false, true}) {
        SCOPED_TRACE(grouped ? "grouped" : "single");
        const std::wstring bound =
            (folder.path() / (grouped ? L"g-bound.db" : L"s-bound.db")).wstring();
        const std::wstring text =
            (folder.path() / (grouped ? L"g-text.db" : L"s-text.db")).wstring();
        for (const auto& path : {bound, text}) {
            OpenAt(path);
            EditCatalogue(path);
        }
        for (int session = 1; session <= 2; ++session) {
            StoreByText(text, Rows(session), grouped);
            auto store = OpenAt(bound);
            StoreAll(*store, Rows(session), grouped);
        }
        EXPECT_EQ(Dump(bound), Dump(text));
        // The dump compares something: both sessions, with the items and fields above.
        EXPECT_EQ(Scalar(bound, "SELECT count(*) FROM session"), 2);
        EXPECT_EQ(Scalar(bound, "SELECT count(*) FROM session_item"), 18);
        EXPECT_EQ(Scalar(bound, "SELECT count(*) FROM session_item_field"), 50);
    }
}

TEST_F(StoredRowsTest, CatalogueIdsAreReadAtTheFirstRowOfAQuery) {
    auto store = Open();
    const QueryDefinition& bios = Find(*store, L"BIOS");
    store->StoreRow(bios, {{L"Name", L"one"}, {L"Version", L"1"}});
    // Renamed behind the store's back: this run keeps storing the field by its first name.
    Execute(DbPath(),
            L"UPDATE query_field SET name = 'Release' WHERE name = 'Version' AND "
            L"query_id = 3");
    store->StoreRow(bios, {{L"Name", L"two"}, {L"Version", L"2"}, {L"Release", L"R2"}});
    const std::wstring fields =
        L"SELECT si.key_value, sif.query_field_id, sif.field FROM session_item si "
        L"JOIN session_item_field sif ON sif.session_item_id = si.id ORDER BY sif.id";
    EXPECT_THAT(Query(DbPath(), fields),
                ElementsAre(ElementsAre(L"one", L"12", L"one"), ElementsAre(L"one", L"13", L"1"),
                            ElementsAre(L"two", L"12", L"two"), ElementsAre(L"two", L"13", L"2")));
    // The next run reads the catalogue again.
    store = Open();
    store->StoreRow(Find(*store, L"BIOS"),
                    {{L"Name", L"three"}, {L"Version", L"3"}, {L"Release", L"R3"}});
    EXPECT_THAT(
        Query(DbPath(), fields + L" DESC LIMIT 2"),
        ElementsAre(ElementsAre(L"three", L"13", L"R3"), ElementsAre(L"three", L"12", L"three")));
}

TEST_F(StoredRowsTest, RowOutsideAGroupIsStoredWholeOrNotAtAll) {
    Open();
    Execute(DbPath(),
            L"CREATE TRIGGER refuse BEFORE INSERT ON session_item_field WHEN NEW.field = 'bad' "
            L"BEGIN SELECT RAISE(ABORT, 'refused by test'); END");
    auto store = Open();
    const QueryDefinition& bios = Find(*store, L"BIOS");
    EXPECT_EQ(store->StoreRow(bios, {{L"Name", L"good"}, {L"Version", L"1"}}), 0);
    try {
        store->StoreRow(bios, {{L"Name", L"partial"}, {L"Version", L"bad"}});
        ADD_FAILURE() << "StoreRow did not throw";
    } catch (const sqlite3x::database_error& error) {
        EXPECT_THAT(error.what(), HasSubstr("refused by test"));
    }
    EXPECT_THAT(Query(DbPath(), L"SELECT key_value FROM session_item"),
                ElementsAre(ElementsAre(L"good")));
    EXPECT_EQ(Scalar(DbPath(), "SELECT count(*) FROM session_item_field"), 2);
    // The store carries on.
    EXPECT_EQ(store->StoreRow(bios, {{L"Name", L"after"}}), 0);
    EXPECT_EQ(Scalar(DbPath(), "SELECT count(*) FROM session_item"), 2);
}

std::wstring WithCodeUnit(const std::wstring& before, unsigned unit, const std::wstring& after) {
    return before + static_cast<wchar_t>(unit) + after;
}

// A NUL inside a value ends the text for C strings, and ended the SQL text inside a literal.
TEST_F(StoredRowsTest, ValuesSurviveWholeThroughStoreLoadAndComparison) {
    using namespace std::string_literals;
    const std::wstring nulKey = L"nul\0key"s;
    const std::wstring nul = L"a\0b\0"s;
    // A lone surrogate is ill-formed: it becomes U+FFFD, the text around it stays.
    const std::wstring lone = WithCodeUnit(L"x", 0xD800, L"y") + WithCodeUnit(L"", 0xDC00, L"");
    const std::wstring loneStored = L"x\uFFFDy\uFFFD";
    std::wstring huge;
    for (int i = 0; huge.size() < 3'000'000; ++i)
        huge += L"line " + std::to_wstring(i) + L" \u00E9\u6587\U0001F600\n";
    const std::wstring hugeWithNul = huge + L'\0' + L"end";

    auto rows = [&](const std::wstring& tail) {
        return std::vector<StoredRow>{
            {L"Process", {{L"Name", nulKey}, {L"ExecutablePath", nul + tail}}},
            {L"BIOS",
             {{L"Name", L"Firmware"}, {L"Manufacturer", lone}, {L"Version", hugeWithNul + tail}}},
        };
    };
    const RunOutcome first = Run(rows(L""));
    EXPECT_THAT(first.session.at(L"Process"),
                ElementsAre(ElementsAre(Pair(L"ExecutablePath", nul), Pair(L"Name", nulKey))));
    ASSERT_EQ(first.session.at(L"BIOS").size(), 1u);
    EXPECT_EQ(first.session.at(L"BIOS")[0].at(L"Manufacturer"), loneStored);
    EXPECT_TRUE(first.session.at(L"BIOS")[0].at(L"Version") == hugeWithNul);
    EXPECT_EQ(Scalar(DbPath(), "SELECT max(length(CAST(field AS BLOB))) FROM session_item_field"),
              static_cast<int>(2 * ToUtf16(huge).size() + 8));

    // Differences after the NUL are changes; the same values again are none.
    const RunOutcome second = Run(rows(L"!"));
    ASSERT_EQ(second.changes.size(), 2u);
    ASSERT_EQ(second.changes.at(L"Process").size(), 1u);
    const ChangeRecord& process = second.changes.at(L"Process")[0];
    EXPECT_EQ(process.kind, kChangeValue);
    EXPECT_EQ(process.keyValue, nulKey);
    EXPECT_EQ(process.oldValue, nul);
    EXPECT_EQ(process.newValue, nul + L"!");
    ASSERT_EQ(second.changes.at(L"BIOS").size(), 1u);
    const ChangeRecord& bios = second.changes.at(L"BIOS")[0];
    EXPECT_EQ(bios.kind, kChangeValue);
    EXPECT_TRUE(bios.oldValue == hugeWithNul);
    EXPECT_TRUE(bios.newValue == hugeWithNul + L"!");
    EXPECT_THAT(Run(rows(L"!")).changes, IsEmpty());
}

}  // namespace
}  // namespace storetest
