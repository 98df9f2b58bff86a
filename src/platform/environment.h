#pragma once
// Environment variables of this process.
#include <optional>
#include <string>

namespace platform {

std::optional<std::wstring> EnvironmentValue(const std::wstring& name);
// Sets (or, with no value, removes) a variable; false when the system refuses.
bool SetEnvironmentValue(const std::wstring& name, const std::optional<std::wstring>& value);

}  // namespace platform
