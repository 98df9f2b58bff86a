#include "platform/linux/interrupts.h"

#include <signal.h>

#include <atomic>

namespace platform::posix {
namespace {

// Lock-free, so the handler may touch it.
std::atomic<unsigned> g_interrupts{0};
struct sigaction g_previous {};

void CountInterrupt(int) {
    g_interrupts.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

InterruptWatch::InterruptWatch() {
    struct sigaction action {};
    action.sa_handler = CountInterrupt;
    sigemptyset(&action.sa_mask);
    // Restarted system calls: the run's file and database work must not see EINTR.
    action.sa_flags = SA_RESTART;
    installed_ = sigaction(SIGINT, &action, &g_previous) == 0;
}

InterruptWatch::~InterruptWatch() {
    if (installed_)
        sigaction(SIGINT, &g_previous, nullptr);
}

unsigned InterruptCount() {
    return g_interrupts.load(std::memory_order_relaxed);
}

}  // namespace platform::posix
