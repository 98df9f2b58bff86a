#pragma once
// Per-process preparation that windows and dialogs need (COM, common controls, the rich-edit
// library on Windows; a private file-creation mask on Linux), undone in reverse order when
// the object goes.
#include <memory>

namespace platform {

class ProcessSetup {
  public:
    ProcessSetup();
    ~ProcessSetup();
    ProcessSetup(const ProcessSetup&) = delete;
    ProcessSetup& operator=(const ProcessSetup&) = delete;

  private:
    // What each system has to undo; its members go in reverse order of their setting up.
    struct Held;
    std::unique_ptr<Held> held_;
};

}  // namespace platform
