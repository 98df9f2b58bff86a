#include "collect/inventory_collector.h"

#include <future>

#include "collect/platform_provider.h"
#include "collect/registry_providers.h"
#include "collect/storing_thread.h"
#include "collect/system_providers.h"
#include "platform/files.h"
#include "platform/services.h"
#include "util/utf.h"

CInventoryCollector::CInventoryCollector(CCommonConfig& config, const RunFlags& flags)
    : m_store(config.GetFileVersionMajor(), config.GetFileVersionMinor()),
      m_report(config),
      m_config(config),
      m_flags(flags) {}

void CInventoryCollector::Post(ProgressKind kind, std::intptr_t value) {
    if (m_window)
        platform::GetProgressPoster().Post(m_window, kind, value);
}

void CInventoryCollector::PostStatus(const std::wstring& text) {
    if (m_window)
        platform::GetProgressPoster().PostText(m_window, PROGRESS_STATUS, text);
}

// The store's own error text says what went wrong before the failure (a file that could not
// be opened, for example); the exception says where the run stopped.
void CInventoryCollector::ReportFailure(const std::string& what) {
    m_failed = true;
    std::wstring text = L"The inventory could not be completed: " + Utf8ToWide(what);
    if (!m_store.GetErrorText().empty())
        text += L" (" + m_store.GetErrorText() + L")";
    platform::GetUi().ReportFailure(text, m_dataFolder);
}

class CInventoryCollector::Control final : public RunControl {
  public:
    explicit Control(CInventoryCollector& run) : run_(run) {}
    void Cancel() override { run_.m_cancel = true; }
    void PostStatus(const std::wstring& text) override { run_.PostStatus(text); }
    void DisconnectWmi() override { run_.m_wmi.Disconnect(); }

  private:
    CInventoryCollector& run_;
};

int CInventoryCollector::CheckStartupFolderRegistry(const SessionData& session) {
    Control control(*this);
    return ::CheckStartupFolderRegistry(session, control);
}

int CInventoryCollector::CheckWmiRepository(const SessionData& session) {
    Control control(*this);
    return ::CheckWmiRepository(session, control);
}

int CInventoryCollector::Initialize(platform::ProgressWindow window, const std::wstring& dataFolder,
                                    const std::wstring& outputFolder) {
    m_window = window;
    m_dataFolder = dataFolder;
    m_outputFolder = outputFolder;
    m_cancel = false;
    platform::GetRegistry().Prefetch();
    m_wmi.Connect();
    // Normally the support files made both folders already; a portable run writes none, and
    // a run must not depend on them.
    platform::CreateFolders(m_dataFolder);
    platform::CreateFolders(m_outputFolder);
    if (m_flags.yaml)
        m_yamlReport.Open(m_dataFolder + L"inventory.yaml.tpl", m_outputFolder + L"inventory.yaml",
                          m_flags.portable);
    else
        m_report.Open(m_dataFolder + L"inventory.html.tpl", m_outputFolder + L"inventory.html",
                      m_flags.portable);
    try {
        m_store.Load(m_dataFolder + L"inventory.db");
        // Not a failure, but the comparison with earlier runs is lost: said also when silent.
        if (!m_store.GetSetAsideNotice().empty())
            platform::GetUi().ReportFailure(m_store.GetSetAsideNotice(), m_dataFolder);
        if (!m_flags.yaml)
            m_report.SetLastSessionTime(m_store.GetLastScan());
    } catch (const sqlite3x::database_error& e) {
        ReportFailure(e.what());
        return 1;
    }
    return 0;
}

void CInventoryCollector::RunQuery(const QueryDefinition& query, const RowSink& store) {
    if (query.queryType == L"Version")
        CollectVersion(m_config, query, store);
    else if (query.queryType == L"Wmi")
        CollectWmi(m_wmi, query, store);
    else if (query.queryType == L"RegistryKeys")
        CollectRegistryKeys(query, m_config.IsWow64(), store);
    else if (query.queryType == L"RegistryValues")
        CollectRegistryValues(query, store);
    else if (query.queryType == L"ServiceControl")
        CollectServices(query, store, m_errorText);
    else if (query.queryType == L"Platform")
        CollectPlatform(m_wmi, query, store);
}

