#pragma once
// Flatpak applications of the system installation (/var/lib/flatpak) and of the user's
// (~/.local/share/flatpak): app/<id>/current/active holds the deployed commit, its metadata
// key file and, in files/share, the AppStream description the application ships. Runtimes
// live under runtime/ and are not programs.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/packages/installed_program.h"

namespace platform::live {

// The application id the metadata key file names in its [Application] group; nothing for
// the metadata of a runtime or an extension.
std::optional<std::string> FlatpakApplicationId(std::string_view metadata);

// What an AppStream component (metainfo or the older appdata) says of itself, untranslated.
struct AppStreamComponent {
    std::string name;
    std::string summary;
    std::string developer;
    std::string version;  // of the first release listed, the newest by the format's rule
    std::string homepage;
};
// Nothing for text that is not well-formed XML.
std::optional<AppStreamComponent> ParseAppStream(std::string_view xml);

// The applications of one installation, tagged with `source`.
std::vector<InstalledProgram> FlatpakApplications(const SystemRoot& root,
                                                  const std::string& installation,
                                                  const std::string& source);
// The system installation and, where the home is known, the user's.
std::vector<InstalledProgram> FlatpakPrograms(const SystemRoot& root, const std::string& home);

}  // namespace platform::live
