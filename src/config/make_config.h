#pragma once
// The configuration class of the system this build is for.
#include <memory>

#include "config/common_config.h"

std::unique_ptr<CCommonConfig> MakeConfig();
