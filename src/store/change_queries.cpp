// What changed since the session kept by the previous run: new items, removed items and
// changed values. Items correspond when their query and their key are the same, byte for
// byte. Both sessions are read once and compared in memory: as joins in SQL the comparison
// looked every item up in the key index of both sessions, a second per 50,000 items.
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "store/inventory_database.h"
#include "store/stored_session.h"
#include "util/utf.h"

namespace {

// A session's items by query and key, each list in the order stored.
using ItemIndex =
    std::unordered_map<std::int64_t,
                       std::unordered_map<std::string_view, std::vector<const StoredItem*>>>;

ItemIndex IndexByKey(const StoredSession& session) {
    ItemIndex index;
    for (const StoredItem& item : session.items)
        index[item.queryId][item.key].push_back(&item);
    return index;
}

const std::vector<const StoredItem*>* Counterparts(const ItemIndex& index, const StoredItem& item) {
    const auto query = index.find(item.queryId);
    if (query == index.end())
        return nullptr;
    const auto key = query->second.find(item.key);
    return key == query->second.end() ? nullptr : &key->second;
}

// Items of `from` without a counterpart in `other`, in the order stored. A query the kept
// session was never asked (an upgrade added it later) has nothing to compare with.
void UnmatchedItems(const StoredSession& from, const ItemIndex& other,
                    const StoredCatalogue& catalogue,
                    const std::unordered_set<std::int64_t>& askedLater, int kind,
                    ChangeData& data) {
    for (const StoredItem& item : from.items) {
        const auto name = catalogue.queryNames.find(item.queryId);
        if (item.key.empty() || askedLater.contains(item.queryId) ||
            name == catalogue.queryNames.end() || Counterparts(other, item) != nullptr)
            continue;
        ChangeRecord& record = data[name->second].emplace_back();
        record.kind = kind;
        record.itemId = item.id;
        record.keyValue = from.Wide(item.key);
    }
}

// Every pairing of an item with a kept one of its key, and every field of the item's query
// that both have, in the order stored: one record where the texts differ.
void ChangedValues(const StoredSession& current, const StoredSession& last,
                   const ItemIndex& lastByKey, const StoredCatalogue& catalogue, ChangeData& data) {
    for (const StoredItem& item : current.items) {
        const auto name = catalogue.queryNames.find(item.queryId);
        const auto* pairs = Counterparts(lastByKey, item);
        if (name == catalogue.queryNames.end() || pairs == nullptr)
            continue;
        for (const StoredItem* kept : *pairs) {
            for (const StoredField& now : current.FieldsOf(item)) {
                const std::wstring* exportName = catalogue.ExportName(item, now);
                if (exportName == nullptr)
                    continue;
                for (const StoredField& before : last.FieldsOf(*kept)) {
                    if (before.queryFieldId != now.queryFieldId || before.text == now.text)
                        continue;
                    ChangeRecord& record = data[name->second].emplace_back();
                    record.kind = kChangeValue;
                    record.itemId = item.id;
                    record.keyValue = current.Wide(item.key);
                    record.exportName = *exportName;
                    record.oldValue = last.Wide(before.text);
                    record.newValue = current.Wide(now.text);
                }
            }
        }
    }
}

}  // namespace

// Another connection sees what this one committed, and the run writes nothing between the
// post-processing and the comparison: both read the same rows.
void CInventoryDatabase::ReadComparisonBase() {
    m_comparisonBase.reset();
    if (m_lastScan.tm_year == 0)
        return;
    try {
        sqlite3x::sqlite3_connection reader;
        reader.open(m_path);
        reader.busy_timeout(kBusyTimeoutMs);
        const std::int64_t id =
            reader.scalar_int("SELECT MAX(id) FROM session WHERE status_type_id = 2;");
        m_comparisonBase = std::make_unique<StoredSession>(ReadStoredSession(reader, id));
        m_comparisonBaseId = id;
    } catch (const sqlite3x::database_error&) {
        m_comparisonBase.reset();
    }
}

int CInventoryDatabase::LoadChanges(ChangeData& data) {
    if (m_lastScan.tm_year == 0)
        return 1;
    try {
        WritePendingRows();
        const int lastSession =
            m_connection.scalar_int("SELECT MAX(id) FROM session WHERE status_type_id = 2;");
        std::unique_ptr<StoredSession> loaded = std::move(m_loadedSession);
        if (!loaded)
            loaded = std::make_unique<StoredSession>(ReadStoredSession(m_connection, m_sessionId));
        const StoredSession& current = *loaded;
        std::unique_ptr<StoredSession> base = std::move(m_comparisonBase);
        if (!base || m_comparisonBaseId != lastSession)
            base = std::make_unique<StoredSession>(ReadStoredSession(m_connection, lastSession));
        const StoredSession& last = *base;
        const StoredCatalogue catalogue = ReadStoredCatalogue(m_connection);
        const ItemIndex currentByKey = IndexByKey(current);
        const ItemIndex lastByKey = IndexByKey(last);

        // Without the list of queries added since, new and removed items cannot be told from
        // an upgrade's; changed values still can.
        std::unordered_set<std::int64_t> askedLater;
        bool knowsAskedLater = true;
        try {
            sqlite3x::sqlite3_command later(
                m_connection, L"SELECT query_id FROM query_first_session WHERE session_id > ?1");
            later.bind(1, lastSession);
            for (sqlite3x::sqlite3_cursor row = later.open_cursor(); row.step();)
                askedLater.insert(row.getint(0));
        } catch (const sqlite3x::database_error& e) {
            m_errorText = Utf8ToWide(e.what());
            knowsAskedLater = false;
        }
        if (knowsAskedLater) {
            UnmatchedItems(current, lastByKey, catalogue, askedLater, kChangeNewItem, data);
            UnmatchedItems(last, currentByKey, catalogue, askedLater, kChangeRemovedItem, data);
        }
        ChangedValues(current, last, lastByKey, catalogue, data);
    } catch (const sqlite3x::database_error& e) {
        m_errorText = Utf8ToWide(e.what());
    }
    return 0;
}
