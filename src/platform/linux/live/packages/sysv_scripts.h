#pragma once
// The System V init scripts of /etc/init.d: the services of a system without systemd, and
// of one whose packages still ship only a script.
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

struct InitScriptText {
    // From the LSB block ("### BEGIN INIT INFO" to "### END INIT INFO").
    std::string shortDescription;
    std::string provides;
    // "# pidfile:" of a chkconfig header, else the first PIDFILE= set to a plain path (one
    // built from variables cannot be known without running the script).
    std::string pidFile;
};

InitScriptText ParseInitScript(std::string_view text);

struct InitScript {
    std::string name;  // the script's name without ".sh", as systemd names its service
    std::string path;
    InitScriptText text;
};

// The executable scripts of /etc/init.d, by name; backups left by package upgrades and the
// folder's helper files (README, skeleton, rc, rcS, functions) are not services.
std::vector<InitScript> ReadInitScripts(const SystemRoot& root);

}  // namespace platform::live
