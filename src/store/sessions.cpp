// Storing the rows of the session in progress, and keeping or dropping it at the end.
#include "store/inventory_database.h"
#include "util/numbers.h"
#include "util/text.h"
#include "util/utf.h"

using sqlite3x::database_error;

// The statements are read first and run afterwards: a DROP TABLE among them would be
// refused while the SELECT that lists them is still reading.
void CInventoryDatabase::RunStoredStatements(const char* select) {
    try {
        std::vector<std::wstring> statements;
        {
            sqlite3x::sqlite3_command command(m_connection, Utf8ToWide(select));
            sqlite3x::sqlite3_cursor row = command.open_cursor();
            while (row.step())
                statements.push_back(row.getwstring(0));
        }
        const std::wstring sessionId = IntToText(m_sessionId);
        for (auto& statement : statements) {
            ReplaceAll(statement, L"@@session_id@@", sessionId);
            m_connection.run(statement);
        }
    } catch (const database_error& e) {
        m_errorText = Utf8ToWide(e.what());
    }
}

void CInventoryDatabase::PreProcess() {
    RunStoredStatements("SELECT query FROM pre_process ORDER BY sequence;");
}

void CInventoryDatabase::PostProcess() {
    RunStoredStatements("SELECT query FROM post_process ORDER BY sequence;");
}

int CInventoryDatabase::StoreRow(const QueryDefinition& query, const ResultRow& row) {
    BeginGroupTransaction();
    if (m_sessionId == 0) {
        m_connection.run(std::wstring(
            L"INSERT INTO `session` (status_type_id,created) VALUES (1,datetime('now'));"));
        m_sessionId = static_cast<int>(m_connection.last_insert_rowid());
    }

    std::wstring keyValue;
    if (auto keys = m_keyFields.find(query.name); keys != m_keyFields.end()) {
        for (const auto& keyField : keys->second) {
            auto value = row.find(keyField);
            if (value == row.end())
                continue;
            if (!keyValue.empty())
                keyValue += L',';
            keyValue += value->second;
        }
    }
    if (keyValue.empty())
        return 1;

    if (!m_writer)
        m_writer = std::make_unique<CSessionWriter>(m_connection);
    if (m_inRowGroup) {
        m_writer->Write(m_sessionId, query.name, keyValue, row);
        return 0;
    }
    // An item without some of its fields would pass for a complete one.
    sqlite3x::sqlite3_scoped_transaction transaction(m_connection);
    m_writer->Write(m_sessionId, query.name, keyValue, row);
    transaction.commit();
    return 0;
}

void CInventoryDatabase::LoadSession(SessionData& data) {
    sqlite3x::sqlite3_command command(
        m_connection,
        L"SELECT q.name, si.id AS session_item_id, qf.export_name, sif.field "
        L"FROM `query` q INNER JOIN `query_field` qf ON qf.query_id = q.id "
        L"INNER JOIN `session_item` si ON si.query_id = q.id "
        L"INNER JOIN `session_item_field` sif ON sif.session_item_id = si.id AND "
        L"sif.query_field_id = qf.id "
        L"WHERE si.session_id = " +
            IntToText(m_sessionId) +
            L" AND si.id IN (SELECT MIN(id) FROM session_item GROUP BY "
            L"session_id,query_id,key_value)"
            L" ORDER BY si.query_id,UPPER(si.key_value),si.id");
    sqlite3x::sqlite3_cursor row = command.open_cursor();
    // The rows of an item come together and share its query: its name is read once.
    std::vector<SessionItem>* items = nullptr;
    int previousItem = 0;
    while (row.step()) {
        const int itemId = row.getint(1);
        if (items == nullptr || itemId != previousItem) {
            items = &data[row.getwstring(0)];
            items->emplace_back();
            previousItem = itemId;
        }
        items->back()[row.getwstring(2)] = row.getwstring(3);
    }
}

void CInventoryDatabase::KeepSession() {
    // Without a session of this run there is nothing to replace the comparison base with.
    if (m_sessionId == 0)
        return;
    EndRowGroup();
    sqlite3x::sqlite3_scoped_transaction transaction(m_connection);
    // Runs that died before their end left their sessions "New"; nothing else removes them.
    const std::wstring abandoned = L"(SELECT id FROM session WHERE status_type_id = 1 AND id != " +
                                   IntToText(m_sessionId) + L")";
    m_connection.run(
        L"DELETE FROM session_item_field WHERE session_item_id IN "
        L"(SELECT id FROM session_item WHERE session_id IN " +
        abandoned + L")");
    m_connection.run(L"DELETE FROM session_item WHERE session_id IN " + abandoned);
    m_connection.run(L"DELETE FROM session WHERE id IN " + abandoned);
    m_connection.run(std::wstring(
        L"DELETE FROM session_item_field WHERE session_item_id IN "
        L"(SELECT si.id FROM session_item si INNER JOIN session s WHERE si.session_id = s.id "
        L"AND s.status_type_id = 2)"));
    m_connection.run(
        std::wstring(L"DELETE FROM session_item WHERE session_id IN "
                     L"(SELECT id FROM session WHERE status_type_id = 2)"));
    m_connection.run(std::wstring(L"DELETE FROM session WHERE status_type_id = 2"));
    m_connection.run(L"UPDATE session SET status_type_id = 2 WHERE id = " + IntToText(m_sessionId));
    transaction.commit();
}

void CInventoryDatabase::CancelSession() {
    try {
        EndRowGroup();
        const std::wstring sessionId = IntToText(m_sessionId);
        m_connection.run(
            L"DELETE FROM session_item_field WHERE session_item_id IN "
            L"(SELECT id FROM session_item WHERE session_id = " +
            sessionId + L")");
        m_connection.run(L"DELETE FROM session_item WHERE session_id = " + sessionId);
        m_connection.run(L"DELETE FROM session WHERE id = " + sessionId);
    } catch (const database_error& e) {
        m_errorText = Utf8ToWide(e.what());
    }
}
