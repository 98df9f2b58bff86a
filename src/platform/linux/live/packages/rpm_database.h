#pragma once
// The installed packages of current RPM, kept in SQLite: table Packages(hnum, blob), one
// header per package. The Berkeley DB of older RPM is not read: such a machine lists none.
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/packages/installed_program.h"

namespace platform::live {

// The header blobs of a database file, in package order; empty when it cannot be read. The
// file is opened read-only and as immutable, so a run never writes, locks or recovers it.
std::vector<std::string> RpmHeaderBlobs(const std::string& path);

// The installed packages, leaving out the pseudo-packages that hold the trusted keys. The
// display name carries the architecture where a name is installed for two of them.
std::vector<InstalledProgram> RpmPrograms(const std::vector<std::string>& blobs);

// The database under /var/lib/rpm, or where newer systems keep it.
std::vector<InstalledProgram> RpmPrograms(const SystemRoot& root);

}  // namespace platform::live
