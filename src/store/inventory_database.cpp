#include "store/inventory_database.h"

#include <cstring>
#include <exception>

#include "platform/files.h"
#include "platform/services.h"
#include "store/schema.h"
#include "store/stored_session.h"
#include "util/datetime.h"
#include "util/numbers.h"
#include "util/text.h"
#include "util/utf.h"

using sqlite3x::database_error;

namespace {

constexpr int kOpenRetries = 10;
constexpr unsigned kOpenRetryPauseMs = 30;
// SQLite's default of 2 MB is far below a large inventory's two sessions: past it every
// lookup of the comparison reads its pages from the file again. The cache only grows as
// far as pages are read, so a small inventory costs no more.
constexpr const char* kCacheSize = "PRAGMA cache_size=-65536;";
// A large inventory's rows, all in one transaction, change more pages than the cache holds;
// SQLite then writes changed pages to the log early and reads them back for the next rows,
// a quarter of the storing time. Changed pages may take up to 256 MB before that happens.
constexpr const char* kCacheSpill = "PRAGMA cache_spill=65536;";

std::string Decimal(int n) {
    return std::to_string(n);
}

}  // namespace

CInventoryDatabase::CInventoryDatabase(int programMajor, int programMinor)
    : m_programMajor(programMajor), m_programMinor(programMinor) {}

CInventoryDatabase::~CInventoryDatabase() {
    try {
        EndRowGroup();
    } catch (const database_error&) {
    }
}

void CInventoryDatabase::Load(const std::wstring& path) {
    m_writer.reset();
    m_loadedSession.reset();
    m_comparisonBase.reset();
    m_setAsideNotice.clear();
    m_path = path;
    OpenFile();
    EnsureSchema();

    m_lastScan = ParseDateTime(m_connection.scalar_wstring(
        "SELECT MAX(created) FROM [session] WHERE status_type_id = 2;"));

    static const char kCatalogue[] =
        "SELECT q.id, q.name, qt.name AS query_type, q.query, q.max_rows, q.key_field FROM query "
        "q INNER JOIN query_type qt ON q.query_type_id = qt.id";
    sqlite3x::sqlite3_command queries(m_connection);
    queries.prepare(kCatalogue, static_cast<int>(std::strlen(kCatalogue)));
    m_queries.clear();
    m_keyFields.clear();
    sqlite3x::sqlite3_cursor row = queries.open_cursor();
    while (row.step()) {
        const int id = row.getint(0);
        QueryDefinition& entry = m_queries.emplace_back();
        entry.name = row.getwstring(1);
        entry.queryType = row.getwstring(2);
        entry.query = row.getwstring(3);
        entry.maxRows = TextToInt(row.getwstring(4));
        m_keyFields[entry.name] = Split(row.getwstring(5), L',');

        sqlite3x::sqlite3_command fields(
            m_connection,
            L"SELECT name, export_name FROM query_field WHERE query_id = " + IntToText(id));
        sqlite3x::sqlite3_cursor field = fields.open_cursor();
        while (field.step())
            entry.fields.push_back({field.getwstring(0), field.getwstring(1)});
    }
}

// A file that exists may be locked by another process for a moment; one that does not
// exist could not be created, and waiting will not change that.
void CInventoryDatabase::OpenFile() {
    int retries = 0;
    while (!m_connection.is_open()) {
        try {
            m_connection.open(m_path);
        } catch (const database_error& e) {
            const bool exists = platform::FileExists(m_path);
            if (exists && retries < kOpenRetries) {
                platform::GetHost().Sleep(kOpenRetryPauseMs);
                ++retries;
                continue;
            }
            m_errorText = (exists ? L"Could not open DB at '" : L"Could not create DB at '") +
                          m_path + L"': " + Utf8ToWide(e.what());
            return;
        }
    }
    m_connection.busy_timeout(kBusyTimeoutMs);
}

