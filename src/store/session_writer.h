#pragma once
// Writes the items of the session in progress, and the catalogue ids of a query read once,
// at its first row. Items added for a group are buffered and written many rows per
// statement; a single item goes the same way at once.
#include <cstdint>
#include <map>
#include <memory>
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
    // The same item, buffered for Flush, which gives it the ids Write would have given it.
    void Add(std::int64_t sessionId, const std::wstring& queryName, const std::wstring& keyValue,
             const ResultRow& row);
    // Writes what Add buffered, many rows per statement: SQLite opens a statement's cursors
    // on the table and its indexes once for all its rows instead of once per row. On a
    // failure the buffered items are dropped and the failure is thrown.
    void Flush();
    bool HasPending() const { return !m_pending.empty(); }

  private:
    // A catalogue may hold a name more than once; every query of the name gets the item,
    // as a join on the name would give it.
    struct CatalogueIds {
        std::vector<std::int64_t> queries;                         // ascending
        std::map<std::wstring, std::vector<std::int64_t>> fields;  // by name, ids ascending
    };
    struct PendingItem {
        std::int64_t sessionId;
        const CatalogueIds* ids;
        std::wstring keyValue;
        std::vector<std::pair<std::int64_t, std::wstring>> fields;  // in insertion order
    };

    const CatalogueIds& Resolve(const std::wstring& queryName);
    sqlite3x::sqlite3_command& BatchInsert(
        std::map<std::size_t, std::unique_ptr<sqlite3x::sqlite3_command>>& prepared,
        const wchar_t* insertInto, std::size_t rows);

    sqlite3x::sqlite3_connection& m_connection;
    std::map<std::wstring, CatalogueIds> m_ids;
    std::vector<PendingItem> m_pending;
    std::size_t m_pendingRows = 0;  // items and fields
    // By number of rows: the full batch and powers of two.
    std::map<std::size_t, std::unique_ptr<sqlite3x::sqlite3_command>> m_itemBatches;
    std::map<std::size_t, std::unique_ptr<sqlite3x::sqlite3_command>> m_fieldBatches;
};
