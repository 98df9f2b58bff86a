#include "platform/environment.h"

#include <cstdlib>

#include "util/utf.h"

namespace platform {

std::optional<std::wstring> EnvironmentValue(const std::wstring& name) {
    const char* value = std::getenv(WideToUtf8(name).c_str());
    if (!value)
        return std::nullopt;
    return Utf8ToWide(value);
}

bool SetEnvironmentValue(const std::wstring& name, const std::optional<std::wstring>& value) {
    const std::string key = WideToUtf8(name);
    if (!value)
        return unsetenv(key.c_str()) == 0;
    return setenv(key.c_str(), WideToUtf8(*value).c_str(), 1) == 0;
}

}  // namespace platform