bool CInventoryDatabase::IsMissing(const char* name) {
    return m_connection.scalar_int(std::string("select count(*) from sqlite_master where name='") +
                                   name + "';") == 0;
}

void CInventoryDatabase::UpgradeIfOtherVersion() {
    if (IsMissing(kVersionTable)) {
        sqlite3x::sqlite3_scoped_transaction transaction(m_connection);
        m_connection.run(std::string(VersionTableCreate()));
        m_connection.run("INSERT INTO [version] (id,major,minor,build,created) VALUES (1," +
                         Decimal(m_programMajor) + "," + Decimal(m_programMinor) + "," +
                         Decimal(kDataFormatBuild) + ",datetime('now'));");
        transaction.commit();
    }
    const int major = m_connection.scalar_int("SELECT major FROM [version];");
    const int minor = m_connection.scalar_int("SELECT minor FROM [version];");
    const int build = m_connection.scalar_int("SELECT build FROM [version];");
    if (major == m_programMajor && minor == m_programMinor && build == kDataFormatBuild)
        return;
    if (major == m_programMajor && minor == m_programMinor && build >= kFirstDataFormatBuild &&
        build < kDataFormatBuild) {
        UpgradeCatalogue(build);
        return;
    }

    // Another version wrote this file: its sessions cannot be compared with ours.
    sqlite3x::sqlite3_scoped_transaction transaction(m_connection);
    for (const auto& table : SchemaTables())
        m_connection.run(std::string("DROP TABLE IF EXISTS [") + table.name + "];");
    m_connection.run(std::string("DROP VIEW IF EXISTS [") + kSessionView + "];");
    m_connection.run("UPDATE [version] SET major=" + Decimal(m_programMajor) + ", minor=" +
                     Decimal(m_programMinor) + ", build=" + Decimal(kDataFormatBuild) + ";");
    transaction.commit();
}

// Our own earlier builds only lack catalogue rows: adding them keeps every session, so the
// first run of this build still compares with the last run of the one before.
void CInventoryDatabase::UpgradeCatalogue(int fromBuild) {
    sqlite3x::sqlite3_scoped_transaction transaction(m_connection);
    if (IsMissing(kQueryFirstSession))
        m_connection.run(std::string(QueryFirstSessionCreate()));
    for (const auto& statement : CatalogueUpgrade(fromBuild))
        if (!IsMissing(statement.needs))
            m_connection.run(statement.sql);
    m_connection.run("UPDATE [version] SET build=" + Decimal(kDataFormatBuild) + ";");
    transaction.commit();
}

// A table and its seed rows and indexes are made in one transaction, so that a run that
// dies halfway never leaves a table with part of its catalogue behind.
void CInventoryDatabase::CreateMissingTables() {
    for (const auto& table : SchemaTables()) {
        if (!IsMissing(table.name))
            continue;
        sqlite3x::sqlite3_scoped_transaction transaction(m_connection);
        m_connection.run(std::string(table.create));
        for (const auto& insert : table.seed())
            m_connection.run(insert);
        for (const auto& index : table.indexes)
            m_connection.run(index);
        transaction.commit();
    }
    if (IsMissing(kSessionView))
        m_connection.run(std::string(SessionViewCreate()));
}

// SQLite reads pages lazily, so damage far into the file would only show when a later
// statement of the run reaches it; checking up front lets the file be set aside first.
bool CInventoryDatabase::IsDamaged() {
    return m_connection.scalar_wstring("PRAGMA quick_check(1);") != L"ok";
}

// A commit appends to the log without waiting for the disk, and the log is carried into the
// file at checkpoints: a run pays a few flushes instead of several per commit (dozens per
// run, milliseconds each on a slow disk). A killed run cannot damage the file: what it
// committed is in the log, the rest is ignored; a power cut may lose the last commits, not
// the file. Where no log can be kept (no shared memory) the rollback journal stays, and so
// do full flushes, which that journal needs to survive a power cut.
void CInventoryDatabase::UseWriteAheadLog() {
    if (m_connection.scalar_wstring("PRAGMA journal_mode=WAL;") == L"wal")
        m_connection.run(std::string("PRAGMA synchronous=NORMAL;"));
}

