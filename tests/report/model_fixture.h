#pragma once
// A report model over a configuration whose host answers the test sets.
#include <gtest/gtest.h>

#include <memory>

#include "config/linux_config.h"
#include "fake_host.h"
#include "platform/services.h"
#include "report/inventory_report.h"
#include "temp_folder.h"

class ModelTest : public ::testing::Test {
  protected:
    ModelTest() : scope_(platform::Services{nullptr, &host_}) {
        host_.dataFolder = folder_.Slashed();
        host_.tempFolder = folder_.Slashed();
        config_ = std::make_unique<CLinuxConfig>();
        report_ = std::make_unique<CInventoryReport>(*config_);
    }

    CInventoryReport& report() { return *report_; }

    TempFolder folder_;
    FakeHost host_;
    platform::ServicesScope scope_;
    std::unique_ptr<CLinuxConfig> config_;
    std::unique_ptr<CInventoryReport> report_;
};
