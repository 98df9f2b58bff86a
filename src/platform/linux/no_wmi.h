#pragma once
// Until the system's own providers answer WMI statements here, nothing does: every WMI
// query of a run yields no items, as on a Windows machine whose WMI is broken.
#include "platform/service_list.h"
#include "platform/wmi.h"

namespace platform::posix {

class NoWmi : public Wmi {
  public:
    int Connect() override { return 1; }
    void Disconnect() override {}
    std::unique_ptr<WmiObjects> ExecQuery(const std::wstring&) override { return nullptr; }
};

class NoServiceManager : public ServiceManager {
  public:
    ServiceListing ListServices() override { return {}; }
    std::wstring SystemMessage(long) override { return {}; }
};

}  // namespace platform::posix
