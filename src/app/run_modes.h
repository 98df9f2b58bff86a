#pragma once
// The two ways one inventory runs once the configuration exists.
#include "app/common_config.h"

// On the calling thread, without any window; returns the exit code.
int RunSilent(CCommonConfig& config);

// With the licence agreement when due and the progress display; returns the exit code.
int RunInteractive(CCommonConfig& config, int showCommand);
