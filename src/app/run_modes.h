#pragma once
// The two ways one inventory runs once the configuration exists.
#include "config/common_config.h"
#include "ui/front_end.h"

// On the calling thread, without any window; returns the exit code.
int RunSilent(CCommonConfig& config);

// With the licence agreement when due and the progress display; returns the exit code.
// `user` keeps the agreement: the inventory's own configuration, except for a described
// machine, whose configuration is not the running user's.
int RunInteractive(CCommonConfig& config, CCommonConfig& user, int showCommand,
                   ui::FrontEnd& frontEnd = ui::SystemFrontEnd());
