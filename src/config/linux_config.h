#pragma once
// The Linux configuration: the recorded version in "inventory.ini" in the data folder, the
// machine id from the system, administrator meaning the effective user is root.
#include "config/common_config.h"

class CLinuxConfig : public CCommonConfig {
  public:
    CLinuxConfig();

    bool IsWow64() override;
    bool IsRunningAsAdmin() override;
    std::wstring GetMachineId() override;
};
