#include "config/make_config.h"
#include "config/linux_config.h"

std::unique_ptr<CCommonConfig> MakeConfig() {
    return std::make_unique<CLinuxConfig>();
}
