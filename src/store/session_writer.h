#pragma once
// Writes the items of the session in progress: two statements prepared once and bound for
// every row, and the catalogue ids of a query read once, at its first row.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "store/inventory_types.h"
#include "store/sqlite3x.h"

class CSessionWriter {
  public:
    explicit CSessionWriter(sqlite3x::sqlite3_connection& connection);
    CSessionWriter(const CSessionWriter&) = delete;
    CSessionWriter& operator=(const CSessionWriter&) = delete;

    // One item under `keyValue`, with the fields of the row that are fields of the query,
    // inserted in the row's key order. Stores nothing for a name the catalogue lacks.
    void Write(std::int64_t sessionId, const std::wstring& queryName, const std::wstring& keyValue,
               const ResultRow& row);

  private:
    // A catalogue may hold a name more than once; every query of the name gets the item,
    // as a join on the name would give it.
    struct CatalogueIds {
        std::vector<std::int64_t> queries;                         // ascending
        std::map<std::wstring, std::vector<std::int64_t>> fields;  // by name, ids ascending
    };
    const CatalogueIds& Resolve(const std::wstring& queryName);

    sqlite3x::sqlite3_connection& m_connection;
    sqlite3x::sqlite3_command m_insertItem;
    sqlite3x::sqlite3_command m_insertField;
    std::map<std::wstring, CatalogueIds> m_ids;
};
