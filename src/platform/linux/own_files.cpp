#include "platform/linux/own_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"
#include "util/utf.h"

namespace platform::posix {

void CreatePrivateFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos)
            return;
    }
}

bool OwnedByThisUser(int fd, unsigned type) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && (status.st_mode & S_IFMT) == type &&
           status.st_uid == ::geteuid();
}

std::wstring DescribeProblem(FolderProblem problem) {
    switch (problem) {
        case FolderProblem::None:
            break;
        case FolderProblem::Missing:
            return L"could not be created";
        case FolderProblem::Link:
            return L"is a symbolic link";
        case FolderProblem::NotAFolder:
            return L"is not a folder";
        case FolderProblem::OtherOwner:
            return L"belongs to another user";
        case FolderProblem::OthersMayWrite:
            return L"can be written by other users";
        case FolderProblem::InOthersFolder:
            return L"lies in a folder that other users can change";
    }
    return {};
}

FolderProblem PrivateFolderProblem(int folder) {
    struct stat status {};
    if (::fstat(folder, &status) != 0 || !S_ISDIR(status.st_mode))
        return FolderProblem::NotAFolder;
    if (status.st_uid != ::geteuid())
        return FolderProblem::OtherOwner;
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return FolderProblem::OthersMayWrite;
    const UniqueFd parent(::openat(folder, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat above {};
    if (!parent || ::fstat(parent.get(), &above) != 0)
        return FolderProblem::InOthersFolder;
    const bool ownerSafe = above.st_uid == ::geteuid() || above.st_uid == 0;
    const bool othersMayRename =
        (above.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (above.st_mode & S_ISVTX) == 0;
    if (!ownerSafe || othersMayRename)
        return FolderProblem::InOthersFolder;
    return FolderProblem::None;
}

// Why a folder could not be opened without following a link: the open's own error does not
// tell a link from a file when both O_NOFOLLOW and O_DIRECTORY refuse it.
FolderProblem ProblemOfEntry(int parent, const std::string& name) {
    struct stat status {};
    if (::fstatat(parent, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return FolderProblem::Missing;
    return S_ISLNK(status.st_mode) ? FolderProblem::Link : FolderProblem::NotAFolder;
}

UniqueFd OpenOwnFolderAt(int parent, const std::string& name, FolderProblem& problem) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    if (::mkdirat(parent, name.c_str(), 0700) != 0 && errno != EEXIST) {
        problem = FolderProblem::Missing;
        return {};
    }
    UniqueFd folder(::openat(parent, name.c_str(), kFlags));
    if (!folder) {
        problem = ProblemOfEntry(parent, name);
        return {};
    }
    struct stat status {};
    if (::fstat(folder.get(), &status) != 0 || status.st_uid != ::geteuid()) {
        problem = FolderProblem::OtherOwner;
        return {};
    }
    problem = FolderProblem::None;
    return folder;
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool WriteReplacingAt(int folder, const std::string& name, std::string_view bytes) {
    // O_EXCL with a name nobody can guess: nothing planted ahead can be opened in its place,
    // and O_NONBLOCK keeps even a collision with a FIFO from hanging the run.
    constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    std::string partial;
    UniqueFd file;
    for (int attempt = 0; attempt < 8 && !file; ++attempt) {
        partial = WideToUtf8(UnguessableName(Utf8ToWide(name)));
        file = UniqueFd(::openat(folder, partial.c_str(), kFlags, 0600));
        if (!file && errno != EEXIST)
            return false;
    }
    if (!file)
        return false;
    const bool complete = OwnedByThisUser(file.get(), S_IFREG) && WriteAll(file.get(), bytes) &&
                          ::close(file.release()) == 0;
    if (complete && ::renameat(folder, partial.c_str(), folder, name.c_str()) == 0)
        return true;
    ::unlinkat(folder, partial.c_str(), 0);
    return false;
}

bool HoldsAt(int folder, const std::string& name, std::string_view bytes) {
    const UniqueFd file(
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!file || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_uid != ::geteuid() || (status.st_mode & 07777) != 0600 || status.st_nlink != 1 ||
        static_cast<std::size_t>(status.st_size) != bytes.size())
        return false;
    std::string held(bytes.size(), '\0');
    std::size_t got = 0;
    while (got < held.size()) {
        const ssize_t read = ::read(file.get(), held.data() + got, held.size() - got);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            return false;
        got += static_cast<std::size_t>(read);
    }
    return held == bytes;
}

}  // namespace platform::posix
