#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/linux/own_files.h"
#include "platform/linux/unique_handle.h"
#include "platform/services.h"
#include "util/utf.h"

// The guard keeps two runs off one database, so it lives beside the database: fennock.lock
// in the per-user data folder, whichever runtime folder each run's session has.
//
// A lock is trusted only when this user owns both the folder and the file. Anyone else who
// could own or swap the file could hold it for ever and keep every run out. When no such lock
// can be had (no data folder, a folder or file of another user's, a link in the file's place,
// a file system without locks) the run goes on unguarded: refusing would name an instance
// that does not exist, and the database's own locking still keeps two runs from harming it.
// Nothing of another user's is changed or removed.

namespace platform {
namespace {

constexpr char kLockName[] = "fennock.lock";

using posix::UniqueFd;

// The lock file, created when missing; never through a link, never a file of someone else's.
int OpenLockFile(const std::string& folderPath) {
    posix::CreatePrivateFolders(folderPath);
    UniqueFd folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0 || !posix::OwnedByThisUser(folder.get(), S_IFDIR))
        return -1;
    // Not blocking on whatever special file might sit there; fstat then refuses it.
    UniqueFd file(::openat(folder.get(), kLockName,
                           O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    if (file.get() < 0 || !posix::OwnedByThisUser(file.get(), S_IFREG))
        return -1;
    return file.release();
}

}  // namespace

InstanceLock::InstanceLock() {
    held_ = true;
    const std::string folder = WideToUtf8(GetHost().DataFolder());
    if (folder.empty())
        return;
    UniqueFd file(OpenLockFile(folder));
    if (!file)
        return;
    // An advisory lock ends with the process, so a crashed run never blocks the next one.
    if (::flock(file.get(), LOCK_EX | LOCK_NB) == 0)
        handle_ = file.release();
    else
        held_ = errno != EWOULDBLOCK;
}

InstanceLock::~InstanceLock() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

}  // namespace platform
