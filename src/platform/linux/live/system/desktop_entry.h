#pragma once
// Desktop entry files (*.desktop), as the autostart folders hold them: groups of Key=Value
// lines, comments, keys with locale suffixes (Name[de]) and escapes in string values.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform::live {

// The keys of one group, exactly as written (locale suffix included), values unescaped.
// Blanks around "=" are not part of key or value; a repeated key keeps its first value.
std::map<std::string, std::string> ParseDesktopGroup(std::string_view text, std::string_view group);

// \s \n \t \r and \\ resolved; any other backslash stays as written (Exec's own quoting
// and list separators need it).
std::string UnescapeDesktopString(std::string_view value);

struct DesktopEntry {
    std::optional<std::string> type;
    std::optional<std::string> name;  // the untranslated Name
    std::optional<std::string> exec;
    bool hidden = false;  // Hidden=true: as if the file were not there
};
// The [Desktop Entry] group.
DesktopEntry ParseDesktopEntry(std::string_view text);

}  // namespace platform::live
