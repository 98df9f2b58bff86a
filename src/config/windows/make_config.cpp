#include "config/make_config.h"
#include "config/win_config.h"

std::unique_ptr<CCommonConfig> MakeConfig() {
    return std::make_unique<CWinConfig>();
}
