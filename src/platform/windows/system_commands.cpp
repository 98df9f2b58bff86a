#include "platform/windows/handle.h"
#include "platform/windows/native.h"

// Left out of windows.h by WIN32_LEAN_AND_MEAN.
#include <shellapi.h>

namespace platform::win {

int Win32SystemCommands::RunAndWait(const std::wstring& program, const std::wstring& parameters,
                                    unsigned timeoutMs) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = nullptr;
    info.lpVerb = L"open";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = nullptr;
    info.nShow = SW_HIDE;
    if (!::ShellExecuteExW(&info) || !info.hProcess)
        return kRunFailed;
    const KernelHandle process(info.hProcess);
    switch (::WaitForSingleObject(process.get(), timeoutMs)) {
        case WAIT_OBJECT_0:
            return kRunEnded;
        case WAIT_TIMEOUT:
            return kRunTimedOut;
        default:
            return kRunFailed;
    }
}

}  // namespace platform::win
