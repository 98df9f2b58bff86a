#pragma once
// Writing this program's files where another local user may have been first. Every name is
// taken relative to an open folder, so that nothing swapped into the path between a check
// and a write can redirect the write, and no link is followed below that folder.
#include <string>
#include <string_view>

#include "platform/linux/unique_handle.h"

namespace platform::posix {

enum class FolderProblem {
    None,
    Missing,
    Link,
    NotAFolder,
    OtherOwner,
    OthersMayWrite,
    InOthersFolder,
};

// The folder with its missing parents, each made private (0700); existing ones are left as
// they are. Whether the folder can be used is for the caller to check.
void CreatePrivateFolders(const std::string& path);

// The open file is of this type (S_IFDIR, S_IFREG) and belongs to this user.
bool OwnedByThisUser(int fd, unsigned type);

// The problem as the end of a sentence that begins with the folder's name.
std::wstring DescribeProblem(FolderProblem problem);

// What keeps the open folder from holding this user's private files: another owner, write
// permission for the group or others, or a parent folder in which someone else could rename
// it away and put a link in its place (one of another user's, or one open to all without the
// sticky bit).
FolderProblem PrivateFolderProblem(int folder);

// What is at `name` inside `parent` when it cannot be opened as a folder: nothing, a link,
// or something else.
FolderProblem ProblemOfEntry(int parent, const std::string& name);

// The folder `name` directly inside `parent`, created (0700) when missing, opened without
// following a link. Invalid, with the reason in `problem`, when it is a link, not a folder
// or another user's.
UniqueFd OpenOwnFolderAt(int parent, const std::string& name, FolderProblem& problem);

// Writes the bytes to an unguessable new name inside the folder, then renames that over
// `name` once complete. Whatever was at `name` (a link included) is replaced, never opened
// or followed; a folder there makes the write fail. The file is 0600.
bool WriteReplacingAt(int folder, const std::string& name, std::string_view bytes);

// `name` inside the folder is already what WriteReplacingAt would leave there: this user's
// private regular file (0600, one link, not a link itself) holding exactly these bytes.
bool HoldsAt(int folder, const std::string& name, std::string_view bytes);

}  // namespace platform::posix
