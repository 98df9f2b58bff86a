#pragma once
// The format of the inventory file: every table with its seed rows and indexes, in the order
// they are created, and the view.
#include <string>
#include <vector>

// 16 is the first catalogue's; later builds add rows after it (seed_catalogue.h).
inline constexpr int kDataFormatBuild = 18;
inline constexpr int kFirstDataFormatBuild = 16;

struct TableDefinition {
    const char* name;
    const char* create;
    std::vector<std::string> indexes;
    // The seed rows' INSERT statements, in id order.
    std::vector<std::string> (*seed)();
};

// Tables in creation order.
const std::vector<TableDefinition>& SchemaTables();

inline constexpr char kVersionTable[] = "version";
const char* VersionTableCreate();
inline constexpr char kSessionView[] = "v_session_item_field";
const char* SessionViewCreate();

// Queries that an upgrade added to a file that already held sessions, each with the first
// session that collected it: earlier sessions never asked, so their lack of its items is
// no change.
inline constexpr char kQueryFirstSession[] = "query_first_session";
const char* QueryFirstSessionCreate();

// What a file of an earlier build of this version lacks: the catalogue rows added since,
// in id order, and the first session of each added query. A table that is missing gets its
// whole seed when it is made again, so its statements are skipped.
struct UpgradeStatement {
    const char* needs;  // the table the statement reads or fills
    std::string sql;
};
std::vector<UpgradeStatement> CatalogueUpgrade(int fromBuild);
