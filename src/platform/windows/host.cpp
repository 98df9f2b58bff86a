#include <vector>

#include "platform/windows/handle.h"
#include "platform/windows/native.h"

namespace platform::win {

std::wstring Win32Host::DataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                  SHGFP_TYPE_CURRENT, path)))
        return {};
    if (!::PathAppendW(path, L"ZEPH\\Fennock\\"))
        return {};
    std::wstring folder(path);
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

std::wstring Win32Host::WindowsFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, path)) ||
        path[0] == L'\0')
        return L"C:\\Windows";
    return path;
}

std::wstring Win32Host::TempFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH, path);
    if (length == 0 || length > MAX_PATH)
        return {};
    return std::wstring(path, length);
}

FileVersion Win32Host::OwnFileVersion() {
    FileVersion version;
    wchar_t path[1024] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, 1024);
    if (length == 0 || length >= 1024)
        return version;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0)
        return version;
    std::vector<unsigned char> info(size);
    if (!::GetFileVersionInfoW(path, 0, size, info.data()))
        return version;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        !fixed || fixedSize < sizeof(VS_FIXEDFILEINFO))
        return version;
    version.major = HIWORD(fixed->dwFileVersionMS);
    version.minor = LOWORD(fixed->dwFileVersionMS);
    version.revision = HIWORD(fixed->dwFileVersionLS);
    return version;
}

std::optional<WindowsVersion> Win32Host::GetWindowsVersion() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!::GetVersionExW(&info))
        return WindowsVersion{};
    return WindowsVersion{info.dwPlatformId == VER_PLATFORM_WIN32_NT, info.dwMajorVersion,
                          info.dwMinorVersion};
}

bool Win32Host::IsWow64() {
    if constexpr (sizeof(void*) == 8)
        return true;
    using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    // Looked up at run time: the export is missing on the oldest supported systems.
    auto isWow64Process = LookUpExport<IsWow64Fn>(L"kernel32.dll", "IsWow64Process");
    if (!isWow64Process)
        return false;
    BOOL wow64 = FALSE;
    return isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

bool Win32Host::IsAdministrator() {
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    if (!::AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                    DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &sid))
        return false;
    SidHandle administrators(sid);
    BOOL member = FALSE;
    return ::CheckTokenMembership(nullptr, administrators.get(), &member) && member;
}

std::wstring Win32Host::UserName() {
    wchar_t name[257] = {};
    DWORD length = 257;
    if (!::GetUserNameW(name, &length))
        return {};
    return name;
}

}  // namespace platform::win
