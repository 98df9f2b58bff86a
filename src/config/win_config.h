#pragma once
// The Windows configuration: the recorded version lives in the per-user registry and the
// machine id in the per-machine registry.
#include "config/common_config.h"

class CWinConfig : public CCommonConfig {
  public:
    CWinConfig();

    int SaveRecordedVersion() override;
    bool IsWow64() override;
    bool IsRunningAsAdmin() override;
    std::wstring GetMachineId() override;
    int LoadRecordedVersion() override;
};
