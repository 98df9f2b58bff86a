#include "platform/linux/live/sysfs_values.h"

#include <charconv>

namespace platform::live {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::uint32_t> ParseNumber(std::string_view text, int base) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::uint32_t> ParseHexNumber(std::string_view text) {
    text = Trimmed(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    return ParseNumber(text, 16);
}

std::optional<std::uint32_t> ParseDecimalNumber(std::string_view text) {
    return ParseNumber(Trimmed(text), 10);
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
