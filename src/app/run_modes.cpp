#include "app/run_modes.h"

#include "collect/inventory_collector.h"
#include "config/run_flags.h"
#include "platform/services.h"

int RunSilent(CCommonConfig& config) {
    CInventoryCollector collector(config, GetRunFlags());
    const int initialized =
        collector.Initialize(0, config.GetDataFolder(), config.GetOutputFolder());
    int gathered = 0;
    if (initialized == 0)
        gathered = collector.Gather();
    collector.Finish();
    // A run that failed must not look like one that succeeded.
    const int result = initialized != 0 ? initialized : gathered;
    if (result == 0 && !collector.IsCancelled())
        platform::GetUi().AnnounceReport(config.GetOutputFolder() + (GetRunFlags().yaml
                                                                         ? L"inventory.yaml"
                                                                         : L"inventory.html"));
    return result;
}

// Any answer to the agreement but Accept ends the program with that answer as its code.
int RunInteractive(CCommonConfig& config, CCommonConfig& user, int showCommand,
                   ui::FrontEnd& frontEnd) {
    if (user.NeedsAgreement()) {
        const int answer = frontEnd.ShowLicence(true);
        if (answer != ui::kLicenceAccepted)
            return answer;
    }
    user.SaveRecordedVersion();
    return frontEnd.RunProgress(config, GetRunFlags(), showCommand);
}
