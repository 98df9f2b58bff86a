#include "platform/process_setup.h"

#include <sys/stat.h>

namespace platform {

// Everything a run creates is the user's alone: the database SQLite makes (and its journal),
// a set-aside damaged file, the lock. Creating each with its own mode would leave out the
// files a library creates by itself.
ProcessSetup::ProcessSetup() : previousMask_(::umask(077)) {}
ProcessSetup::~ProcessSetup() {
    ::umask(static_cast<mode_t>(previousMask_));
}

}  // namespace platform
