#pragma once
// Answers the licence agreement from a script and records what the interactive run shows.
#include <vector>

#include "ui/front_end.h"

class FakeFrontEnd : public ui::FrontEnd {
  public:
    int licenceAnswer = ui::kLicenceAccepted;
    int progressResult = 129;
    std::vector<bool> licences;  // askConsent of each display
    int progressRuns = 0;
    int aboutShown = 0;
    // The recorded version when the progress display started.
    int recordedRevisionAtProgress = -1;

    int ShowLicence(bool askConsent) override {
        licences.push_back(askConsent);
        return licenceAnswer;
    }
    void ShowAbout() override { ++aboutShown; }
    int RunProgress(CCommonConfig& config, const RunFlags&, int) override {
        ++progressRuns;
        recordedRevisionAtProgress = config.GetRecordedVersionRevision();
        return progressResult;
    }
};
