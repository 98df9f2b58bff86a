#include "platform/progress_queue.h"

#include <utility>

namespace platform {

void ProgressQueue::Push(ProgressMessage message) {
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(std::move(message));
    }
    ready_.notify_one();
}

ProgressMessage ProgressQueue::Take() {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return !messages_.empty(); });
    ProgressMessage message = std::move(messages_.front());
    messages_.pop_front();
    return message;
}

std::optional<ProgressMessage> ProgressQueue::TryTake() {
    std::lock_guard lock(mutex_);
    if (messages_.empty())
        return std::nullopt;
    ProgressMessage message = std::move(messages_.front());
    messages_.pop_front();
    return message;
}

std::optional<ProgressMessage> ProgressQueue::TakeFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!ready_.wait_for(lock, timeout, [this] { return !messages_.empty(); }))
        return std::nullopt;
    ProgressMessage message = std::move(messages_.front());
    messages_.pop_front();
    return message;
}

}  // namespace platform
