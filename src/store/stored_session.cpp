#include "store/stored_session.h"

StoredSession ReadStoredSession(sqlite3x::sqlite3_connection& connection, std::int64_t sessionId) {
    // Both orders come from the indexes on the session and on the item, without a sort.
    sqlite3x::sqlite3_command command(
        connection,
        L"SELECT si.id, si.query_id, si.key_value, sif.query_field_id, sif.field "
        L"FROM session_item si LEFT JOIN session_item_field sif ON sif.session_item_id = si.id "
        L"WHERE si.session_id = ?1 ORDER BY si.id, sif.id");
    command.bind(1, sessionId);
    StoredSession session;
    session.encoding = connection.encoding();
    for (sqlite3x::sqlite3_cursor row = command.open_cursor(); row.step();) {
        const int id = row.getint(0);
        if (session.items.empty() || session.items.back().id != id) {
            StoredItem& item = session.items.emplace_back();
            item.id = id;
            item.queryId = row.getint(1);
            item.key = row.getbytes(2);
            item.firstField = session.fields.size();
        }
        if (row.isnull(3))
            continue;
        session.fields.push_back({row.getint(3), std::string(row.getbytes(4))});
        ++session.items.back().fieldCount;
    }
    return session;
}

StoredCatalogue ReadStoredCatalogue(sqlite3x::sqlite3_connection& connection) {
    StoredCatalogue catalogue;
    sqlite3x::sqlite3_command queries(connection, L"SELECT id, name FROM `query`");
    for (sqlite3x::sqlite3_cursor row = queries.open_cursor(); row.step();)
        catalogue.queryNames.emplace(row.getint(0), row.getwstring(1));
    sqlite3x::sqlite3_command fields(connection,
                                     L"SELECT id, query_id, export_name FROM `query_field`");
    for (sqlite3x::sqlite3_cursor row = fields.open_cursor(); row.step();)
        catalogue.fields.emplace(row.getint(0),
                                 StoredCatalogue::Field{row.getint(1), row.getwstring(2)});
    return catalogue;
}
