#pragma once
// pacman's local database: /var/lib/pacman/local/<name>-<version>/desc, sections of a
// "%NAME%" line followed by value lines up to a blank line.
#include <optional>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/packages/installed_program.h"

namespace platform::live {

// Nothing when the file names no package.
std::optional<InstalledProgram> ParsePacmanDesc(std::string_view text);

std::vector<InstalledProgram> PacmanPrograms(const SystemRoot& root);

}  // namespace platform::live
