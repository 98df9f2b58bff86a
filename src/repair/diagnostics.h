#pragma once
// The two checks that look at a loaded session for a fault of the system under inventory
// (a wrong Startup folder entry of the system account; a damaged WMI repository), ask the
// user what to do, and repair it when asked. A repair, or the user's Cancel, ends the run.
#include <string>

#include "store/inventory_types.h"

// What a check may do to the run that called it.
class RunControl {
  public:
    virtual ~RunControl() = default;
    // Sets the run's cancel flag: the session is removed and no report is rendered.
    virtual void Cancel() = 0;
    // A status line for the progress window; nothing when the run has none.
    virtual void PostStatus(const std::wstring& text) = 0;
    // Drops the run's WMI connection, so that the WMI service can stop.
    virtual void DisconnectWmi() = 0;
};

// At 200 startup commands (the catalogue's cap, a sign that WMI read the wrong folder),
// compares the Startup entry of the system account's shell folders with the expected folder.
int CheckStartupFolderRegistry(const SessionData& session, RunControl& run);

// Counts the core sections without items ("Process" twice); at 4 or more offers to rebuild
// the WMI repository.
int CheckWmiRepository(const SessionData& session, RunControl& run);

// The number CheckWmiRepository compares with its threshold.
int CountMissingCoreSections(const SessionData& session);

// The Windows folder joined with a relative path the way PathAppendW joins them, within its
// 260 characters (a result that would not fit leaves the folder alone).
std::wstring AppendWindowsPath(const std::wstring& folder, const std::wstring& relative);
