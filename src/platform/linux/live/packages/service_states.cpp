#include "platform/linux/live/packages/service_states.h"

namespace platform::live {
namespace {

constexpr std::uint32_t kOwnProcess = 0x10;  // SERVICE_WIN32_OWN_PROCESS
constexpr std::uint32_t kStopped = 1;
constexpr std::uint32_t kStartPending = 2;
constexpr std::uint32_t kStopPending = 3;
constexpr std::uint32_t kRunning = 4;
constexpr std::uint32_t kAcceptStop = 1;

}  // namespace

// Every service is of the own-process type: systemd gives each its own process tree, and no
// kernel driver is listed. The states:
//
//   ActiveState         CurrentState       ControlsAccepted      Win32ExitCode  Specific
//   active, reloading   4 running          1 stop if it can be   0              0
//                                           stopped, else 0
//   activating          2 start pending    0                     0              0
//   deactivating        3 stop pending     0                     0              0
//   failed              1 stopped          0                     1066           exit status
//                                                                               (0 unknown)
//   inactive, other     1 stopped          0                     0              0
//
// A reload keeps the service running; "maintenance" (resources being cleaned) and states a
// later systemd may add have no process. Check point and wait hint are always 0: systemd
// tells no progress.
void StatusNumbers(const UnitState& state, std::uint32_t (&status)[7]) {
    const std::string& active = state.activeState;
    std::uint32_t current = kStopped, controls = 0, win32 = 0, specific = 0;
    if (active == "active" || active == "reloading") {
        current = kRunning;
        controls = state.canStop ? kAcceptStop : 0;
    } else if (active == "activating") {
        current = kStartPending;
    } else if (active == "deactivating") {
        current = kStopPending;
    } else if (active == "failed") {
        win32 = kServiceSpecificError;
        specific = state.exitStatus.value_or(0);
    }
    const std::uint32_t numbers[7] = {kOwnProcess, current, controls, win32, specific, 0, 0};
    for (int i = 0; i < 7; ++i)
        status[i] = numbers[i];
}

}  // namespace platform::live
