#include "store/session_writer.h"

#include <bit>
#include <utility>

namespace {

// Rows per statement: three parameters each, far below SQLite's limit of parameters, and
// enough that opening the cursors no longer counts.
constexpr std::size_t kBatchRows = 200;

// Rows for the next statement out of `waiting`: a full batch, else the largest power of two,
// so that the remainders of a run need a handful of prepared statements, not one per size.
std::size_t StatementRows(std::size_t waiting) {
    return waiting >= kBatchRows ? kBatchRows : std::bit_floor(waiting);
}

constexpr wchar_t kInsertItems[] =
    L"INSERT INTO `session_item` (session_id,query_id,key_value) VALUES ";
constexpr wchar_t kInsertFields[] =
    L"INSERT INTO `session_item_field` (session_item_id,query_field_id,field) VALUES ";

}  // namespace

// The one-row statements are prepared at once: a file without the tables fails the first
// row, not the end of the run.
CSessionWriter::CSessionWriter(sqlite3x::sqlite3_connection& connection)
    : m_connection(connection) {
    BatchInsert(m_itemBatches, kInsertItems, 1);
    BatchInsert(m_fieldBatches, kInsertFields, 1);
}

const CSessionWriter::CatalogueIds& CSessionWriter::Resolve(const std::wstring& queryName) {
    if (auto known = m_ids.find(queryName); known != m_ids.end())
        return known->second;
    CatalogueIds ids;
    sqlite3x::sqlite3_command queries(m_connection,
                                      L"SELECT id FROM `query` WHERE name = ?1 ORDER BY id");
    queries.bind(1, queryName);
    for (sqlite3x::sqlite3_cursor row = queries.open_cursor(); row.step();)
        ids.queries.push_back(row.getint(0));
    sqlite3x::sqlite3_command fields(
        m_connection,
        L"SELECT qf.name, qf.id FROM `query` q INNER JOIN `query_field` qf ON q.id = "
        L"qf.query_id WHERE q.name = ?1 ORDER BY qf.id");
    fields.bind(1, queryName);
    for (sqlite3x::sqlite3_cursor row = fields.open_cursor(); row.step();)
        ids.fields[row.getwstring(0)].push_back(row.getint(1));
    return m_ids.emplace(queryName, std::move(ids)).first->second;
}

void CSessionWriter::Write(std::int64_t sessionId, const std::wstring& queryName,
                           const std::wstring& keyValue, const ResultRow& row) {
    Add(sessionId, queryName, keyValue, row);
    Flush();
}

void CSessionWriter::Add(std::int64_t sessionId, const std::wstring& queryName,
                         const std::wstring& keyValue, const ResultRow& row) {
    const CatalogueIds& ids = Resolve(queryName);
    if (ids.queries.empty())
        return;
    PendingItem& item = m_pending.emplace_back(PendingItem{sessionId, &ids, keyValue, {}});
    for (const auto& [name, value] : row) {
        const auto fieldIds = ids.fields.find(name);
        if (fieldIds == ids.fields.end())
            continue;
        for (const std::int64_t fieldId : fieldIds->second)
            item.fields.emplace_back(fieldId, value);
    }
    m_pendingRows += ids.queries.size() + item.fields.size();
    if (m_pendingRows >= 4 * kBatchRows)
        Flush();
}

sqlite3x::sqlite3_command& CSessionWriter::BatchInsert(
    std::map<std::size_t, std::unique_ptr<sqlite3x::sqlite3_command>>& prepared,
    const wchar_t* insertInto, std::size_t rows) {
    auto& command = prepared[rows];
    if (!command) {
        std::wstring sql = insertInto;
        for (std::size_t i = 0; i < rows; ++i)
            sql += i == 0 ? L"(?,?,?)" : L",(?,?,?)";
        command = std::make_unique<sqlite3x::sqlite3_command>(m_connection, sql);
    }
    return *command;
}

void CSessionWriter::Flush() {
    // Taken out first: on a failure what was buffered is dropped.
    const std::vector<PendingItem> pending = std::exchange(m_pending, {});
    m_pendingRows = 0;
    struct FieldRow {
        std::int64_t itemId;
        std::int64_t fieldId;
        const std::wstring* value;
    };
    std::vector<FieldRow> fields;
    const auto insertFields = [&](bool all) {
        while (fields.size() >= kBatchRows || (all && !fields.empty())) {
            const std::size_t rows = StatementRows(fields.size());
            auto& insert = BatchInsert(m_fieldBatches, kInsertFields, rows);
            for (std::size_t i = 0; i < rows; ++i) {
                const int at = static_cast<int>(3 * i);
                insert.bind(at + 1, fields[i].itemId);
                insert.bind(at + 2, fields[i].fieldId);
                insert.bind(at + 3, *fields[i].value);
            }
            insert.run();
            fields.erase(fields.begin(), fields.begin() + static_cast<std::ptrdiff_t>(rows));
        }
    };
    std::size_t itemRows = 0;
    for (const PendingItem& item : pending)
        itemRows += item.ids->queries.size();
    for (std::size_t first = 0; first < pending.size();) {
        // As many items as fill a statement; one item with more rows than that is its own.
        const std::size_t limit = StatementRows(itemRows);
        std::size_t end = first;
        std::size_t rows = 0;
        while (end < pending.size() &&
               (end == first || rows + pending[end].ids->queries.size() <= limit))
            rows += pending[end++].ids->queries.size();
        itemRows -= rows;
        auto& insert = BatchInsert(m_itemBatches, kInsertItems, rows);
        int at = 0;
        for (std::size_t i = first; i < end; ++i) {
            for (const std::int64_t queryId : pending[i].ids->queries) {
                insert.bind(++at, pending[i].sessionId);
                insert.bind(++at, queryId);
                insert.bind(++at, pending[i].keyValue);
            }
        }
        insert.run();
        // The rows of one statement take consecutive ids: the write lock is held, and each
        // new id is one past the largest the table has had.
        std::int64_t itemId = m_connection.last_insert_rowid() - static_cast<std::int64_t>(rows);
        for (std::size_t i = first; i < end; ++i) {
            itemId += static_cast<std::int64_t>(pending[i].ids->queries.size());
            // With a name held twice every field goes to the last of its items.
            for (const auto& [fieldId, value] : pending[i].fields)
                fields.push_back({itemId, fieldId, &value});
            insertFields(false);
        }
        first = end;
    }
    insertFields(true);
}
