#pragma once
// Cutting narrow text the way the readers of system files need it: the same few operations
// for /proc, /sys, unit files, package lists and the rest.
#include <charconv>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform::live {

inline constexpr std::string_view kBlanks = " \t";
// What the text readers count as blank around a value, line ends included.
inline constexpr std::string_view kLineBlanks = " \t\r\n";
// Everything the C locale counts as white space, as stream extraction skips it.
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

std::string_view TrimStart(std::string_view text, std::string_view blanks = kBlanks);
std::string_view TrimEnd(std::string_view text, std::string_view blanks = kBlanks);
std::string_view Trim(std::string_view text, std::string_view blanks);
// The text without blanks, tabs and line ends at either end.
std::string_view TrimBlanks(std::string_view text);

// The words between runs of separators; none is empty.
std::vector<std::string_view> SplitWords(std::string_view text,
                                         std::string_view separators = kBlanks);
// Every field between single separators, empty ones kept in their place: one more field
// than there are separators.
std::vector<std::string_view> SplitFields(std::string_view text, char separator);

// Equal when ASCII letters are folded to lower case, whatever the locale.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// The value of a hexadecimal digit; -1 for any other character.
int HexDigitValue(char c);

// The lines of a text without their "\n"; a line end at the very end starts no empty line.
// Files that may come from other systems drop a "\r" before it as well.
class Lines {
  public:
    enum class Ends { kNewline, kNewlineOrCrLf };

    class Iterator {
      public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        Iterator(std::string_view rest, Ends ends) : rest_(rest), ends_(ends) { ++*this; }
        std::string_view operator*() const { return line_; }
        Iterator& operator++();
        void operator++(int) { ++*this; }
        bool operator==(std::default_sentinel_t) const { return done_; }

      private:
        std::string_view rest_;
        std::string_view line_;
        Ends ends_ = Ends::kNewline;
        bool done_ = false;
    };

    explicit Lines(std::string_view text, Ends ends = Ends::kNewline) : text_(text), ends_(ends) {}
    Iterator begin() const { return {text_, ends_}; }
    std::default_sentinel_t end() const { return {}; }

  private:
    std::string_view text_;
    Ends ends_;
};

// A number written with the digits of the base only: no sign, no blanks, no prefix. A value
// that does not fit the type is unknown rather than wrapped.
template <class Integer>
std::optional<Integer> ParseUnsigned(std::string_view text, int base = 10) {
    // from_chars would take a minus sign for a signed type.
    if (text.empty() || text.front() == '-')
        return std::nullopt;
    Integer value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Decimal, or hexadecimal after "0x" as the kernel and firmware write it.
template <class Integer>
std::optional<Integer> ParseNumber(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseUnsigned<Integer>(text.substr(2), 16);
    return ParseUnsigned<Integer>(text);
}

}  // namespace platform::live
