#pragma once
// CWorkerTask runs one inventory on its own thread. The thread exists from construction but
// waits until its owner resumes it, so the owner can hand over the window and folders first.
#include <future>
#include <string>
#include <thread>

#include "collect/inventory_collector.h"

class CWorkerTask {
  public:
    CWorkerTask(CCommonConfig& config, const RunFlags& flags);
    // A task never resumed is released without running; a running one is waited for.
    ~CWorkerTask();
    CWorkerTask(const CWorkerTask&) = delete;
    CWorkerTask& operator=(const CWorkerTask&) = delete;

    void SetParameters(platform::ProgressWindow window, const std::wstring& dataFolder,
                       const std::wstring& outputFolder);
    void Resume();
    int Cancel() { return m_collector.Cancel(); }
    // Waits for the thread; its exit code (the result of Initialize), or -1 when never run.
    int Wait();
    // How the run went; read after Wait.
    const CInventoryCollector& Collector() const { return m_collector; }

  private:
    void Body(std::future<bool> go);

    platform::ProgressWindow m_window = 0;
    std::wstring m_dataFolder;
    std::wstring m_outputFolder;
    CInventoryCollector m_collector;
    std::promise<bool> m_go;
    bool m_released = false;
    int m_exitCode = -1;
    std::thread m_thread;
};
