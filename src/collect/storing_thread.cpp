#include "collect/storing_thread.h"

#include <utility>

CStoringThread::CStoringThread(CInventoryDatabase& store)
    : m_store(store), m_thread([this] { Body(); }) {}

CStoringThread::~CStoringThread() {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void CStoringThread::Put(const QueryDefinition& query, const ResultRow& row) {
    {
        std::lock_guard lock(m_mutex);
        ThrowFailure();
        m_waiting.push_back({&query, row});
    }
    m_changed.notify_all();
}

void CStoringThread::Finish() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waiting.empty() && !m_storing; });
    ThrowFailure();
}

// Called with the mutex held.
void CStoringThread::ThrowFailure() {
    if (m_failure)
        std::rethrow_exception(std::exchange(m_failure, nullptr));
}

void CStoringThread::Body() {
    std::vector<Row> batch;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_waiting.empty() || m_closing; });
        if (m_waiting.empty())
            return;
        // The rows are taken in batches: the collector waits for the lock only as long as a
        // swap takes, not a row's storing.
        batch.swap(m_waiting);
        m_storing = true;
        lock.unlock();
        std::exception_ptr failure;
        for (const Row& row : batch) {
            try {
                m_store.StoreRow(*row.query, row.row);
            } catch (...) {
                failure = std::current_exception();
                break;
            }
        }
        batch.clear();
        lock.lock();
        m_storing = false;
        if (failure) {
            m_failure = failure;
            // What was handed over after the failure is not stored.
            m_waiting.clear();
        }
        m_changed.notify_all();
    }
}
