#pragma once
// Progress messages from the run to whoever shows them: a window on Windows (posted, never
// sent), a queue that the terminal front end drains elsewhere.
#include <cstdint>

namespace platform {

// A window handle on Windows; a ProgressQueue* elsewhere. 0: nobody listens.
using ProgressWindow = std::uintptr_t;

inline constexpr unsigned kInventoryProgressMessage = 1125;  // WM_USER + 101

class ProgressPoster {
  public:
    virtual ~ProgressPoster() = default;
    // Posts without waiting; false when the message could not be queued (the sender then
    // still owns whatever value points to).
    virtual bool Post(ProgressWindow window, unsigned kind, std::intptr_t value) = 0;
};

}  // namespace platform
