// What changed since the session kept by the previous run: new items, removed items and
// changed values, each found by one statement over the stored sessions.
#include "store/inventory_database.h"
#include "util/numbers.h"
#include "util/utf.h"

namespace {

const std::wstring kLastSession = L"(SELECT MAX(id) FROM session WHERE status_type_id = 2)";

// Items of `from` with a non-empty key and no item of the same query and key in the other
// session; `unmatched` names the side of the join whose ids are excluded. A query the kept
// session was never asked (an upgrade added it later) has nothing to compare with.
std::wstring UnmatchedItems(const std::wstring& from, const std::wstring& unmatched,
                            const std::wstring& sessionId) {
    return L"SELECT q.name, si.id AS session_item_id, si.key_value "
           L"FROM session_item si "
           L"INNER JOIN query q ON q.id = si.query_id "
           L"INNER JOIN session s ON s.id = si.session_id "
           L"WHERE s.id = " +
           from +
           L" AND si.key_value != '' AND "
           L"si.query_id NOT IN (SELECT query_id FROM query_first_session WHERE session_id > " +
           kLastSession +
           L") AND "
           L"si.id NOT IN ( "
           L"  SELECT " +
           unmatched +
           L".id "
           L"  FROM session_item si1 "
           L"  INNER JOIN session_item si2 "
           L"    ON si1.query_id = si2.query_id AND si1.key_value = si2.key_value AND "
           L"si1.session_id = " +
           sessionId +
           L" AND "
           L"       si2.session_id = " +
           kLastSession + L");";
}

std::wstring ChangedValues(const std::wstring& sessionId) {
    return L"SELECT q.name, si1.id AS session_item_id, si1.key_value, qf.export_name, sif2.field "
           L"AS field_old, sif1.field AS field_new "
           L"FROM session_item si1 "
           L"INNER JOIN session_item si2 "
           L"  ON si1.query_id = si2.query_id AND si1.key_value = si2.key_value AND "
           L"si1.session_id = " +
           sessionId +
           L" AND "
           L"     si2.session_id = " +
           kLastSession +
           L" "
           L"INNER JOIN query q ON q.id = si1.query_id "
           L"INNER JOIN query_field qf ON q.id = qf.query_id "
           L"INNER JOIN session_item_field sif1 ON si1.id = sif1.session_item_id AND qf.id = "
           L"sif1.query_field_id "
           L"INNER JOIN session_item_field sif2 ON si2.id = sif2.session_item_id AND qf.id = "
           L"sif2.query_field_id "
           L"WHERE si1.session_id = " +
           sessionId + L"  AND si2.session_id = " + kLastSession +
           L"  AND sif1.field != sif2.field;";
}

}  // namespace

int CInventoryDatabase::LoadChanges(ChangeData& data) {
    if (m_lastScan.tm_year == 0)
        return 1;
    const std::wstring sessionId = IntToText(m_sessionId);

    // Without statistics SQLite reaches the other session's items through the query index
    // and the comparison grows with the square of the inventory (25 s for a few thousand
    // items); with them it takes the key-value and item indexes (tens of milliseconds).
    try {
        m_connection.run(std::string("ANALYZE;"));
    } catch (const sqlite3x::database_error& e) {
        m_errorText = Utf8ToWide(e.what());
    }

    // Each kind is collected on its own: a failure loses that kind only.
    auto collect = [&](const std::wstring& sql, int kind) {
        try {
            sqlite3x::sqlite3_command command(m_connection, sql);
            sqlite3x::sqlite3_cursor row = command.open_cursor();
            while (row.step()) {
                ChangeRecord record;
                record.kind = kind;
                record.itemId = row.getint(1);
                record.keyValue = row.getwstring(2);
                if (kind == kChangeValue) {
                    record.exportName = row.getwstring(3);
                    record.oldValue = row.getwstring(4);
                    record.newValue = row.getwstring(5);
                }
                data[row.getwstring(0)].push_back(std::move(record));
            }
        } catch (const sqlite3x::database_error& e) {
            m_errorText = Utf8ToWide(e.what());
        }
    };
    collect(UnmatchedItems(sessionId, L"si1", sessionId), kChangeNewItem);
    collect(UnmatchedItems(kLastSession, L"si2", sessionId), kChangeRemovedItem);
    collect(ChangedValues(sessionId), kChangeValue);
    return 0;
}
