#include "platform/environment.h"

#include <vector>

#include "platform/windows/win32.h"

namespace platform {

std::optional<std::wstring> EnvironmentValue(const std::wstring& name) {
    // The size can change between the two calls if another thread sets the variable.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length = ::GetEnvironmentVariableW(name.c_str(), buffer.data(),
                                                       static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND)
                return std::nullopt;
            return std::wstring();
        }
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.resize(length);
    }
}

bool SetEnvironmentValue(const std::wstring& name, const std::optional<std::wstring>& value) {
    return ::SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr) != 0;
}

}  // namespace platform
