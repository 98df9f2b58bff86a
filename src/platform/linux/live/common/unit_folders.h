#pragma once
// The folders the service manager loads unit files from, and the links in their *.wants/
// folders that enable units: one walk for the readers of system services and of the user
// units that start with a session.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

// The folder and the name with one slash between them, whatever the folder ends with.
std::string JoinPath(std::string folder, std::string_view name);

// Where a chain of links ends: each absolute target is taken inside the root (it would
// otherwise leave a test's tree), a relative one from the link's folder. Stops at a path
// that is no link, at an empty target, or after 16 links, as the kernel stops loops.
std::string FollowLinks(const SystemRoot& root, std::string path);

// The template an instance is made from ("getty@.service" for "getty@tty1.service");
// nothing for a name that is no instance.
std::optional<std::string> TemplateOf(std::string_view unit);

// The unit files of one type (".service") in the folders, by name, each at its path in the
// first folder that holds the name: that one hides the others.
std::map<std::string, std::string> UnitFilesIn(const SystemRoot& root,
                                               const std::vector<std::string>& folders,
                                               std::string_view suffix);

struct EnablingLink {
    std::size_t folder;  // the index of the unit folder that holds the link's folder
    std::string unit;    // "cron.service"
    std::string path;    // the link itself
};

enum class Dependencies { kWants, kWantsAndRequires };

// The units of one type enabled by links in the folders' *.wants/ (and *.requires/)
// folders, each name once: the first link found, folder by folder and then by name.
std::vector<EnablingLink> EnablingLinks(const SystemRoot& root,
                                        const std::vector<std::string>& folders,
                                        std::string_view suffix, Dependencies kinds);

}  // namespace platform::live
