#pragma once
// Progress messages from the run to whoever shows them: a window on Windows (posted, never
// sent), a queue that the terminal front end drains elsewhere.
#include <cstdint>
#include <string>

namespace platform {

// A window handle on Windows; a ProgressQueue* elsewhere. 0: nobody listens.
using ProgressWindow = std::uintptr_t;

inline constexpr unsigned kInventoryProgressMessage = 1125;  // WM_USER + 101

// One message as the receiver takes it: a number, or a text for the kinds that carry one.
struct ProgressMessage {
    unsigned kind = 0;
    std::intptr_t value = 0;
    std::wstring text;
};

class ProgressPoster {
  public:
    virtual ~ProgressPoster() = default;
    // Both post without waiting; false when the message could not be queued.
    virtual bool Post(ProgressWindow window, unsigned kind, std::intptr_t value) = 0;
    virtual bool PostText(ProgressWindow window, unsigned kind, std::wstring text) = 0;
};

}  // namespace platform
