#include <utility>

#include "platform/linux/native.h"
#include "platform/progress_queue.h"

namespace platform::posix {

bool QueuePoster::Post(ProgressWindow window, unsigned kind, std::intptr_t value) {
    if (window == 0)
        return false;
    ProgressQueue::FromWindow(window)->Push({kind, value, {}});
    return true;
}

bool QueuePoster::PostText(ProgressWindow window, unsigned kind, std::wstring text) {
    if (window == 0)
        return false;
    ProgressQueue::FromWindow(window)->Push({kind, 0, std::move(text)});
    return true;
}

}  // namespace platform::posix
