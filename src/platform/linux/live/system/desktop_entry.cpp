#include "platform/linux/live/system/desktop_entry.h"
#include "platform/linux/live/common/text_views.h"

namespace platform::live {
namespace {

std::optional<std::string> Value(const std::map<std::string, std::string>& keys, const char* key) {
    auto found = keys.find(key);
    if (found == keys.end())
        return std::nullopt;
    return found->second;
}

}  // namespace

std::map<std::string, std::string> ParseDesktopGroup(std::string_view text,
                                                     std::string_view group) {
    std::map<std::string, std::string> keys;
    bool inside = false;
    for (std::string_view line : Lines(text)) {
        line = TrimBlanks(line);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inside = line.back() == ']' && line.substr(1, line.size() - 2) == group;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inside || equals == std::string_view::npos)
            continue;
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        if (!key.empty())
            keys.emplace(std::string(key),
                         UnescapeDesktopString(TrimBlanks(line.substr(equals + 1))));
    }
    return keys;
}

std::string UnescapeDesktopString(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c != '\\' || i + 1 == value.size()) {
            text += c;
            continue;
        }
        switch (value[i + 1]) {
            case 's':
                text += ' ';
                break;
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case 'r':
                text += '\r';
                break;
            case '\\':
                text += '\\';
                break;
            default:
                text += c;
                continue;  // the next character is read as itself
        }
        ++i;
    }
    return text;
}

DesktopEntry ParseDesktopEntry(std::string_view text) {
    const auto keys = ParseDesktopGroup(text, "Desktop Entry");
    DesktopEntry entry;
    entry.type = Value(keys, "Type");
    entry.name = Value(keys, "Name");
    entry.exec = Value(keys, "Exec");
    const auto hidden = Value(keys, "Hidden");
    entry.hidden = hidden && (*hidden == "true" || *hidden == "1");
    return entry;
}

}  // namespace platform::live
