#include "platform/linux/live/devices/sysfs_values.h"
#include "platform/linux/live/common/text_views.h"

namespace platform::live {
std::optional<std::uint32_t> ParseHexNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    return ParseUnsigned<std::uint32_t>(text, 16);
}

std::optional<std::uint32_t> ParseDecimalNumber(std::string_view text) {
    return ParseUnsigned<std::uint32_t>(TrimBlanks(text));
}

std::optional<std::string> LinkName(const SystemRoot& root, const std::string& link) {
    auto target = root.ReadLink(link);
    if (!target)
        return std::nullopt;
    while (!target->empty() && target->back() == '/')
        target->pop_back();
    const std::size_t slash = target->rfind('/');
    std::string name = slash == std::string::npos ? *target : target->substr(slash + 1);
    if (name.empty())
        return std::nullopt;
    return name;
}

}  // namespace platform::live
