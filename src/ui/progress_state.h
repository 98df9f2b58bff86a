#pragma once
// What the progress display decides without drawing anything: the run's range and position,
// whether the run is busy and the About box open, what a progress message asks of the
// display, and when it may close. The Windows progress window and the terminal display both
// apply these decisions; tests drive them without either.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/progress.h"

class ProgressState {
  public:
    // What one progress message asks of the display.
    struct Effects {
        std::optional<std::wstring> status;  // new status line
        bool rangeChanged = false;           // range() and position() changed
        bool positionChanged = false;
        bool openViewer = false;  // the run finished: show its report
        bool close = false;       // nothing holds the display open any more
    };

    // The worker has been started.
    void Start() { busy_ = true; }
    // Handles one WM_INVENTORY_PROGRESS message.
    Effects OnProgress(platform::ProgressMessage message);
    // The user asked to cancel; false when the request was already made (the button is then
    // disabled, and a terminal ignores further interrupts).
    bool RequestCancel();

    void BeginAbout() { aboutOpen_ = true; }
    // The About box closed: true when the display may now close (the run ended meanwhile).
    bool EndAbout();

    // The display may go only when the run is over and no About box is open.
    bool CanClose() const { return !busy_ && !aboutOpen_; }

    bool busy() const { return busy_; }
    bool aboutOpen() const { return aboutOpen_; }
    bool cancelRequested() const { return cancelRequested_; }
    bool finished() const { return finished_; }
    std::int32_t range() const { return range_; }
    std::int32_t position() const { return position_; }
    // Progress in percent of the range, 0 to 100; 0 for an empty range.
    int Percent() const;

    // The range as the progress bar's PBM_SETRANGE takes it: minimum 0 in the low 16 bits,
    // maximum in the high 16 bits (so a range above 65535 reaches the bar cut to 16 bits).
    static std::uint32_t PackedRange(std::int32_t range);

    // The code the program ends with after the progress window closes.
    static constexpr int kExitCode = 129;
    static constexpr wchar_t kCancelingText[] = L"Now canceling inventory session...";
    static constexpr wchar_t kStartText[] = L"Start Gathering Inventory...";

  private:
    bool busy_ = false;
    bool aboutOpen_ = false;
    bool cancelRequested_ = false;
    bool finished_ = false;  // PROGRESS_DONE arrived
    std::int32_t range_ = 0;
    std::int32_t position_ = 0;
};
