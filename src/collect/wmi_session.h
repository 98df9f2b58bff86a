#pragma once
// CWmiSession is the run's one connection to WMI: one query at a time, one object at a time,
// each property read as text.
#include <memory>
#include <string>

#include "collect/row_sink.h"
#include "platform/wmi.h"

class CWmiSession {
  public:
    CWmiSession() = default;
    ~CWmiSession();
    CWmiSession(const CWmiSession&) = delete;
    CWmiSession& operator=(const CWmiSession&) = delete;

    // 0 on success, 1 on any failure; a failed connection makes every query yield nothing.
    int Connect();
    void Disconnect();
    // Starts a query and fetches its first object; the number fetched (0 or 1). The text may
    // name its namespace first ("ROOT\...:Select ..."); ROOT\CIMV2 otherwise.
    unsigned StartQuery(const std::wstring& text);
    unsigned MoveNext();
    bool AtEnd() const { return m_fetched == 0; }
    // Whether the last query was asked at all (a namespace that cannot be reached is not).
    bool Answered() const { return m_objects != nullptr; }
    // Empty text when there is no current object or the property cannot be read.
    std::wstring GetProperty(const std::wstring& name);

  private:
    std::unique_ptr<platform::WmiObjects> m_objects;
    unsigned m_fetched = 0;
    bool m_connected = false;
};

// A property value as the reports read it: decimal numbers, "-1"/"0" for booleans, array
// elements joined by tabs, empty text for anything else.
std::wstring WmiValueToText(const platform::WmiValue& value);

// Runs one WQL query of the catalogue and stores a row per object (at most maxRows when it
// is positive). "@@user@@" in the statement becomes the user name; a display adapter's memory
// is the one its driver registered, where it did (adapter_memory.h).
int CollectWmi(CWmiSession& session, const QueryDefinition& query, const RowSink& store);
