#include "platform/linux/live/common/unit_syntax.h"

#include "platform/linux/live/common/text_views.h"

namespace platform::live {
namespace {

void AddSetting(std::vector<UnitSetting>& settings, std::string& section, std::string_view line,
                const std::vector<std::size_t>& joins) {
    const std::string_view full = TrimBlanks(line);
    if (full.size() >= 2 && full.front() == '[' && full.back() == ']') {
        section = std::string(full.substr(1, full.size() - 2));
        return;
    }
    const std::size_t equals = full.find('=');
    if (equals == std::string_view::npos)
        return;
    const std::string_view value = TrimBlanks(full.substr(equals + 1));
    const std::size_t start = static_cast<std::size_t>(value.data() - line.data());
    UnitSetting setting{
        section, std::string(TrimBlanks(full.substr(0, equals))), std::string(value), {}};
    for (const std::size_t join : joins)
        if (join >= start && join < start + value.size())
            setting.joins.push_back(join - start);
    settings.push_back(std::move(setting));
}

}  // namespace

std::vector<UnitSetting> ParseUnitSettings(std::string_view text) {
    std::vector<UnitSetting> settings;
    std::string section;
    std::string line;
    std::vector<std::size_t> joins;
    bool continued = false;
    for (std::string_view piece : Lines(text, Lines::Ends::kNewlineOrCrLf)) {
        piece = TrimStart(piece);
        if (!piece.empty() && (piece.front() == '#' || piece.front() == ';'))
            continue;
        continued = !piece.empty() && piece.back() == '\\';
        if (continued) {
            line += piece.substr(0, piece.size() - 1);
            joins.push_back(line.size());
            line += ' ';
            continue;
        }
        line += piece;
        AddSetting(settings, section, line, joins);
        line.clear();
        joins.clear();
    }
    if (continued)
        AddSetting(settings, section, line, joins);
    return settings;
}

std::string JoinedTightly(const UnitSetting& setting) {
    std::string out;
    std::size_t at = 0;
    for (const std::size_t join : setting.joins) {
        out += TrimEnd(std::string_view(setting.value).substr(at, join - at));
        at = join;
    }
    out += std::string_view(setting.value).substr(at);
    return out;
}

}  // namespace platform::live
