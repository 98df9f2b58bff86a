#pragma once
// The kinds of WM_INVENTORY_PROGRESS, in its wParam.
#include "platform/progress.h"

inline constexpr unsigned WM_INVENTORY_PROGRESS = platform::kInventoryProgressMessage;

enum ProgressKind : unsigned {
    PROGRESS_STATUS = 1,    // a text (ProgressPoster::PostText)
    PROGRESS_RANGE = 2,     // lParam: number of queries
    PROGRESS_POSITION = 3,  // lParam: position
    PROGRESS_DONE = 4,      // the run finished: open the report, then close
    PROGRESS_STOPPED = 5,   // cancelled, repaired or failed: close without opening
};
