#include "platform/windows/handle.h"
#include "platform/windows/native.h"

namespace platform::win {
namespace {

std::wstring FirmwareType() {
    // Windows 8 and later say it; FIRMWARE_TYPE is an enumeration of DWORD size.
    using GetFirmwareTypeFn = BOOL(WINAPI*)(DWORD*);
    if (auto getType = LookUpExport<GetFirmwareTypeFn>(L"kernel32.dll", "GetFirmwareType")) {
        DWORD type = 0;
        if (getType(&type) && (type == 1 || type == 2))
            return type == 1 ? L"BIOS" : L"UEFI";
    }
    // Before that, asking for a variable tells: a BIOS system has no variables to ask for.
    using GetVariableFn = DWORD(WINAPI*)(LPCWSTR, LPCWSTR, PVOID, DWORD);
    auto getVariable =
        LookUpExport<GetVariableFn>(L"kernel32.dll", "GetFirmwareEnvironmentVariableW");
    if (!getVariable)
        return {};
    if (getVariable(L"", L"{00000000-0000-0000-0000-000000000000}", nullptr, 0) == 0 &&
        ::GetLastError() == ERROR_INVALID_FUNCTION)
        return L"BIOS";
    return L"UEFI";
}

}  // namespace

PlatformFacts Win32PlatformInfo::Facts() {
    PlatformFacts facts;
    facts.osFamily = L"Windows";
    facts.firmwareType = FirmwareType();
    facts.secureBoot =
        facts.firmwareType == L"BIOS" ? L"Not supported" : SecureBootFromRegistry(registry_);
    return facts;
}

}  // namespace platform::win
