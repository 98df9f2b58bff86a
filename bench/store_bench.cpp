// Times the store's work on a large synthetic inventory: two sessions (the second slightly
// changed, so that the comparison finds something), stored once with one transaction per
// query and once with one per row; and, as the floor the store is measured against, the
// same rows inserted by a bare prepared-statement loop in one transaction.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/change_data.h"
#include "store/inventory_database.h"
#include "store/inventory_types.h"
#include "store/sqlite3x.h"
#include "util/utf.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Rows per query; every query not named here gets one row.
struct Volume {
    const wchar_t* query;
    int rows;
};
const Volume kVolumes[] = {
    {L"Process", 400},  {L"InstalledSoftware32", 1500}, {L"InstalledSoftware64", 1500},
    {L"Services", 500}, {L"StartupCommand", 199},       {L"QuickFixEngineering", 300},
};

int RowsFor(const QueryDefinition& query) {
    for (const Volume& volume : kVolumes) {
        if (query.name == volume.query) {
            return volume.rows;
        }
    }
    return 1;
}

// Every field filled; item i of a query is the same item in both sessions unless `variant`
// removes, adds or changes it. Every tenth program is an update that the post-processing
// turns into a hot fix, and a few programs repeat a reported hot fix.
ResultRow MakeRow(const QueryDefinition& query, int i, int variant) {
    ResultRow row;
    const bool software = query.name.starts_with(L"InstalledSoftware");
    for (const QueryField& field : query.fields) {
        row[field.name] = query.name + L" " + field.name + L" " + std::to_wstring(i);
    }
    if (software && i % 10 == 0) {
        row[L"DisplayName"] =
            L"Security Update for Windows (KB" + std::to_wstring(2000000 + i) + L")";
        row[L"DisplayVersion"] = L"1";
    } else if (software && i % 97 == 0) {
        row[L"DisplayName"] = L"KB" + std::to_wstring(900000 + i % 300);
    }
    if (query.name == L"QuickFixEngineering") {
        row[L"HotFixId"] = L"KB" + std::to_wstring(900000 + i);
    }
    if (variant == 2 && i % 50 == 7) {
        row[query.fields.back().name] += L" changed";
    }
    return row;
}

struct Session {
    std::vector<std::pair<const QueryDefinition*, std::vector<ResultRow>>> queries;
    size_t rows = 0;
};

Session MakeSession(const std::vector<QueryDefinition>& catalogue, int variant) {
    Session session;
    for (const QueryDefinition& query : catalogue) {
        const int count = RowsFor(query);
        std::vector<ResultRow> rows;
        for (int i = 0; i < count; ++i) {
            if (variant == 2 && count > 1 && i % 100 == 3) {
                continue;  // gone since the first session
            }
            rows.push_back(MakeRow(query, i, variant));
        }
        if (variant == 2 && count > 1) {
            for (int i = count; i < count + count / 100; ++i) {
                rows.push_back(MakeRow(query, i, variant));  // new since the first
            }
        }
        session.rows += rows.size();
        session.queries.emplace_back(&query, std::move(rows));
    }
    return session;
}

enum Phase { kOpen, kStore, kPostProcess, kLoad, kChanges, kKeep, kPhaseCount };
const char* const kPhaseNames[kPhaseCount] = {"open", "store",   "post-process",
                                              "load", "changes", "keep"};

struct Timings {
    double seconds[kPhaseCount] = {};
    size_t rows = 0;
    size_t loadedItems = 0;
    size_t changeRecords = 0;
};

