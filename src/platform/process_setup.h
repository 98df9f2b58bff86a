#pragma once
// Per-process preparation that windows and dialogs need (COM, common controls, the rich-edit
// library on Windows; a private file-creation mask on Linux), undone in reverse order when
// the object goes.
#include <cstdint>

namespace platform {

class ProcessSetup {
  public:
    ProcessSetup();
    ~ProcessSetup();
    ProcessSetup(const ProcessSetup&) = delete;
    ProcessSetup& operator=(const ProcessSetup&) = delete;

  private:
    // Windows only.
    [[maybe_unused]] bool comStarted_ = false;
    [[maybe_unused]] std::intptr_t richEdit_ = 0;
    // Linux only: the file-creation mask to restore.
    [[maybe_unused]] unsigned previousMask_ = 0;
};

}  // namespace platform
