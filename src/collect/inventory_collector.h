#pragma once
// CInventoryCollector drives one inventory run in three phases: Initialize binds it to its
// folders and progress receiver and loads the store; Gather runs every query of the
// catalogue and then keeps (or drops) the session; Finish releases WMI and tells the
// receiver that the run is over.
#include <atomic>
#include <string>

#include "collect/progress_messages.h"
#include "collect/row_sink.h"
#include "collect/wmi_session.h"
#include "config/common_config.h"
#include "config/run_flags.h"
#include "repair/diagnostics.h"
#include "report/inventory_report.h"
#include "report/yaml_report.h"
#include "store/inventory_database.h"

class CInventoryCollector {
  public:
    CInventoryCollector(CCommonConfig& config, const RunFlags& flags);

    // 0 on success; 1 when the store could not be loaded (the failure is reported).
    int Initialize(platform::ProgressWindow window, const std::wstring& dataFolder,
                   const std::wstring& outputFolder);
    // 0 when the run went through (finished or cancelled); 1 when a store failure ended it.
    int Gather();
    int Finish();
    // Safe from any thread; the run stops between queries.
    int Cancel();

    // The two diagnostics, on the loaded session; either may set the cancel flag.
    int CheckStartupFolderRegistry(const SessionData& session);
    int CheckWmiRepository(const SessionData& session);

    bool IsCancelled() const { return m_cancel.load(); }
    // A store failure ended the run (it has been reported).
    bool HasFailed() const { return m_failed; }
    // The last system message of the service provider; not shown.
    const std::wstring& GetErrorText() const { return m_errorText; }
    const CInventoryDatabase& GetStore() const { return m_store; }

  private:
    // What the diagnostics may do to this run.
    class Control;

    void Post(ProgressKind kind, std::intptr_t value);
    void PostStatus(const std::wstring& text);
    void RunQuery(const QueryDefinition& query, const RowSink& store);
    // Writes the report file once; false when it could not be written whole.
    bool WriteReportFile();
    void ReportUnwrittenReport();
    std::wstring ReportPath() const;
    void ReportFailure(const std::string& what);

    std::wstring m_errorText;
    platform::ProgressWindow m_window = 0;
    std::wstring m_dataFolder;
    std::wstring m_outputFolder;
    CWmiSession m_wmi;
    CInventoryDatabase m_store;
    CInventoryReport m_report;
    CYamlReport m_yamlReport;
    std::atomic<bool> m_cancel{false};
    bool m_failed = false;
    bool m_reportWritten = false;
    CCommonConfig& m_config;
    RunFlags m_flags;
};
