// Storing the rows of the session in progress, and keeping or dropping it at the end.
#include "store/inventory_database.h"

#include <algorithm>
#include <memory>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "store/seed_catalogue.h"
#include "store/stored_session.h"
#include "util/numbers.h"
#include "util/text.h"
#include "util/utf.h"

using sqlite3x::database_error;

namespace {

// Compared whole: a statement changed by as much as a space runs as stored.
std::wstring Runnable(std::wstring statement) {
    for (const SeedEquivalent& equivalent : SeedScopedEquivalents())
        if (std::equal(statement.begin(), statement.end(), equivalent.seeded,
                       equivalent.seeded + std::char_traits<char>::length(equivalent.seeded)))
            return Utf8ToWide(equivalent.scoped);
    return statement;
}

// A key as the loaded session orders it: ASCII letters in upper case, as SQL's UPPER folds
// them, and the characters compared by code point, as text compares in UTF-8. Held as UTF-8,
// whose bytes compare (a memcmp, not a loop over characters) in the order of code points.
std::string FoldedKey(const std::wstring& key) {
    std::string folded;
    folded.reserve(key.size());
    for (std::size_t i = 0; i < key.size();) {
        const char32_t c = NextCodePoint(key, i);
        AppendCodePoint(folded, c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c);
    }
    return folded;
}

}  // namespace

// The statements are read first and run afterwards: a DROP TABLE among them would be
// refused while the SELECT that lists them is still reading.
void CInventoryDatabase::RunStoredStatements(const char* select) {
    m_loadedSession.reset();
    try {
        WritePendingRows();
        std::vector<std::wstring> statements;
        {
            sqlite3x::sqlite3_command command(m_connection, Utf8ToWide(select));
            sqlite3x::sqlite3_cursor row = command.open_cursor();
            while (row.step())
                statements.push_back(row.getwstring(0));
        }
        const std::wstring sessionId = IntToText(m_sessionId);
        for (auto& statement : statements) {
            statement = Runnable(std::move(statement));
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
    m_loadedSession.reset();
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
        m_writer->Add(m_sessionId, query.name, keyValue, row);
        return 0;
    }
    // An item without some of its fields would pass for a complete one.
    sqlite3x::sqlite3_scoped_transaction transaction(m_connection);
    m_writer->Write(m_sessionId, query.name, keyValue, row);
    transaction.commit();
    return 0;
}

void CInventoryDatabase::LoadSession(SessionData& data) {
    WritePendingRows();
    auto session = std::make_unique<StoredSession>(ReadStoredSession(m_connection, m_sessionId));
    const StoredCatalogue catalogue = ReadStoredCatalogue(m_connection);

    // Of the items of one query with one key only the first stored is shown, and only when
    // it has a field of its query to show.
    struct Shown {
        const StoredItem* item;
        const std::wstring* queryName;
        std::string order;
    };
    std::vector<Shown> shown;
    std::unordered_map<std::int64_t, std::unordered_set<std::string_view>> keysSeen;
    for (const StoredItem& item : session->items) {
        if (!keysSeen[item.queryId].insert(item.key).second)
            continue;
        const auto name = catalogue.queryNames.find(item.queryId);
        const auto fields = session->FieldsOf(item);
        if (name != catalogue.queryNames.end() &&
            std::any_of(fields.begin(), fields.end(), [&](const StoredField& field) {
                return catalogue.ExportName(item, field) != nullptr;
            }))
            shown.push_back({&item, &name->second, FoldedKey(session->Wide(item.key))});
    }
    std::sort(shown.begin(), shown.end(), [](const Shown& a, const Shown& b) {
        return std::tie(a.item->queryId, a.order, a.item->id) <
               std::tie(b.item->queryId, b.order, b.item->id);
    });
    for (const Shown& entry : shown) {
        SessionItem& loaded = data[*entry.queryName].emplace_back();
        for (const StoredField& field : session->FieldsOf(*entry.item))
            if (const std::wstring* exportName = catalogue.ExportName(*entry.item, field))
                loaded.insert_or_assign(*exportName, session->Wide(field.text));
    }
    m_loadedSession = std::move(session);
}

void CInventoryDatabase::KeepSession() {
    PrepareKeep();
    FinishKeep(true);
}

void CInventoryDatabase::PrepareKeep() {
    m_loadedSession.reset();
    m_keeping.reset();
    // Without a session of this run there is nothing to replace the comparison base with.
    if (m_sessionId == 0)
        return;
    EndRowGroup();
    auto transaction = std::make_unique<sqlite3x::sqlite3_scoped_transaction>(m_connection);
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
    m_keeping = std::move(transaction);
}

void CInventoryDatabase::FinishKeep(bool keep) {
    // Not committed, it is rolled back as it goes.
    const std::unique_ptr<sqlite3x::sqlite3_scoped_transaction> transaction = std::move(m_keeping);
    if (transaction && keep)
        transaction->commit();
}

void CInventoryDatabase::CancelSession() {
    m_loadedSession.reset();
    m_keeping.reset();
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
