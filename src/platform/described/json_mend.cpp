#include "platform/described/json_mend.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <system_error>

#include "platform/described/json_syntax.h"
#include "util/utf.h"

namespace platform::described {
namespace {

// The code unit of the \uXXXX escape at `at` (its backslash); nothing for another escape or
// a malformed one, which the library refuses on its own.
std::optional<std::uint32_t> UnicodeEscape(std::string_view text, std::size_t at) {
    if (text.substr(at, 2) != "\\u" || text.size() - at < 6)
        return std::nullopt;
    std::uint32_t unit = 0;
    for (std::size_t i = at + 2; i < at + 6; ++i) {
        const char c = text[i];
        unit <<= 4;
        if (c >= '0' && c <= '9')
            unit |= static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            unit |= static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            unit |= static_cast<std::uint32_t>(c - 'A' + 10);
        else
            return std::nullopt;
    }
    return unit;
}

bool IsHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Through the program's own decoder, so that well-formed means what it reads as such.
bool WellFormed(std::string_view run) {
    if (std::all_of(run.begin(), run.end(), [](char c) { return (c & 0x80) == 0; }))
        return true;
    return WideToUtf8(Utf8ToWide(run)) == run;
}

class Mender {
  public:
    explicit Mender(std::string_view text) : text_(text) {}

    std::optional<std::string> Mend() {
        for (std::size_t i = 0; i < text_.size();) {
            const char c = text_[i];
            if (c == '"')
                i = String(i + 1);
            else if (c == '-' || (c >= '0' && c <= '9'))
                i = Number(i);
            else
                ++i;
        }
        if (!changed_)
            return std::nullopt;
        out_.append(text_.substr(copied_));
        return std::move(out_);
    }

  private:
    // From after an opening quote; returns the offset after the closing one. Raw runs are
    // the text between escapes, as a description decodes them.
    std::size_t String(std::size_t i) {
        std::size_t run = i;
        while (i < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[i]);
            if (c != '"' && c != '\\' && c >= 0x20) {
                ++i;
                continue;
            }
            MendRun(run, i);
            if (c == '"')
                return i + 1;
            i = c == '\\' ? Escape(i) : i + 1;
            run = i;
        }
        MendRun(run, i);
        return i;
    }

    void MendRun(std::size_t from, std::size_t to) {
        const std::string_view run = text_.substr(from, to - from);
        if (!WellFormed(run))
            Replace(from, to, WideToUtf8(Utf8ToWide(run)));
    }

    // A surrogate escape not paired with its other half becomes one of U+FFFD.
    std::size_t Escape(std::size_t at) {
        const auto unit = UnicodeEscape(text_, at);
        if (!unit)
            return std::min(at + 2, text_.size());
        if (IsHighSurrogate(*unit)) {
            if (const auto low = UnicodeEscape(text_, at + 6); low && IsLowSurrogate(*low))
                return at + 12;
        }
        if (IsHighSurrogate(*unit) || IsLowSurrogate(*unit))
            Replace(at, at + 6, "\\uFFFD");
        return at + 6;
    }

    // A number beyond the range of a double is some real number to a description, and no
    // integer; the library refuses it. The stand-in starts and ends as the number does (a
    // sign or a digit, exponent digits or others), so that the library splits the text
    // around it into the same tokens.
    std::size_t Number(std::size_t start) {
        const std::size_t end = std::max(TokenEnd(text_, start), start + 1);
        if (NumberFault(text_, start))
            return end;
        const std::string_view number = text_.substr(start, end - start);
        double value = 0;
        const auto read = std::from_chars(number.data(), number.data() + number.size(), value);
        if (read.ec != std::errc::result_out_of_range)
            return end;
        std::string standIn = number[0] == '-' ? "-" : "";
        standIn += number.find_first_of("eE") != std::string_view::npos ? "0e0" : "0.0";
        Replace(start, end, standIn);
        return end;
    }

    void Replace(std::size_t from, std::size_t to, std::string_view with) {
        out_.append(text_.substr(copied_, from - copied_));
        out_.append(with);
        copied_ = to;
        changed_ = true;
    }

    std::string_view text_;
    std::string out_;
    std::size_t copied_ = 0;
    bool changed_ = false;
};

}  // namespace

std::optional<std::string> MendForLibrary(std::string_view text) {
    return Mender(text).Mend();
}

}  // namespace platform::described
