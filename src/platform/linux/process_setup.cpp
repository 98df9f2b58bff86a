#include "platform/process_setup.h"

#include <malloc.h>
#include <sys/stat.h>

namespace platform {

struct ProcessSetup::Held {
    explicit Held(mode_t previous) : previousMask(previous) {}
    ~Held() { ::umask(previousMask); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    mode_t previousMask;
};

// Everything a run creates is the user's alone: the database SQLite makes (and its journal),
// a set-aside damaged file, the lock. Creating each with its own mode would leave out the
// files a library creates by itself.
ProcessSetup::ProcessSetup() : held_(std::make_unique<Held>(::umask(077))) {
    // A run builds texts of megabytes (the package list, the report) by growing them, and frees
    // each soon after. Taken from fresh mappings and handed back to the system at once, every
    // one of their pages is a new page fault; kept in the heap, freed memory serves again.
    constexpr int kLargeBlock = 64 << 20;
    ::mallopt(M_MMAP_THRESHOLD, kLargeBlock);
    ::mallopt(M_TRIM_THRESHOLD, 2 * kLargeBlock);
}
ProcessSetup::~ProcessSetup() = default;

}  // namespace platform
