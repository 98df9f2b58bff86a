#pragma once
// A store on a database file in a fresh folder, with a second connection for looking inside
// the file the way another program would.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fake_host.h"
#include "platform/services.h"
#include "store/change_data.h"
#include "store/inventory_database.h"
#include "store/inventory_types.h"
#include "store/sqlite3x.h"
#include "temp_folder.h"

namespace storetest {

inline constexpr int kMajor = 1;
inline constexpr int kMinor = 0;

using Table = std::vector<std::vector<std::wstring>>;

// Every column of every row of a statement, read as text (NULL as empty text).
inline Table Query(const std::wstring& path, const std::wstring& sql) {
    sqlite3x::sqlite3_connection db;
    db.open(path);
    sqlite3x::sqlite3_command command(db, sql);
    sqlite3x::sqlite3_cursor cursor = command.open_cursor();
    Table rows;
    int columns = -1;
    while (cursor.step()) {
        if (columns < 0) {
            // The layer does not tell the column count; the getter refuses an index past it.
            for (columns = 0;; ++columns) {
                try {
                    cursor.getwstring(columns);
                } catch (const sqlite3x::database_error&) {
                    break;
                }
            }
        }
        std::vector<std::wstring> row;
        for (int i = 0; i < columns; ++i) {
            row.push_back(cursor.getwstring(i));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

inline int Scalar(const std::wstring& path, const std::string& sql) {
    sqlite3x::sqlite3_connection db;
    db.open(path);
    return db.scalar_int(sql);
}

inline std::wstring ScalarText(const std::wstring& path, const std::string& sql) {
    sqlite3x::sqlite3_connection db;
    db.open(path);
    return db.scalar_wstring(sql);
}

inline void Execute(const std::wstring& path, const std::wstring& sql) {
    sqlite3x::sqlite3_connection db;
    db.open(path);
    db.run(sql);
}

// Schema and every row of every table, one line per row. Timestamps are left out: two files
// filled by the same operations differ only in them; so are the planner's statistics, which
// are no content.
inline std::wstring Dump(const std::wstring& path) {
    const std::wstring content =
        L" FROM sqlite_master WHERE name NOT LIKE 'sqlite\\_stat%' "
        L"ESCAPE '\\' ";
    std::wstring dump;
    for (const auto& object : Query(path, L"SELECT type, name, tbl_name, COALESCE(sql, '')" +
                                              content + L"ORDER BY type, name")) {
        dump += object[0] + L" " + object[1] + L" on " + object[2] + L": " + object[3] + L"\n";
    }
    for (const auto& table :
         Query(path, L"SELECT name" + content + L"AND type = 'table' ORDER BY name")) {
        std::wstring select;
        for (const auto& column :
             Query(path, L"SELECT name FROM pragma_table_info('" + table[0] + L"')")) {
            if (!select.empty()) {
                select += L" || '|' || ";
            }
            select += column[0] == L"created" ? L"'created'" : L"quote([" + column[0] + L"])";
        }
        dump += L"[" + table[0] + L"]\n";
        for (const auto& row :
             Query(path, L"SELECT " + select + L" FROM [" + table[0] + L"] ORDER BY rowid")) {
            dump += row[0] + L"\n";
        }
    }
    return dump;
}

// Change records one per line, for comparing and for readable failures.
inline std::wstring Describe(const ChangeData& changes) {
    std::wstring text;
    for (const auto& [query, records] : changes) {
        for (const ChangeRecord& r : records) {
            text += query + L" " + std::to_wstring(r.kind) + L" #" + std::to_wstring(r.itemId) +
                    L" [" + r.keyValue + L"] " + r.exportName + L": [" + r.oldValue + L"] -> [" +
                    r.newValue + L"]\n";
        }
    }
    return text;
}

// One catalogue entry by name; fails the test when there is none.
inline const QueryDefinition& Find(const CInventoryDatabase& store, const std::wstring& name) {
    for (const auto& query : store.GetQueries()) {
        if (query.name == name) {
            return query;
        }
    }
    ADD_FAILURE() << "no query named " << ::testing::PrintToString(name);
    static const QueryDefinition none;
    return none;
}

struct StoredRow {
    std::wstring query;
    ResultRow row;
};

struct RunOutcome {
    SessionData session;
    ChangeData changes;
    int changesResult = -1;
    int sessionId = 0;
};

// The fake host stands in for the retry's sleeps; each test gets its own folder.
class StoreTest : public ::testing::Test {
  protected:
    StoreTest() : scope_(platform::Services{nullptr, &host, nullptr}) {}

    std::wstring DbPath() const { return (folder.path() / L"inventory.db").wstring(); }

    std::unique_ptr<CInventoryDatabase> Open(int major = kMajor, int minor = kMinor) {
        return OpenAt(DbPath(), major, minor);
    }

    static std::unique_ptr<CInventoryDatabase> OpenAt(const std::wstring& path, int major = kMajor,
                                                      int minor = kMinor) {
        auto store = std::make_unique<CInventoryDatabase>(major, minor);
        store->Load(path);
        return store;
    }

    // Stores the rows in the given order; with `grouped` each run of rows of one query
    // shares one row group, as the run driver does.
    static void StoreAll(CInventoryDatabase& store, const std::vector<StoredRow>& rows,
                         bool grouped = false) {
        for (size_t i = 0; i < rows.size();) {
            size_t end = i;
            while (end < rows.size() && rows[end].query == rows[i].query) {
                ++end;
            }
            std::unique_ptr<CRowGroup> group;
            if (grouped) {
                group = std::make_unique<CRowGroup>(store);
            }
            const QueryDefinition& query = Find(store, rows[i].query);
            for (; i < end; ++i) {
                store.StoreRow(query, rows[i].row);
            }
            if (group) {
                group->Commit();
            }
        }
    }

    // One complete, successful run as the run driver makes it.
    RunOutcome Run(const std::vector<StoredRow>& rows, bool grouped = false) {
        return RunAt(DbPath(), rows, grouped);
    }

    static RunOutcome RunAt(const std::wstring& path, const std::vector<StoredRow>& rows,
                            bool grouped = false) {
        auto store = OpenAt(path);
        RunOutcome outcome;
        store->PreProcess();
        StoreAll(*store, rows, grouped);
        store->PostProcess();
        store->LoadSession(outcome.session);
        outcome.changesResult = store->LoadChanges(outcome.changes);
        store->KeepSession();
        outcome.sessionId = store->GetSessionId();
        EXPECT_EQ(store->GetErrorText(), L"");
        return outcome;
    }

    TempFolder folder;
    FakeHost host;

  private:
    platform::ServicesScope scope_;
};

}  // namespace storetest
