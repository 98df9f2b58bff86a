#pragma once
// Snaps, from the description each mounted snap carries: /snap/<instance>/current/meta/
// snap.yaml. snapd's state file knows more but is large and is snapd's own format.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/packages/installed_program.h"

namespace platform::live {

struct SnapMeta {
    std::string name;
    std::string version;
    std::string summary;
    std::string type;  // "app" when the file names none
};

// The top-level scalars of snap.yaml; nothing for text that is not YAML with a mapping at its
// root, or that names no snap.
std::optional<SnapMeta> ParseSnapYaml(std::string_view text);

// The snaps that are programs: bases, the core snaps and snapd itself are left out. Each is
// listed under its instance name, as `snap list` does.
std::vector<InstalledProgram> SnapPrograms(const SystemRoot& root);

}  // namespace platform::live
