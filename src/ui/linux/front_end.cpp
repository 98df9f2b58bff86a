#include "ui/front_end.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "collect/worker_task.h"
#include "platform/environment.h"
#include "platform/linux/interrupts.h"
#include "platform/linux/terminal.h"
#include "platform/progress_queue.h"
#include "platform/services.h"
#include "platform/viewer.h"
#include "report/support_files.h"
#include "ui/licence_text.h"
#include "ui/progress_state.h"
#include "ui/progress_text.h"
#include "util/numbers.h"
#include "util/text.h"
#include "util/utf.h"

namespace ui {
namespace {

class TerminalFrontEnd final : public FrontEnd {
  public:
    int ShowLicence(bool askConsent) override;
    void ShowAbout() override;
    int RunProgress(CCommonConfig& config, const RunFlags& flags, int showCommand) override;
};

using platform::posix::ErrorsAreTerminal;
using platform::posix::InputIsTerminal;
using platform::posix::InterruptCount;
using platform::posix::TerminalColumns;
using platform::posix::WriteToTerminal;

constexpr int kExitFinished = 0;
constexpr int kExitFailed = 1;
constexpr int kExitCancelled = 130;  // as a shell reports a run ended by Ctrl-C

std::string LicenceText() {
    const std::wstring rtf = CSupportFiles::LoadTextResource(kLicenceResource);
    const auto width = static_cast<std::size_t>(std::clamp(TerminalColumns() - 1, 40, 79));
    return WideToUtf8(WrapParagraphs(RtfParagraphs(rtf), width));
}

// A graphical session that can show the report.
bool HasDisplay() {
    for (const wchar_t* name : {L"DISPLAY", L"WAYLAND_DISPLAY"})
        if (auto value = platform::EnvironmentValue(name); value && !value->empty())
            return true;
    return false;
}

// The status shown on stderr: one line redrawn in place on a terminal, one line per status
// elsewhere (a log, a pipe).
class ProgressDisplay {
  public:
    ProgressDisplay() : redraw_(ErrorsAreTerminal()) {}

    void Apply(const ProgressState& state, const ProgressState::Effects& effects) {
        if (effects.status) {
            status_ = *effects.status;
            if (!redraw_)
                WriteToTerminal(WideToUtf8(status_) + "\n");
        }
        if (redraw_ && (effects.status || effects.rangeChanged || effects.positionChanged))
            Draw(state);
    }
    void Status(const ProgressState& state, const std::wstring& text) {
        Apply(state, ProgressState::Effects{.status = text});
    }
    void Finish() {
        if (redraw_ && drawn_)
            WriteToTerminal("\n");
    }

  private:
    void Draw(const ProgressState& state) {
        const auto columns = static_cast<std::size_t>(TerminalColumns());
        WriteToTerminal("\r\033[K" + WideToUtf8(ProgressLine(status_, state, columns)));
        drawn_ = true;
    }

    bool redraw_;
    bool drawn_ = false;
    std::wstring status_;
};

}  // namespace

int TerminalFrontEnd::ShowLicence(bool askConsent) {
    if (!askConsent) {
        std::fputs(LicenceText().c_str(), stdout);
        std::fflush(stdout);
        return kLicenceRefused;
    }
    if (!InputIsTerminal()) {
        WriteToTerminal(
            "fennock: the licence agreement of this version has not been accepted yet, and "
            "there is no terminal to show it on.\nRun fennock once from a terminal to read and "
            "accept it, or use --silent to take an inventory without it.\n");
        return kLicenceNotShown;
    }
    WriteToTerminal(LicenceText() + "\n");
    WriteToTerminal("Accept the licence agreement? [y/N] ");
    const auto line = platform::posix::ReadAnswerLine(InterruptCount());
    if (!line)
        WriteToTerminal("\n");
    const std::wstring answer = ToLower(Trim(Utf8ToWide(line.value_or("")), kBlankChars));
    return answer == L"y" || answer == L"yes" ? kLicenceAccepted : kLicenceRefused;
}

void TerminalFrontEnd::ShowAbout() {
    const platform::FileVersion v = platform::GetHost().OwnFileVersion();
    const std::wstring text = L"Fennock " + IntToText(v.major) + L"." + IntToText(v.minor) + L"." +
                              IntToText(v.revision) +
                              L"\nCopyright \u00A9 ZEPH. All rights reserved.\n";
    std::fputs(WideToUtf8(text).c_str(), stdout);
    std::fflush(stdout);
}

// Ctrl-C is the Cancel button: the first one cancels (the query in progress finishes, the
// session is removed, no report is opened), later ones are ignored until the run ends.
int TerminalFrontEnd::RunProgress(CCommonConfig& config, const RunFlags& flags, int) {
    platform::ProgressQueue queue;
    CWorkerTask worker(config, flags);
    ProgressState state;
    ProgressDisplay display;
    const platform::posix::InterruptWatch watch;
    unsigned interrupts = InterruptCount();

    worker.SetParameters(queue.AsWindow(), config.GetDataFolder(), config.GetOutputFolder());
    state.Start();
    worker.Resume();
    const std::wstring report =
        config.GetOutputFolder() + (flags.yaml ? L"inventory.yaml" : L"inventory.html");
    for (;;) {
        if (InterruptCount() != interrupts) {
            interrupts = InterruptCount();
            if (state.RequestCancel()) {
                worker.Cancel();
                display.Status(state, ProgressState::kCancelingText);
            }
        }
        const auto message = queue.TakeFor(std::chrono::milliseconds(100));
        if (!message)
            continue;
        const ProgressState::Effects effects = state.OnProgress(std::move(*message));
        display.Apply(state, effects);
        if (effects.openViewer && HasDisplay())
            platform::OpenReport(report, flags.yaml);
        if (effects.close)
            break;
    }
    display.Finish();
    worker.Wait();

    const CInventoryCollector& run = worker.Collector();
    if (run.HasFailed())
        return kExitFailed;
    if (run.IsCancelled())
        return kExitCancelled;
    platform::GetUi().AnnounceReport(report);
    return kExitFinished;
}

FrontEnd& SystemFrontEnd() {
    static TerminalFrontEnd frontEnd;
    return frontEnd;
}

}  // namespace ui
