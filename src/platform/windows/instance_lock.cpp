#include "platform/instance_lock.h"

#include "platform/windows/win32.h"

namespace platform {

InstanceLock::InstanceLock() {
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"VarnFennock1.0");
    const DWORD error = ::GetLastError();
    if (!mutex)
        return;
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
    held_ = error != ERROR_ALREADY_EXISTS;
}

InstanceLock::~InstanceLock() {
    if (handle_ != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace platform
