#include "platform/files.h"
#include "platform/windows/win32.h"

namespace platform {

// The C runtime's rename refuses an existing target; MoveFileExW replaces it in one step.
bool MoveFileOver(const std::wstring& from, const std::wstring& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace platform