double Time(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One run as the run driver makes it; false when the store recorded a failure.
bool RunSession(const std::wstring& path, int variant, bool grouped, Timings& timings) {
    CInventoryDatabase store(1, 0);
    timings.seconds[kOpen] = Time([&] { store.Load(path); });
    const Session session = MakeSession(store.GetQueries(), variant);
    timings.rows = session.rows;
    store.PreProcess();
    timings.seconds[kStore] = Time([&] {
        for (const auto& [query, rows] : session.queries) {
            if (grouped) {
                CRowGroup group(store);
                for (const ResultRow& row : rows) {
                    store.StoreRow(*query, row);
                }
                group.Commit();
            } else {
                for (const ResultRow& row : rows) {
                    store.StoreRow(*query, row);
                }
            }
        }
    });
    timings.seconds[kPostProcess] = Time([&] { store.PostProcess(); });
    SessionData data;
    timings.seconds[kLoad] = Time([&] { store.LoadSession(data); });
    ChangeData changes;
    timings.seconds[kChanges] = Time([&] { store.LoadChanges(changes); });
    timings.seconds[kKeep] = Time([&] { store.KeepSession(); });
    for (const auto& [name, items] : data) {
        timings.loadedItems += items.size();
    }
    for (const auto& [name, records] : changes) {
        timings.changeRecords += records.size();
    }
    if (!store.GetErrorText().empty()) {
        std::fprintf(stderr, "store error: %ls\n", store.GetErrorText().c_str());
        return false;
    }
    return true;
}

// The least any store can do with these rows: one transaction, two statements prepared
// once, the catalogue ids looked up in memory. Raw SQLite, so that no layer of ours counts.
class Floor {
  public:
    explicit Floor(const std::wstring& path) {
        const std::u16string path16 = ToUtf16(path);
        sqlite3* db = nullptr;
        const int opened = sqlite3_open16(path16.c_str(), &db);
        db_.reset(db);  // a failed open may still hand out a handle
        if (opened != SQLITE_OK) {
            throw std::runtime_error("floor: cannot open the file");
        }
        // The file keeps the store's journal mode; the flushing is the connection's, so it is
        // set as the store sets it.
        Exec("PRAGMA synchronous=NORMAL");
        const Statement ids = Prepare(
            "SELECT q.name, q.key_field, q.id, qf.name, qf.id FROM query q JOIN query_field qf "
            "ON qf.query_id = q.id ORDER BY qf.id");
        while (sqlite3_step(ids.get()) == SQLITE_ROW) {
            Catalogue& query = catalogue_[Text(ids.get(), 0)];
            query.id = sqlite3_column_int64(ids.get(), 2);
            query.keyFields = Text(ids.get(), 1);
            query.fields[Text(ids.get(), 3)] = sqlite3_column_int64(ids.get(), 4);
        }
        item_ =
            Prepare("INSERT INTO session_item (session_id,query_id,key_value) VALUES (?1,?2,?3)");
        field_ = Prepare(
            "INSERT INTO session_item_field (session_item_id,query_field_id,field) "
            "VALUES (?1,?2,?3)");
    }

    void Store(const Session& session) {
        Exec("BEGIN");
        Exec("INSERT INTO session (status_type_id,created) VALUES (1,datetime('now'))");
        const sqlite3_int64 sessionId = sqlite3_last_insert_rowid(db_.get());
        sqlite3_stmt* item = item_.get();
        sqlite3_stmt* field = field_.get();
        for (const auto& [query, rows] : session.queries) {
            const Catalogue& ids = catalogue_.at(query->name);
            for (const ResultRow& row : rows) {
                std::wstring key;
                for (size_t start = 0; start < ids.keyFields.size();) {
                    size_t comma = ids.keyFields.find(L',', start);
                    if (comma == std::wstring::npos) {
                        comma = ids.keyFields.size();
                    }
                    const auto value = row.find(ids.keyFields.substr(start, comma - start));
                    if (value != row.end()) {
                        key += (key.empty() ? L"" : L",") + value->second;
                    }
                    start = comma + 1;
                }
                if (key.empty()) {
                    continue;
                }
                sqlite3_bind_int64(item, 1, sessionId);
                sqlite3_bind_int64(item, 2, ids.id);
                BindText(item, 3, key);
                Step(item);
                sqlite3_bind_int64(field, 1, sqlite3_last_insert_rowid(db_.get()));
                for (const auto& [name, value] : row) {
                    const auto id = ids.fields.find(name);
                    if (id == ids.fields.end()) {
                        continue;
                    }
                    sqlite3_bind_int64(field, 2, id->second);
                    BindText(field, 3, value);
                    Step(field);
                }
            }
        }
        Exec("COMMIT");
    }

  private:
    struct CloseDb {
        void operator()(sqlite3* db) const { sqlite3_close(db); }
    };
    struct Finalize {
        void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
    };
    using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

    struct Catalogue {
        sqlite3_int64 id = 0;
        std::wstring keyFields;
        std::map<std::wstring, sqlite3_int64> fields;
    };

    Statement Prepare(const char* sql) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_.get(), sql, -1, &statement, nullptr) != SQLITE_OK) {
            throw std::runtime_error(std::string("floor: ") + sqlite3_errmsg(db_.get()));
        }
        return Statement(statement);
    }
    void Exec(const char* sql) {
        if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
            throw std::runtime_error(std::string("floor: ") + sqlite3_errmsg(db_.get()));
        }
    }
    void Step(sqlite3_stmt* statement) {
        if (sqlite3_step(statement) != SQLITE_DONE) {
            throw std::runtime_error(std::string("floor: ") + sqlite3_errmsg(db_.get()));
        }
        sqlite3_reset(statement);
    }
    static void BindText(sqlite3_stmt* statement, int index, const std::wstring& text) {
        const std::u16string text16 = ToUtf16(text);
        sqlite3_bind_text16(statement, index, text16.data(),
                            static_cast<int>(text16.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
    }
    static std::wstring Text(sqlite3_stmt* statement, int column) {
        const void* text = sqlite3_column_text16(statement, column);
        const int bytes = sqlite3_column_bytes16(statement, column);
        return text == nullptr ? L""
                               : FromUtf16(std::u16string_view(static_cast<const char16_t*>(text),
                                                               static_cast<size_t>(bytes) / 2));
    }

    // Statements after the handle: they are finalised before it closes.
    std::unique_ptr<sqlite3, CloseDb> db_;
    Statement item_;
    Statement field_;
    std::map<std::wstring, Catalogue> catalogue_;
};

// The floor's file is made by the store, so that it holds the same schema and catalogue.
std::vector<double> FloorSeconds(const std::wstring& path) {
    std::vector<QueryDefinition> catalogue;
    {
        CInventoryDatabase store(1, 0);
        store.Load(path);
        catalogue = store.GetQueries();
    }
    Floor floor(path);
    std::vector<double> seconds;
    for (int variant = 1; variant <= 2; ++variant) {
        const Session session = MakeSession(catalogue, variant);
        seconds.push_back(Time([&] { floor.Store(session); }));
    }
    return seconds;
}

// Phases that did next to nothing (the first comparison) show no rate.
double PerSecond(size_t rows, double seconds) {
    return seconds > 1e-4 ? static_cast<double>(rows) / seconds : 0.0;
}

void PrintSession(const char* title, const Timings& single, const Timings& grouped) {
    std::printf("\n%s: %zu rows stored, %zu items loaded, %zu change records\n", title,
                grouped.rows, grouped.loadedItems, grouped.changeRecords);
    std::printf("%-14s %10s %14s %10s %14s %7s\n", "phase", "single ms", "single rows/s",
                "grouped ms", "grouped rows/s", "ratio");
    double work[2] = {0, 0};
    for (int phase = 0; phase < kPhaseCount; ++phase) {
        const double a = single.seconds[phase];
        const double b = grouped.seconds[phase];
        std::printf("%-14s %10.1f %14.0f %10.1f %14.0f %7.1f\n", kPhaseNames[phase], a * 1000,
                    PerSecond(single.rows, a), b * 1000, PerSecond(grouped.rows, b),
                    b > 0 ? a / b : 0.0);
        if (phase >= kStore && phase <= kChanges) {
            work[0] += a;
            work[1] += b;
        }
    }
    std::printf("%-14s %10.1f %14s %10.1f %14s %7.1f\n", "store..changes", work[0] * 1000, "",
                work[1] * 1000, "", work[1] > 0 ? work[0] / work[1] : 0.0);
}

double StoreToChanges(const Timings& timings) {
    double seconds = 0;
    for (int phase = kStore; phase <= kChanges; ++phase) {
        seconds += timings.seconds[phase];
    }
    return seconds;
}

// The store as the run driver uses it (grouped) against the goals.
void PrintGoals(const Timings grouped[2], const std::vector<double>& floor) {
    std::printf("\nGoals (grouped store)           %10s %10s   %s\n", "first", "second", "goal");
    std::printf("%-30s %10.1f %10.1f\n", "floor: bare loop, ms", floor[0] * 1000, floor[1] * 1000);
    std::printf("%-30s %10.1f %10.1f\n", "store ms", grouped[0].seconds[kStore] * 1000,
                grouped[1].seconds[kStore] * 1000);
    double ratio[2];
    for (int i = 0; i < 2; ++i) {
        ratio[i] = floor[i] > 0 ? grouped[i].seconds[kStore] / floor[i] : 0.0;
    }
    std::printf("%-30s %10.2f %10.2f   <= 3 %s\n", "store / floor", ratio[0], ratio[1],
                ratio[0] <= 3 && ratio[1] <= 3 ? "met" : "MISSED");
    const double through[2] = {StoreToChanges(grouped[0]) * 1000,
                               StoreToChanges(grouped[1]) * 1000};
    std::printf("%-30s %10.1f %10.1f   < 250 ms %s\n", "store..changes ms", through[0], through[1],
                through[0] < 250 && through[1] < 250 ? "met" : "MISSED");
    const double first = grouped[0].seconds[kOpen] * 1000;
    std::printf("%-30s %10.1f %10s   < 50 ms %s\n", "first run: schema and seed, ms", first, "",
                first < 50 ? "met" : "MISSED");
}

}  // namespace

