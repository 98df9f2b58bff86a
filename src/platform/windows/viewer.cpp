#include "platform/viewer.h"

#include "platform/windows/win32.h"

// Left out of windows.h by WIN32_LEAN_AND_MEAN.
#include <shellapi.h>

namespace platform {

void OpenReport(const std::wstring& path, bool yaml) {
    if (yaml)
        ::ShellExecuteW(nullptr, L"open", L"notepad.exe", path.c_str(), nullptr, SW_SHOWNORMAL);
    else
        ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace platform
