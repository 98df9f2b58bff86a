// The loaded session and the change records are what the joins over the tables give, row for
// row and in the same order, on sessions full of what makes text compare oddly: letter case,
// characters beyond ASCII and beyond the 16-bit range, non-characters, quotes, shared keys,
// updates the post-processing turns into hot fixes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "store_fixture.h"
#include "util/utf.h"

namespace storetest {
namespace {

const std::wstring kLast = L"(SELECT MAX(id) FROM session WHERE status_type_id = 2)";

std::wstring Unmatched(const std::wstring& from, const std::wstring& side,
                       const std::wstring& session) {
    return L"SELECT q.name, si.id, si.key_value FROM session_item si INNER JOIN query q ON q.id "
           L"= si.query_id INNER JOIN session s ON s.id = si.session_id WHERE s.id = " +
           from +
           L" AND si.key_value != '' AND si.query_id NOT IN (SELECT query_id FROM "
           L"query_first_session WHERE session_id > " +
           kLast + L") AND si.id NOT IN (SELECT " + side +
           L".id FROM session_item si1 INNER JOIN session_item si2 ON si1.query_id = "
           L"si2.query_id AND si1.key_value = si2.key_value AND si1.session_id = " +
           session + L" AND si2.session_id = " + kLast + L")";
}

std::wstring Changed(const std::wstring& session) {
    return L"SELECT q.name, si1.id, si1.key_value, qf.export_name, sif2.field, sif1.field FROM "
           L"session_item si1 INNER JOIN session_item si2 ON si1.query_id = si2.query_id AND "
           L"si1.key_value = si2.key_value AND si1.session_id = " +
           session + L" AND si2.session_id = " + kLast +
           L" INNER JOIN query q ON q.id = si1.query_id INNER JOIN query_field qf ON q.id = "
           L"qf.query_id INNER JOIN session_item_field sif1 ON si1.id = sif1.session_item_id AND "
           L"qf.id = sif1.query_field_id INNER JOIN session_item_field sif2 ON si2.id = "
           L"sif2.session_item_id AND qf.id = sif2.query_field_id WHERE si1.session_id = " +
           session + L" AND si2.session_id = " + kLast + L" AND sif1.field != sif2.field";
}

ChangeData ChangesBySql(const std::wstring& path, int session) {
    const std::wstring id = std::to_wstring(session);
    Execute(path, L"ANALYZE");
    ChangeData changes;
    const auto collect = [&](const std::wstring& sql, int kind) {
        for (const auto& row : Query(path, sql)) {
            ChangeRecord& record = changes[row[0]].emplace_back();
            record.kind = kind;
            record.itemId = std::stoi(row[1]);
            record.keyValue = row[2];
            if (kind == kChangeValue) {
                record.exportName = row[3];
                record.oldValue = row[4];
                record.newValue = row[5];
            }
        }
    };
    collect(Unmatched(id, L"si1", id), kChangeNewItem);
    collect(Unmatched(kLast, L"si2", id), kChangeRemovedItem);
    collect(Changed(id), kChangeValue);
    return changes;
}

// The order comes from a copy of the tables in a file that keeps its text in UTF-8. On the
// file itself, which keeps UTF-16, the order SQLite gives UPPER's texts depends on the
// connection and the plan (code points or UTF-16 bytes); in UTF-8 both are the code point
// order the program has always shown. The texts come from the file itself: the copy would
// read U+FFFE and U+FFFF as U+FFFD.
SessionData SessionBySql(const std::wstring& path, int session) {
    const std::wstring copy = path + L".utf8";
    std::filesystem::remove(copy);
    sqlite3x::sqlite3_connection db;
    db.open(WideToUtf8(copy).c_str());
    db.run("BEGIN");
    const std::vector<std::pair<std::wstring, std::vector<std::wstring>>> tables = {
        {L"query", {L"id", L"name"}},
        {L"query_field", {L"id", L"query_id", L"export_name"}},
        {L"session_item", {L"id", L"session_id", L"query_id", L"key_value"}},
        {L"session_item_field", {L"id", L"session_item_id", L"query_field_id", L"field"}}};
    for (const auto& [table, columns] : tables) {
        std::wstring declared, names, marks;
        for (const std::wstring& column : columns) {
            const wchar_t* comma = names.empty() ? L"" : L",";
            declared += comma + column + (column.ends_with(L"id") ? L" INTEGER" : L" TEXT");
            names += comma + column;
            marks += comma + std::wstring(L"?");
        }
        db.run(L"CREATE TABLE " + table + L" (" + declared + L")");
        sqlite3x::sqlite3_command insert(
            db, L"INSERT INTO " + table + L" (" + names + L") VALUES (" + marks + L")");
        for (const auto& row : Query(path, L"SELECT " + names + L" FROM " + table)) {
            for (std::size_t i = 0; i < row.size(); ++i)
                insert.bind(static_cast<int>(i + 1), row[i]);
            insert.run();
        }
    }
    db.run("COMMIT");
    std::map<std::wstring, std::wstring> texts;
    for (const auto& row : Query(path, L"SELECT id, field FROM session_item_field"))
        texts[row[0]] = row[1];
    SessionData data;
    std::wstring previous;
    for (const auto& row :
         Query(copy,
               L"SELECT q.name, si.id, qf.export_name, sif.id FROM query q INNER JOIN "
               L"query_field qf ON qf.query_id = q.id INNER JOIN session_item si ON "
               L"si.query_id = q.id INNER JOIN session_item_field sif ON sif.session_item_id "
               L"= si.id AND sif.query_field_id = qf.id WHERE si.session_id = " +
                   std::to_wstring(session) +
                   L" AND si.id IN (SELECT MIN(id) FROM session_item GROUP BY "
                   L"session_id,query_id,key_value) ORDER BY si.query_id,UPPER(si.key_value),"
                   L"si.id")) {
        auto& items = data[row[0]];
        if (row[1] != previous)
            items.emplace_back();
        previous = row[1];
        items.back()[row[2]] = texts[row[3]];
    }
    return data;
}

// Rows drawn from a few texts, so that keys meet again in both runs and within one.
std::vector<StoredRow> Rows(std::mt19937& random) {
    const std::vector<std::wstring> texts = {
        L"alpha", L"Alpha",  L"ALPHA",       L"\u00e9t\u00e9", L"\u00c9T\u00c9", L"\u641c\u72d7",
        L"z",     L"\u0100", L"\U0001F600x", L"\uFFFEa",       L"\uFFFFb",       L"it's \"q\"",
        L"",      L"b",      L"B "};
    const auto text = [&] { return texts[random() % texts.size()]; };
    std::vector<StoredRow> rows;
    for (int i = 0; i < 60; ++i)
        rows.push_back({L"Services", {{L"DisplayName", text()}, {L"ServiceName", text()}}});
    for (int i = 0; i < 60; ++i)
        rows.push_back(
            {L"Process",
             {{L"Name", text()}, {L"CommandLine", text()}, {L"ExecutablePath", text()}}});
    for (int i = 0; i < 20; ++i)
        rows.push_back(
            {L"InstalledSoftware32",
             {{L"DisplayName", random() % 2 ? L"Security Update KB12345" + text() : text()},
              {L"DisplayVersion", text()},
              {L"Publisher", text()}}});
    for (int i = 0; i < 12; ++i)
        rows.push_back({L"Processor",
                        {{L"Name", texts[random() % 3]},
                         {L"DeviceID", texts[random() % 2]},
                         {L"NumberOfCores", text()},
                         {L"MaxClockSpeed", text()}}});
    for (int i = 0; i < 5; ++i)
        rows.push_back(
            {L"QuickFixEngineering", {{L"Description", text()}, {L"HotFixId", L"KB" + text()}}});
    return rows;
}

TEST_F(StoreTest, LoadedSessionAndChangesAreWhatTheJoinsGive) {
    std::mt19937 random(18);
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        auto store = Open();
        store->PreProcess();
        StoreAll(*store, Rows(random), round % 2 == 1);
        store->PostProcess();
        SessionData session;
        store->LoadSession(session);
        EXPECT_EQ(session, SessionBySql(DbPath(), store->GetSessionId()));
        if (round > 0) {
            ChangeData changes;
            ASSERT_EQ(store->LoadChanges(changes), 0);
            EXPECT_EQ(Describe(changes), Describe(ChangesBySql(DbPath(), store->GetSessionId())));
        }
        store->KeepSession();
        EXPECT_EQ(store->GetErrorText(), L"");
    }
}

}  // namespace
}  // namespace storetest
