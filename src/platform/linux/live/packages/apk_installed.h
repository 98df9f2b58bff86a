#pragma once
// apk's database of installed packages, /lib/apk/db/installed: one stanza of "X:value" lines
// per package (P name, V version, T description, U address, m maintainer, I installed size in
// bytes), stanzas separated by blank lines.
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/packages/installed_program.h"

namespace platform::live {

std::vector<InstalledProgram> ParseApkInstalled(std::string_view text);

std::vector<InstalledProgram> ApkPrograms(const SystemRoot& root);

}  // namespace platform::live
