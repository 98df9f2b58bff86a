#pragma once
// The syntax of the service manager's unit files, shared by the readers of services and of
// startup units: sections in brackets, Key=Value settings, "#" and ";" comments, and lines
// that go on after a final backslash.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform::live {

struct UnitSetting {
    std::string section;
    std::string key;
    // Trimmed, each line break of a continued setting a blank where its backslash stood, as
    // the manager joins them. Empty for an assignment that clears the setting.
    std::string value;
    // Where in the value those joining blanks stand, for readers that join more tightly.
    std::vector<std::size_t> joins;
};

// The settings in file order. As the manager reads them: leading blanks dropped, a comment
// inside a continued setting skipped while the setting goes on.
std::vector<UnitSetting> ParseUnitSettings(std::string_view text);

// The value with the blanks before each join dropped: "a \\\n  b" gives "a b".
std::string JoinedTightly(const UnitSetting& setting);

}  // namespace platform::live
