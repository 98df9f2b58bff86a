#include "app/make_config.h"
#include "app/win_config.h"

std::unique_ptr<CCommonConfig> MakeConfig() {
    return std::make_unique<CWinConfig>();
}
