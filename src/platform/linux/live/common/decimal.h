#pragma once
// Unsigned decimal numbers as the kernel and the system's files write them: digits only, no
// sign, no blanks. A value that does not fit the type is unknown rather than wrapped.
#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace platform::live {

template <class Unsigned>
std::optional<Unsigned> ParseDecimal(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    Unsigned value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace platform::live
