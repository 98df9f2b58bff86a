#include "store/session_writer.h"

#include <utility>

CSessionWriter::CSessionWriter(sqlite3x::sqlite3_connection& connection)
    : m_connection(connection),
      m_insertItem(connection,
                   L"INSERT INTO `session_item` (session_id,query_id,key_value) VALUES (?1,?2,?3)"),
      m_insertField(connection,
                    L"INSERT INTO `session_item_field` (session_item_id,query_field_id,field) "
                    L"VALUES (?1,?2,?3)") {}

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
    const CatalogueIds& ids = Resolve(queryName);
    if (ids.queries.empty())
        return;
    for (const std::int64_t queryId : ids.queries) {
        m_insertItem.bind(1, sessionId);
        m_insertItem.bind(2, queryId);
        m_insertItem.bind(3, keyValue);
        m_insertItem.run();
    }
    // With a name held twice every field goes to the last of its items, as a join on the
    // name gives it.
    m_insertField.bind(1, m_connection.last_insert_rowid());
    for (const auto& [name, value] : row) {
        const auto fieldIds = ids.fields.find(name);
        if (fieldIds == ids.fields.end())
            continue;
        m_insertField.bind(3, value);
        for (const std::int64_t fieldId : fieldIds->second) {
            m_insertField.bind(2, fieldId);
            m_insertField.run();
        }
    }
}
