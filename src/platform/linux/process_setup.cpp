#include "platform/process_setup.h"

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
ProcessSetup::ProcessSetup() : held_(std::make_unique<Held>(::umask(077))) {}
ProcessSetup::~ProcessSetup() = default;

}  // namespace platform
