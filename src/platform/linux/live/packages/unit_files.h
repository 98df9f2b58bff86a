#pragma once
// systemd's unit files as they lie on disk, read without systemd: the service units of the
// unit folders, their descriptions and pid files, and which ones are enabled.
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

// In the order in which they hide one another: a unit of /etc overrides one of /lib.
inline constexpr std::string_view kUnitFolders[] = {
    "/etc/systemd/system", "/run/systemd/system", "/lib/systemd/system", "/usr/lib/systemd/system"};

struct UnitFileText {
    std::string description;  // Description= of [Unit], as written (specifiers unexpanded)
    std::string pidFile;      // PIDFile= of [Service]
    // [Install] says where enabling links it (WantedBy=, RequiredBy=, UpheldBy=, Alias=), or
    // only which other units to enable with it (Also=).
    bool installRules = false;
    bool installAlso = false;
};

// The last assignment of each setting wins, an empty one clears it; lines ending with a
// backslash go on on the next line; "#" and ";" start comments.
UnitFileText ParseUnitFile(std::string_view text);

// The unit's name put into its settings where systemd would: %n the full name, %N without
// the suffix, %p and %P the part before "@", %i and %I the instance after it, %% a percent
// sign. Other specifiers are left as written.
std::string ExpandSpecifiers(std::string_view text, std::string_view unitName);

struct UnitFile {
    std::string name;  // "cron.service", "getty@tty1.service"
    std::string path;  // the file that defines it, links followed within the root
    // A link to /dev/null or an empty file: systemd will not load it.
    bool masked = false;
    // A link to a unit of another name: one more name of that unit, not a unit of its own.
    bool alias = false;
    // Linked from a .wants/ or .requires/ folder of some unit.
    bool enabled = false;
    UnitFileText text;  // specifiers expanded
};

// Every service unit name the folders hold, the first folder's file winning; masked units
// and aliases are kept, marked, since their names still hide init scripts. Templates
// ("x@.service") are not units, but an instance enabled through a link to one is. Drop-in
// folders (x.service.d/) are not read.
std::vector<UnitFile> ReadUnitFiles(const SystemRoot& root);

}  // namespace platform::live
