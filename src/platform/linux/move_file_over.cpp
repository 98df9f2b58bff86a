#include <cstdio>

#include "platform/files.h"
#include "util/utf.h"

namespace platform {

// rename(2) replaces the target atomically within one file system.
bool MoveFileOver(const std::wstring& from, const std::wstring& to) {
    return std::rename(WideToUtf8(from).c_str(), WideToUtf8(to).c_str()) == 0;
}

}  // namespace platform
