#include "platform/instance_lock.h"

#include "platform/windows/win32.h"

namespace platform {

// A mutex that cannot be made at all (no rights to the namespace, no resources) says nothing
// about another instance, so the run goes on unguarded, as the guard's contract says.
InstanceLock::InstanceLock() {
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"VarnFennock1.0");
    const DWORD error = ::GetLastError();
    if (!mutex) {
        held_ = true;
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
    held_ = error != ERROR_ALREADY_EXISTS;
}

InstanceLock::~InstanceLock() {
    if (handle_ != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace platform
