#include "platform/linux/live/packages/pacman_local.h"

#include <map>
#include <string>

#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/packages/dpkg_status.h"

namespace platform::live {

std::optional<InstalledProgram> ParsePacmanDesc(std::string_view text) {
    std::map<std::string, std::string, std::less<>> sections;
    std::string* current = nullptr;
    for (const std::string_view line : Lines(text, Lines::Ends::kNewlineOrCrLf)) {
        if (line.empty()) {
            current = nullptr;
        } else if (line.size() > 2 && line.front() == '%' && line.back() == '%') {
            current = &sections[std::string(line.substr(1, line.size() - 2))];
        } else if (current && current->empty()) {
            // A section of several values (%LICENSE%, %DEPENDS%) keeps its first one.
            *current = line;
        }
    }
    const auto section = [&](std::string_view name) {
        const auto found = sections.find(name);
        return found == sections.end() ? std::string() : found->second;
    };
    InstalledProgram program;
    program.name = section("NAME");
    if (program.name.empty())
        return std::nullopt;
    program.id = program.name;
    program.version = section("VERSION");
    program.comments = section("DESC");
    program.url = section("URL");
    program.publisher = MaintainerName(section("PACKAGER"));
    program.source = "pacman";
    if (const auto bytes = ParseUnsigned<std::uint64_t>(section("SIZE")))
        program.sizeKb = KilobytesOf(*bytes);
    if (const auto when = ParseUnsigned<std::int64_t>(section("INSTALLDATE")))
        program.installDate = LocalDay(static_cast<std::time_t>(*when));
    return program;
}

std::vector<InstalledProgram> PacmanPrograms(const SystemRoot& root) {
    std::vector<InstalledProgram> programs;
    for (const std::string& folder : root.ListFolder("/var/lib/pacman/local"))
        if (const auto text = root.ReadFile("/var/lib/pacman/local/" + folder + "/desc", 1u << 20))
            if (auto program = ParsePacmanDesc(*text))
                programs.push_back(std::move(*program));
    return programs;
}

}  // namespace platform::live