void CInventoryDatabase::EnsureSchema() {
    // A failed open already said why; "database is not open" would only hide it.
    if (!m_connection.is_open())
        return;
    std::wstring damage;
    try {
        if (!IsDamaged()) {
            // After the check rather than at the open: on a damaged file it would fail first.
            m_connection.run(std::string(kCacheSize));
            m_connection.run(std::string(kCacheSpill));
            UseWriteAheadLog();
            UpgradeIfOtherVersion();
            CreateMissingTables();
            return;
        }
        damage = L"integrity check failed";
    } catch (const database_error& e) {
        if (!e.file_damaged()) {
            m_errorText = Utf8ToWide(e.what());
            return;
        }
        damage = Utf8ToWide(e.what());
    }
    MoveDamagedFileAside(damage);
}

// Never deletes: the damaged file may still hold what somebody wants to recover.
void CInventoryDatabase::MoveDamagedFileAside(const std::wstring& damage) {
    try {
        m_connection.close();
    } catch (const database_error&) {
    }
    std::wstring target = m_path + L".damaged";
    for (int n = 1; platform::FileExists(target); ++n)
        target = m_path + L".damaged." + IntToText(n);
    if (!platform::RenameFile(m_path, target)) {
        m_errorText = L"The inventory file '" + m_path + L"' is damaged (" + damage +
                      L") and could not be moved aside.";
        return;
    }
    // A journal left beside the damaged file belongs to it, not to the new one.
    for (const wchar_t* suffix : {L"-journal", L"-wal", L"-shm"})
        if (platform::FileExists(m_path + suffix))
            platform::RenameFile(m_path + suffix, target + suffix);

    OpenFile();
    if (!m_connection.is_open())
        return;
    try {
        UseWriteAheadLog();
        UpgradeIfOtherVersion();
        CreateMissingTables();
        m_errorText = L"The inventory file was damaged (" + damage + L"); it was moved to '" +
                      target + L"' and a new one was created.";
        m_setAsideNotice = m_errorText;
    } catch (const database_error& e) {
        m_errorText = Utf8ToWide(e.what());
    }
}

void CInventoryDatabase::BeginRowGroup() {
    m_inRowGroup = true;
}

// At the group's first row, not at its start: the write lock is held only while rows are
// written, not while the collector looks for them. Immediate, so that the lock is waited
// for here; asked for after the group has read (the catalogue ids), SQLite would refuse it
// at once rather than risk a deadlock.
void CInventoryDatabase::BeginGroupTransaction() {
    if (!m_inRowGroup || m_groupBegun)
        return;
    m_connection.run(std::string("begin immediate"));
    m_groupBegun = true;
}

void CInventoryDatabase::EndRowGroup() {
    m_inRowGroup = false;
    if (!m_groupBegun)
        return;
    m_groupBegun = false;
    // Rows written before a failure are committed, as they would be one statement at a time.
    std::exception_ptr failure;
    try {
        WritePendingRows();
    } catch (const database_error&) {
        failure = std::current_exception();
    }
    try {
        m_connection.run(std::string("commit"));
    } catch (const database_error&) {
        try {
            m_connection.run(std::string("rollback"));
        } catch (const database_error&) {
        }
        throw;
    }
    if (failure)
        std::rethrow_exception(failure);
}

void CInventoryDatabase::WritePendingRows() {
    if (m_writer && m_writer->HasPending())
        m_writer->Flush();
}

CRowGroup::~CRowGroup() {
    if (m_done)
        return;
    try {
        m_store.EndRowGroup();
    } catch (const database_error&) {
    }
}

void CRowGroup::Commit() {
    m_done = true;
    m_store.EndRowGroup();
}