int CInventoryCollector::Gather() {
    const auto& queries = m_store.GetQueries();
    const auto count = static_cast<std::intptr_t>(queries.size());
    try {
        Post(PROGRESS_RANGE, count);
        m_store.PreProcess();
        {
            // One transaction for all rows: every commit writes each page it changed to the
            // log again, and the indexes' pages change with every query (a commit per query
            // wrote five times the file's size). A run that dies before the commit leaves no
            // rows behind, where it left a session no run would compare with.
            CRowGroup group(m_store);
            // After the group: it is ended only once the thread has stopped using the store.
            CStoringThread storing(m_store);
            const RowSink store = [&storing](const QueryDefinition& q, const ResultRow& row) {
                storing.Put(q, row);
            };
            for (std::size_t i = 0; i < queries.size() && !m_cancel; ++i) {
                PostStatus(L"Now gathering " + queries[i].name + L" information...");
                Post(PROGRESS_POSITION, static_cast<std::intptr_t>(i));
                RunQuery(queries[i], store);
            }
            storing.Finish();
            group.Commit();
        }
        if (!m_cancel) {
            PostStatus(L"Now creating inventory report...");
            Post(PROGRESS_POSITION, count);
            m_store.PostProcess();
            SessionData session;
            ChangeData changes;
            std::future<void> base =
                std::async(std::launch::async, [this] { m_store.ReadComparisonBase(); });
            m_store.LoadSession(session);
            base.get();
            m_store.LoadChanges(changes);
            // Either may end the run; the second looks even when the first has.
            CheckStartupFolderRegistry(session);
            CheckWmiRepository(session);
            if (!m_cancel) {
                // The session replaces the base while the report is made, and for good only
                // once the report is written: a report that cannot be written (a full disk, a
                // read-only folder) fails the run and keeps the previous base, so the next run
                // still shows these changes.
                std::future<void> keeping =
                    std::async(std::launch::async, [this] { m_store.PrepareKeep(); });
                if (!m_flags.yaml)
                    m_report.RenderSections(session, changes);
                else if (m_flags.diff)
                    m_yamlReport.RenderChanges(changes);
                else
                    m_yamlReport.RenderFull(session);
                const bool written = WriteReportFile();
                keeping.get();
                m_store.FinishKeep(written);
                if (!written)
                    ReportUnwrittenReport();
            }
        }
    } catch (const sqlite3x::database_error& e) {
        ReportFailure(e.what());
        m_cancel = true;
    }
    if (m_cancel) {
        Post(PROGRESS_POSITION, count);
        m_store.CancelSession();
    }
    return m_failed ? 1 : 0;
}

int CInventoryCollector::Finish() {
    m_wmi.Disconnect();
    // A cancelled run writes its report here (the YAML file empty, the HTML page without
    // inventory); not after a failure: a page of defaults would pass for an inventory.
    if (!m_reportWritten && !m_failed)
        WriteReportFile();
    Post(m_cancel || m_failed ? PROGRESS_STOPPED : PROGRESS_DONE, 0);
    return 0;
}

bool CInventoryCollector::WriteReportFile() {
    m_reportWritten = true;
    return m_flags.yaml ? m_yamlReport.Close() : m_report.WriteReport();
}

std::wstring CInventoryCollector::ReportPath() const {
    return m_outputFolder + (m_flags.yaml ? L"inventory.yaml" : L"inventory.html");
}

void CInventoryCollector::ReportUnwrittenReport() {
    m_failed = true;
    m_cancel = true;
    platform::GetUi().ReportFailure(
        L"The inventory could not be completed: the report could "
        L"not be written to '" +
            ReportPath() +
            L"' (is the folder writable, is the disk full?). The "
            L"previous inventory stays the base for comparison.",
        m_dataFolder);
}

int CInventoryCollector::Cancel() {
    m_cancel = true;
    return 0;
}
