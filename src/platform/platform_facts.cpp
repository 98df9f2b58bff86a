#include "platform/platform_facts.h"

namespace platform {

std::wstring SecureBootFromRegistry(Registry& registry) {
    RegKey key = 0;
    const RegError opened = registry.OpenKey(
        kLocalMachine, L"SYSTEM\\CurrentControlSet\\Control\\SecureBoot\\State", kKeyRead, &key);
    if (opened == kErrorFileNotFound)
        return L"Not supported";
    if (opened != kErrorSuccess)
        return {};
    std::uint32_t type = kRegNone;
    std::uint32_t value = 0;
    std::uint32_t bytes = sizeof value;
    const RegError read = registry.QueryValue(key, L"UEFISecureBootEnabled", &type, &value, &bytes);
    registry.CloseKey(key);
    if (read != kErrorSuccess || type != kRegDword || bytes != sizeof value)
        return {};
    return value == 1 ? L"On" : value == 0 ? L"Off" : L"";
}

}  // namespace platform
