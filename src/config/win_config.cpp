#include "config/win_config.h"

#include "config/registry_key.h"
#include "platform/services.h"

namespace {

const wchar_t kProductKey[] = L"Software\\ZEPH\\Fennock";
const wchar_t kMachineKey[] = L"Software\\Zeph";

}  // namespace

CWinConfig::CWinConfig() {
    LoadPlatformAnswers();
    CWinConfig::LoadRecordedVersion();
}

int CWinConfig::LoadRecordedVersion() {
    m_recordedMajor = m_recordedMinor = m_recordedRevision = 0;
    CRegistryKey key;
    if (key.Open(platform::kCurrentUser, kProductKey, platform::kKeyRead) != 0)
        return 0;
    SetRecordedVersion(ReadStringValue(key, L"Version").value_or(L""));
    return 0;
}

int CWinConfig::SaveRecordedVersion() {
    RecordFileVersion();
    WriteStringValue(platform::kCurrentUser, kProductKey, FileVersionText(), L"Version");
    return 0;
}

bool CWinConfig::IsWow64() {
    return platform::GetHost().IsWow64();
}

bool CWinConfig::IsRunningAsAdmin() {
    return platform::GetHost().IsAdministrator();
}

// Opened without a view flag: a 32-bit process on 64-bit Windows reads the 32-bit view,
// where the installer of the maker's tools writes the id.
std::wstring CWinConfig::GetMachineId() {
    CRegistryKey key;
    if (key.Open(platform::kLocalMachine, kMachineKey, platform::kKeyRead) != 0)
        return {};
    return ReadStringValue(key, L"MachineId").value_or(L"");
}
