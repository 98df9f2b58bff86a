#pragma once
// Stores the rows of a run on a thread of its own, so that the next rows are collected while
// SQLite writes the last ones: on two cores the run takes about the longer of the two instead
// of their sum. The store is used by that thread alone until Finish.
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "store/inventory_database.h"

class CStoringThread {
  public:
    explicit CStoringThread(CInventoryDatabase& store);
    // Waits for the rows handed over; a failure not yet reported is dropped.
    ~CStoringThread();
    CStoringThread(const CStoringThread&) = delete;
    CStoringThread& operator=(const CStoringThread&) = delete;

    // Hands a row over. A failure of an earlier row is thrown here, to the collector, as
    // storing on the collector's thread would have thrown it (rows after it are not stored).
    void Put(const QueryDefinition& query, const ResultRow& row);
    // Waits until every row is stored, then throws the failure, if any.
    void Finish();

  private:
    struct Row {
        const QueryDefinition* query;
        ResultRow row;
    };
    void Body();
    void ThrowFailure();

    CInventoryDatabase& m_store;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Row> m_waiting;
    bool m_storing = false;
    bool m_closing = false;
    std::exception_ptr m_failure;
    std::thread m_thread;
};
