#pragma once
// What a person who starts the program meets: the licence agreement, the About information
// and the progress display of one inventory. Windows shows them as dialogs; the terminal
// program as text on the terminal.
#include "config/common_config.h"
#include "config/run_flags.h"

namespace ui {

// Results of the licence agreement in consent mode.
inline constexpr int kLicenceAccepted = 1;
inline constexpr int kLicenceRefused = 2;
inline constexpr int kLicenceNotShown = -1;

class FrontEnd {
  public:
    virtual ~FrontEnd() = default;
    // The licence agreement: with askConsent, kLicenceAccepted, kLicenceRefused, or
    // kLicenceNotShown when it cannot be shown; in view mode only shows it.
    virtual int ShowLicence(bool askConsent) = 0;
    // The product name, version and copyright line.
    virtual void ShowAbout() = 0;
    // Runs one inventory on a worker thread while the progress display shows it, opens the
    // finished report, and returns the program's exit code.
    virtual int RunProgress(CCommonConfig& config, const RunFlags& flags, int showCommand) = 0;
};

// The windows (or the terminal) of this system.
FrontEnd& SystemFrontEnd();

}  // namespace ui