// An optional folder argument keeps the two files there for inspection.
int main(int argc, char** argv) {
    std::random_device random;
    const bool keep = argc > 1;
    const fs::path folder =
        keep ? fs::path(argv[1])
             : fs::temp_directory_path() / ("fennock-bench-" + std::to_string(random()));
    fs::create_directories(folder);
    for (const char* name : {"single.db", "grouped.db", "floor.db"}) {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
            fs::remove(folder / (std::string(name) + suffix));
        }
    }
    int status = 0;
    try {
        Timings single[2];
        Timings grouped[2];
        const std::wstring singlePath = (folder / "single.db").wstring();
        const std::wstring groupedPath = (folder / "grouped.db").wstring();
        for (int variant = 1; variant <= 2 && status == 0; ++variant) {
            if (!RunSession(groupedPath, variant, true, grouped[variant - 1]) ||
                !RunSession(singlePath, variant, false, single[variant - 1])) {
                status = 1;
            }
        }
        const std::vector<double> floor = FloorSeconds((folder / "floor.db").wstring());
        if (status == 0) {
            std::printf(
                "Inventory store, one transaction per row (single) against one "
                "transaction per query (grouped); ratio = single / grouped\n");
            PrintSession("First session", single[0], grouped[0]);
            PrintSession("Second session", single[1], grouped[1]);
            PrintGoals(grouped, floor);
            std::printf("\nfile size: %ju bytes\n",
                        static_cast<std::uintmax_t>(fs::file_size(groupedPath)));
        }
    } catch (const sqlite3x::database_error& e) {
        std::fprintf(stderr, "database error: %s\n", e.what());
        status = 1;
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        status = 1;
    }
    if (!keep) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    return status;
}
