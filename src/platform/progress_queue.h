#pragma once
// A thread-safe queue of progress messages, for a receiver that is not a window: the run
// posts from its thread, the front end takes them from its own.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/progress.h"

namespace platform {

class ProgressQueue {
  public:
    void Push(ProgressMessage message);
    // Waits for the next message.
    ProgressMessage Take();
    std::optional<ProgressMessage> TryTake();
    // Waits at most this long for the next message.
    std::optional<ProgressMessage> TakeFor(std::chrono::milliseconds timeout);

    ProgressWindow AsWindow() { return reinterpret_cast<ProgressWindow>(this); }
    static ProgressQueue* FromWindow(ProgressWindow window) {
        return reinterpret_cast<ProgressQueue*>(window);
    }

  private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<ProgressMessage> messages_;
};

}  // namespace platform
