#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

#include "platform/environment.h"
#include "util/utf.h"

namespace platform {
namespace {

// Per user: in the runtime folder when the session has one, else (or when that folder is
// unusable) in /tmp with the user id in the name so that users do not block each other.
int OpenLockFile() {
    if (auto runtime = EnvironmentValue(L"XDG_RUNTIME_DIR"); runtime && !runtime->empty()) {
        const std::string path = WideToUtf8(*runtime) + "/fennock.lock";
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0)
            return fd;
    }
    const std::string path = "/tmp/fennock-" + std::to_string(geteuid()) + ".lock";
    return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

}  // namespace

InstanceLock::InstanceLock() {
    const int fd = OpenLockFile();
    if (fd < 0)
        return;
    handle_ = fd;
    // An advisory lock ends with the process, so a crashed run never blocks the next one.
    held_ = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

InstanceLock::~InstanceLock() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

}  // namespace platform
