#pragma once
// A report model over a configuration whose host answers come from a double.
#include "config/linux_config.h"
#include "fake_host.h"
#include "platform/services.h"
#include "report/inventory_report.h"
#include "temp_folder.h"

class ReportUnderTest {
  public:
    ReportUnderTest() { report.m_inventoryFilesPath = L"inventory_files/"; }

  private:
    TempFolder folder_;
    FakeHost host_ = [this] {
        FakeHost host;
        host.dataFolder = folder_.Slashed();
        host.tempFolder = folder_.Slashed();
        return host;
    }();
    platform::ServicesScope scope_{platform::Services{.host = &host_}};
    CLinuxConfig config_;

  public:
    CInventoryReport report{config_};
};
