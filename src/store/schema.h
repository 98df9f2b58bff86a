#pragma once
// The format of the inventory file: every table with its seed rows and indexes, in the order
// they are created, and the view.
#include <string>
#include <vector>

inline constexpr int kDataFormatBuild = 16;

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
