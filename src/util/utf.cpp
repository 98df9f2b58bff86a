#include "util/utf.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

template <typename Char>
std::basic_string_view<Char> UpToNul(std::basic_string_view<Char> text) {
    return text.substr(0, text.find(Char{}));
}

// One code point from UTF-16 units held in `Char`; advances `i` past what it consumed.
template <typename Char>
char32_t NextFromUtf16(std::basic_string_view<Char> text, std::size_t& i) {
    using Unit = std::make_unsigned_t<Char>;
    const char32_t first = static_cast<Unit>(text[i++]);
    if (!IsSurrogate(first)) {
        return first;
    }
    if (first <= 0xDBFF && i < text.size()) {
        const char32_t second = static_cast<Unit>(text[i]);
        if (second >= 0xDC00 && second <= 0xDFFF) {
            ++i;
            return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
        }
    }
    return kReplacement;
}

template <typename String>
void AppendUtf16(String& out, char32_t c) {
    using Char = typename String::value_type;
    if (c < 0x10000) {
        out.push_back(static_cast<Char>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<Char>(0xD800 + (c >> 10)));
        out.push_back(static_cast<Char>(0xDC00 + (c & 0x3FF)));
    }
}

char32_t NextFromWide(std::wstring_view text, std::size_t& i) {
    if constexpr (sizeof(wchar_t) == 2) {
        return NextFromUtf16(text, i);
    } else {
        const auto c = static_cast<char32_t>(text[i++]);
        return IsSurrogate(c) || c > 0x10FFFF ? kReplacement : c;
    }
}

void AppendWide(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        AppendUtf16(out, c);
    } else {
        out.push_back(static_cast<wchar_t>(c));
    }
}

// One code point from UTF-8; an ill-formed sequence yields U+FFFD and consumes only its
// longest valid prefix (at least one byte), so the next sequence is read intact.
char32_t NextFromUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    int trailing = 0;
    char32_t c = 0;
    // Bounds of the second byte exclude overlong forms, surrogates and values past U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2;
        c = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3;
        c = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return kReplacement;
    }
    for (int k = 0; k < trailing; ++k) {
        if (i == text.size()) {
            return kReplacement;
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < low || byte > high) {
            return kReplacement;
        }
        ++i;
        c = (c << 6) | (byte & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Every conversion: up to the first NUL, one code point read and written at a time.
template <typename Out, typename In, typename Next, typename Append>
Out Convert(std::basic_string_view<In> text, Next next, Append append) {
    text = UpToNul(text);
    Out out;
    out.reserve(text.size());
    using Unit = std::make_unsigned_t<In>;
    for (std::size_t i = 0; i < text.size();) {
        // Most text is runs of ASCII, the same unit in every form: those are copied whole
        // rather than decoded and appended one code point at a time (a report is megabytes).
        std::size_t end = i;
        while (end < text.size() && static_cast<Unit>(text[end]) < 0x80) {
            ++end;
        }
        if (end == i) {
            append(out, next(text, i));
            continue;
        }
        const std::size_t at = out.size();
        out.resize(at + (end - i));
        std::copy(text.begin() + static_cast<std::ptrdiff_t>(i),
                  text.begin() + static_cast<std::ptrdiff_t>(end),
                  out.begin() + static_cast<std::ptrdiff_t>(at));
        i = end;
    }
    return out;
}

}  // namespace

char32_t NextCodePoint(std::wstring_view text, std::size_t& i) {
    return NextFromWide(text, i);
}

void AppendCodePoint(std::wstring& out, char32_t c) {
    AppendWide(out, c);
}

void AppendCodePoint(std::string& out, char32_t c) {
    AppendUtf8(out, c);
}

std::wstring Utf8ToWide(std::string_view text) {
    return Convert<std::wstring>(text, NextFromUtf8, AppendWide);
}

std::string WideToUtf8(std::wstring_view text) {
    return Convert<std::string>(text, NextFromWide, AppendUtf8);
}

std::u16string ToUtf16(std::wstring_view text) {
    return Convert<std::u16string>(text, NextFromWide, AppendUtf16<std::u16string>);
}

std::wstring FromUtf16(std::u16string_view text) {
    return Convert<std::wstring>(text, NextFromUtf16<char16_t>, AppendWide);
}
