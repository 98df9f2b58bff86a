#include <algorithm>

#include "platform/files.h"
#include "platform/windows/handle.h"
#include "platform/windows/win32.h"

// Windows has no owner check to make for a person's own profile folders; what applies here
// is that a name is never known in advance and no reparse point below the output folder is
// written through.

namespace platform {
namespace {

using win::FileHandle;

// CREATE_NEW: a name that exists already (whatever it is) is refused, never opened.
bool WriteNewFile(const std::wstring& path, const std::string& contents) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    std::size_t done = 0;
    while (done < contents.size()) {
        DWORD written = 0;
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1u << 20));
        if (!::WriteFile(file.get(), contents.data() + done, chunk, &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

}  // namespace

// The C runtime's rename refuses an existing target; MoveFileExW replaces it in one step
// (a reparse point in the target's place is replaced, not followed).
bool WriteFileReplacing(const std::wstring& path, const std::string& contents) {
    const std::wstring partial = UnguessableName(path);
    if (WriteNewFile(partial, contents) &&
        ::MoveFileExW(partial.c_str(), path.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
        return true;
    ::DeleteFileW(partial.c_str());
    return false;
}

std::wstring PrepareOwnFolder(const std::wstring& folder) {
    return CreateFolders(folder) ? std::wstring() : std::wstring(L"could not be created");
}

std::wstring WriteIntoOwnSubfolder(const std::wstring& parent, const std::wstring& name,
                                   const std::vector<NamedBytes>& files) {
    const std::wstring folder = parent + name;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return L"could not be created";
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return L"is a link (a reparse point)";
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return L"is not a folder";
    for (const NamedBytes& file : files)
        if (!WriteFileReplacing(folder + L"\\" + file.name, std::string(file.bytes)))
            return L"could not take '" + file.name + L"'";
    return {};
}

}  // namespace platform
