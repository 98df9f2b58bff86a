#pragma once
// Ctrl-C as the terminal's Cancel button: while a watch lives, SIGINT no longer ends the
// process but is counted, and whoever shows the run polls the count.

namespace platform::posix {

class InterruptWatch {
  public:
    InterruptWatch();
    // Restores what SIGINT did before.
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

  private:
    bool installed_ = false;
};

// Interrupts received since the process started.
unsigned InterruptCount();

}  // namespace platform::posix
