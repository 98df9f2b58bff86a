#include "config/linux_config.h"

#include "platform/services.h"

CLinuxConfig::CLinuxConfig() {
    LoadPlatformAnswers();
    CCommonConfig::LoadRecordedVersion();
}

bool CLinuxConfig::IsWow64() {
    return platform::GetHost().IsWow64();
}

bool CLinuxConfig::IsRunningAsAdmin() {
    return platform::GetHost().IsAdministrator();
}

std::wstring CLinuxConfig::GetMachineId() {
    return platform::GetHost().MachineId();
}
