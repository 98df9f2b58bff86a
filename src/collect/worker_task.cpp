#include "collect/worker_task.h"

CWorkerTask::CWorkerTask(CCommonConfig& config, const RunFlags& flags)
    : m_collector(config, flags), m_thread(&CWorkerTask::Body, this, m_go.get_future()) {}

CWorkerTask::~CWorkerTask() {
    if (!m_released) {
        m_released = true;
        m_go.set_value(false);
    }
    if (m_thread.joinable())
        m_thread.join();
}

void CWorkerTask::SetParameters(platform::ProgressWindow window, const std::wstring& dataFolder,
                                const std::wstring& outputFolder) {
    m_window = window;
    m_dataFolder = dataFolder;
    m_outputFolder = outputFolder;
}

void CWorkerTask::Resume() {
    if (m_released)
        return;
    m_released = true;
    m_go.set_value(true);
}

int CWorkerTask::Wait() {
    if (!m_released) {
        m_released = true;
        m_go.set_value(false);
    }
    if (m_thread.joinable())
        m_thread.join();
    return m_exitCode;
}

void CWorkerTask::Body(std::future<bool> go) {
    if (!go.get())
        return;
    m_exitCode = m_collector.Initialize(m_window, m_dataFolder, m_outputFolder);
    if (m_exitCode == 0)
        m_collector.Gather();
    m_collector.Finish();
}
