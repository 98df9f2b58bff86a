#pragma once
// CInventoryDatabase is the inventory store: the SQLite file with its query catalogue, the
// session of the run in progress and the session kept from the previous run.
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "store/change_data.h"
#include "store/inventory_types.h"
#include "store/session_writer.h"
#include "store/sqlite3x.h"

struct StoredSession;

class CInventoryDatabase {
  public:
    // The program's own major and minor version: a file written by another version is
    // emptied and seeded again.
    CInventoryDatabase(int programMajor, int programMinor);
    ~CInventoryDatabase();
    CInventoryDatabase(const CInventoryDatabase&) = delete;
    CInventoryDatabase& operator=(const CInventoryDatabase&) = delete;

    // Opens (or creates) the file, brings it to the current format, reads the last-scan
    // time and the catalogue. Database failures after the open are thrown.
    void Load(const std::wstring& path);
    void OpenFile();
    void EnsureSchema();

    const std::vector<QueryDefinition>& GetQueries() const { return m_queries; }
    const std::tm& GetLastScan() const { return m_lastScan; }
    // Empty while all is well; else the last failure that did not stop the run.
    const std::wstring& GetErrorText() const { return m_errorText; }
    // What Load did with a damaged inventory file (set aside, a new one made); empty when it
    // found none. Said to the person in every kind of run: their history starts again.
    const std::wstring& GetSetAsideNotice() const { return m_setAsideNotice; }
    int GetSessionId() const { return m_sessionId; }

    void PreProcess();
    // 0 when stored, 1 when skipped for want of a key value. Failures are thrown. Outside a
    // row group a row is stored whole or not at all. The catalogue ids of a query are read
    // at its first row of the run.
    int StoreRow(const QueryDefinition& query, const ResultRow& row);
    void PostProcess();
    void LoadSession(SessionData& data);
    void KeepSession();
    // KeepSession in two steps, for a caller with other work meanwhile: the first makes the
    // changes in a transaction that holds the write lock, the second commits them or rolls
    // them back. The store is not used in between.
    void PrepareKeep();
    void FinishKeep(bool keep);
    void CancelSession();
    // 1 when there is no previous session to compare with, else 0.
    int LoadChanges(ChangeData& data);
    // Reads the session LoadChanges compares with ahead of it, on a connection of its own,
    // so that it may run beside LoadSession. A failure leaves the reading to LoadChanges.
    void ReadComparisonBase();

    // Rows stored between BeginRowGroup and EndRowGroup share one transaction, begun at the
    // first of them: one commit per query instead of one per row. Groups do not nest; a
    // failed commit is rolled back and thrown.
    void BeginRowGroup();
    void EndRowGroup();

  private:
    // Another program reading the file (or a second run) holds its lock for moments; failing
    // the run at once for that would lose the inventory.
    static constexpr int kBusyTimeoutMs = 5000;

    void RunStoredStatements(const char* select);
    void BeginGroupTransaction();
    // Rows added in a group are buffered; everything that reads or ends the group writes
    // them first.
    void WritePendingRows();
    bool IsMissing(const char* name);
    void CreateMissingTables();
    void UpgradeIfOtherVersion();
    void UpgradeCatalogue(int fromBuild);
    bool IsDamaged();
    void UseWriteAheadLog();
    void MoveDamagedFileAside(const std::wstring& damage);

    std::wstring m_errorText;
    std::wstring m_setAsideNotice;
    std::wstring m_path;
    sqlite3x::sqlite3_connection m_connection;
    // After the connection: its statements are finalised before the connection closes.
    std::unique_ptr<CSessionWriter> m_writer;
    // This run's session as LoadSession read it, for the comparison that follows; any write
    // drops it.
    std::unique_ptr<StoredSession> m_loadedSession;
    // What ReadComparisonBase read, and the id of that session.
    std::unique_ptr<StoredSession> m_comparisonBase;
    std::int64_t m_comparisonBaseId = 0;
    std::unique_ptr<sqlite3x::sqlite3_scoped_transaction> m_keeping;
    std::vector<QueryDefinition> m_queries;
    // Query name to its key fields, in key-value order.
    std::map<std::wstring, std::vector<std::wstring>> m_keyFields;
    int m_sessionId = 0;
    std::tm m_lastScan{};
    int m_programMajor;
    int m_programMinor;
    bool m_inRowGroup = false;
    bool m_groupBegun = false;
};

// One group of rows for the length of a scope. Commit() reports a failed commit; leaving
// the scope without it (an exception on the way) still commits what was stored, as storing
// one statement at a time would have.
class CRowGroup {
  public:
    explicit CRowGroup(CInventoryDatabase& store) : m_store(store) { m_store.BeginRowGroup(); }
    ~CRowGroup();
    CRowGroup(const CRowGroup&) = delete;
    CRowGroup& operator=(const CRowGroup&) = delete;

    void Commit();

  private:
    CInventoryDatabase& m_store;
    bool m_done = false;
};
