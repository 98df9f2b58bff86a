#include "platform/linux/live/system/service_unit.h"
#include "platform/linux/live/common/text_views.h"

namespace platform::live {
namespace {

std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = TrimBlanks(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

bool IsComment(std::string_view line) {
    return !line.empty() && (line.front() == '#' || line.front() == ';');
}

}  // namespace

ServiceUnit ParseServiceUnit(std::string_view text) {
    ServiceUnit unit;
    std::string section;
    while (!text.empty()) {
        std::string_view first = NextLine(text);
        if (first.empty() || IsComment(first))
            continue;
        if (first.front() == '[') {
            if (first.back() == ']')
                section = std::string(first.substr(1, first.size() - 2));
            continue;
        }
        std::string line(first);
        // Comment lines inside a continued line are left out of it.
        while (!line.empty() && line.back() == '\\' && !text.empty()) {
            line.pop_back();
            line.erase(line.find_last_not_of(" \t") + 1);
            line += ' ';
            std::string_view next = NextLine(text);
            while (IsComment(next) && !text.empty())
                next = NextLine(text);
            if (IsComment(next))
                next = {};
            line += next;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key(TrimBlanks(std::string_view(line).substr(0, equals)));
        const std::string value(TrimBlanks(std::string_view(line).substr(equals + 1)));
        if (section == "Unit" && key == "Description")
            unit.description = value.empty() ? std::nullopt : std::optional<std::string>(value);
        else if (section == "Service" && key == "ExecStart" && value.empty())
            unit.execStart.clear();
        else if (section == "Service" && key == "ExecStart")
            unit.execStart.push_back(value);
    }
    return unit;
}

}  // namespace platform::live
