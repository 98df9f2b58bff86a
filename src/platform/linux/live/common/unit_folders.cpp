#include "platform/linux/live/common/unit_folders.h"

#include <set>

namespace platform::live {

std::string JoinPath(std::string folder, std::string_view name) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder != "/")
        folder += '/';
    return folder + std::string(name);
}

std::string FollowLinks(const SystemRoot& root, std::string path) {
    for (int hop = 0; hop < 16; ++hop) {
        const auto target = root.ReadLink(path);
        if (!target || target->empty())
            break;
        if (target->front() == '/') {
            path = *target;
        } else {
            const std::size_t slash = path.rfind('/');
            path = JoinPath(slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash),
                            *target);
        }
    }
    return path;
}

std::optional<std::string> TemplateOf(std::string_view unit) {
    const std::size_t at = unit.find('@');
    const std::size_t dot = unit.rfind('.');
    if (at == std::string_view::npos || dot == std::string_view::npos || at + 1 >= dot)
        return std::nullopt;
    return std::string(unit.substr(0, at + 1)) + std::string(unit.substr(dot));
}

std::map<std::string, std::string> UnitFilesIn(const SystemRoot& root,
                                               const std::vector<std::string>& folders,
                                               std::string_view suffix) {
    std::map<std::string, std::string> files;
    for (const std::string& folder : folders)
        for (const std::string& name : root.ListFolder(folder))
            if (name.ends_with(suffix))
                files.emplace(name, JoinPath(folder, name));
    return files;
}

std::vector<EnablingLink> EnablingLinks(const SystemRoot& root,
                                        const std::vector<std::string>& folders,
                                        std::string_view suffix, Dependencies kinds) {
    std::vector<EnablingLink> links;
    std::set<std::string> seen;
    for (std::size_t index = 0; index < folders.size(); ++index) {
        for (const std::string& name : root.ListFolder(folders[index])) {
            if (!name.ends_with(".wants") &&
                !(kinds == Dependencies::kWantsAndRequires && name.ends_with(".requires")))
                continue;
            const std::string linkFolder = JoinPath(folders[index], name);
            for (const std::string& unit : root.ListFolder(linkFolder))
                if (unit.ends_with(suffix) && seen.insert(unit).second)
                    links.push_back({index, unit, JoinPath(linkFolder, unit)});
        }
    }
    return links;
}

}  // namespace platform::live
