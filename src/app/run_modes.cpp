#include "app/run_modes.h"

// The collector, the licence agreement and the progress display attach here as they are
// built; until then a run stops after the configuration, writing nothing it cannot stand by.

int RunSilent(CCommonConfig&) {
    return 0;
}

int RunInteractive(CCommonConfig& config, int) {
    config.SaveRecordedVersion();
    return 0;
}
