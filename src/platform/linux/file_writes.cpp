#include <fcntl.h>
#include <sys/stat.h>

#include "platform/files.h"
#include "platform/linux/own_files.h"
#include "util/utf.h"

// Where a run writes on Linux. The folders a person names (the output folder, the parents of
// the data folder) are theirs to choose, links and all; below them nothing is followed, and
// the data folder itself must be this user's alone.

namespace platform {
namespace {

using posix::FolderProblem;
using posix::UniqueFd;

std::string WithoutFinalSlashes(const std::wstring& folder) {
    std::string path = WideToUtf8(folder);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

UniqueFd OpenFolder(const std::string& path) {
    return UniqueFd(::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace

bool WriteFileReplacing(const std::wstring& path, const std::string& contents) {
    const std::string full = WideToUtf8(path);
    const std::size_t slash = full.rfind('/');
    const std::string name = slash == std::string::npos ? full : full.substr(slash + 1);
    const UniqueFd folder =
        OpenFolder(slash == std::string::npos ? std::string() : full.substr(0, slash + 1));
    return folder && !name.empty() && posix::WriteReplacingAt(folder.get(), name, contents);
}

std::wstring PrepareOwnFolder(const std::wstring& folder) {
    const std::string path = WithoutFinalSlashes(folder);
    if (path.empty())
        return posix::DescribeProblem(FolderProblem::Missing);
    posix::CreatePrivateFolders(path);
    const UniqueFd opened(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!opened)
        return posix::DescribeProblem(posix::ProblemOfEntry(AT_FDCWD, path));
    return posix::DescribeProblem(posix::PrivateFolderProblem(opened.get()));
}

std::wstring WriteIntoOwnSubfolder(const std::wstring& parent, const std::wstring& name,
                                   const std::vector<NamedBytes>& files) {
    const UniqueFd outer = OpenFolder(WithoutFinalSlashes(parent));
    if (!outer)
        return posix::DescribeProblem(FolderProblem::Missing);
    FolderProblem problem = FolderProblem::None;
    const UniqueFd inner = posix::OpenOwnFolderAt(outer.get(), WideToUtf8(name), problem);
    if (!inner)
        return posix::DescribeProblem(problem);
    // Every run writes the same files: one already in place is left as it is.
    for (const NamedBytes& file : files) {
        const std::string utf8 = WideToUtf8(file.name);
        if (!posix::HoldsAt(inner.get(), utf8, file.bytes) &&
            !posix::WriteReplacingAt(inner.get(), utf8, file.bytes))
            return L"could not take '" + file.name + L"'";
    }
    return {};
}

}  // namespace platform
