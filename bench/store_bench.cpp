// Times the store's work on a large synthetic inventory: two sessions (the second slightly
// changed, so that the comparison finds something), stored once with one transaction per
// query and once with one per statement.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "changes/change_data.h"
#include "store/inventory_database.h"
#include "store/inventory_types.h"
#include "store/sqlite3x.h"

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

}  // namespace

// An optional folder argument keeps the two files there for inspection.
int main(int argc, char** argv) {
    std::random_device random;
    const bool keep = argc > 1;
    const fs::path folder =
        keep ? fs::path(argv[1])
             : fs::temp_directory_path() / ("fennock-bench-" + std::to_string(random()));
    fs::create_directories(folder);
    fs::remove(folder / "single.db");
    fs::remove(folder / "grouped.db");
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
        if (status == 0) {
            std::printf(
                "Inventory store, per-statement commits (single) against one "
                "transaction per query (grouped); ratio = single / grouped\n");
            PrintSession("First session", single[0], grouped[0]);
            PrintSession("Second session", single[1], grouped[1]);
            std::printf("\nfile size: %ju bytes\n",
                        static_cast<std::uintmax_t>(fs::file_size(groupedPath)));
        }
    } catch (const sqlite3x::database_error& e) {
        std::fprintf(stderr, "database error: %s\n", e.what());
        status = 1;
    }
    if (!keep) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    return status;
}
