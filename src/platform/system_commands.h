#pragma once
// Starting the system's own commands and waiting for them, as the repairs do ("net stop
// winmgmt", "cmd /C rmdir ...").
#include <string>

namespace platform {

inline constexpr int kRunEnded = 0;
inline constexpr int kRunTimedOut = 258;  // WAIT_TIMEOUT
inline constexpr int kRunFailed = -1;

class SystemCommands {
  public:
    virtual ~SystemCommands() = default;
    // Whether the Windows commands that the repairs run exist on this system.
    virtual bool HaveWindowsCommands() = 0;
    // Starts the program with its parameters, hidden, and waits at most timeoutMs for it to
    // end: kRunEnded, kRunTimedOut, or kRunFailed when it could not be started or the wait
    // failed. The program's own exit code is not looked at.
    virtual int RunAndWait(const std::wstring& program, const std::wstring& parameters,
                           unsigned timeoutMs) = 0;
};

}  // namespace platform
