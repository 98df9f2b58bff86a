#include "platform/described/json_syntax.h"

#include <algorithm>

namespace platform::described {
namespace {

bool IsDigit(std::string_view text, std::size_t i) {
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

bool IsHex(std::string_view text, std::size_t i) {
    if (i >= text.size())
        return false;
    const char c = text[i];
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool Is(std::string_view text, std::size_t i, char c) {
    return i < text.size() && text[i] == c;
}

std::size_t SkipSpace(std::string_view text, std::size_t i) {
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
        ++i;
    return i;
}

std::size_t SkipDigits(std::string_view text, std::size_t i) {
    while (IsDigit(text, i))
        ++i;
    return i;
}

JsonFault Unexpected(std::string_view text, std::size_t at, const wchar_t* wanted) {
    std::wstring message = std::wstring(L"expected ") + wanted;
    if (at >= text.size()) {
        message += L", found the end of the file";
    } else {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c >= 0x20 && c < 0x7F)
            message += std::wstring(L", found '") + static_cast<wchar_t>(c) + L"'";
    }
    return {at, message};
}

std::optional<JsonFault> StringFault(std::string_view text, std::size_t open) {
    const JsonFault unclosed{open, L"string not closed before the end of the file"};
    for (std::size_t i = open + 1;;) {
        if (i >= text.size())
            return unclosed;
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"')
            return std::nullopt;
        if (c < 0x20)
            return JsonFault{i, L"control character in a string (write it as an escape)"};
        if (c != '\\') {
            ++i;
            continue;
        }
        const std::size_t escape = i++;
        if (i >= text.size())
            return unclosed;
        const char e = text[i++];
        if (e == 'u') {
            for (int n = 0; n < 4; ++n, ++i) {
                if (i >= text.size())
                    return JsonFault{i, L"unfinished \\u escape"};
                if (!IsHex(text, i))
                    return JsonFault{i, L"a \\u escape needs four hexadecimal digits"};
            }
        } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
            return JsonFault{escape, L"unknown escape in a string"};
        }
    }
}

JsonFault ValueFault(std::string_view text, std::size_t at, std::size_t depth,
                     const std::wstring& otherwise) {
    if (depth > kMaxJsonDepth)
        return TooDeep(at);
    if (Is(text, at, '"'))
        return StringFault(text, at).value_or(JsonFault{at, otherwise});
    if (Is(text, at, '-') || IsDigit(text, at))
        return NumberFault(text, at).value_or(JsonFault{at, otherwise});
    return Unexpected(text, at, L"a value");
}

JsonFault NameFault(std::string_view text, std::size_t at, const std::wstring& otherwise) {
    if (!Is(text, at, '"'))
        return Unexpected(text, at, L"a member name in double quotes");
    return StringFault(text, at).value_or(JsonFault{at, otherwise});
}

}  // namespace

std::size_t JsonStart(std::string_view text) {
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

std::size_t NextToken(std::string_view text, std::size_t end, Expect expect) {
    std::size_t at = SkipSpace(text, end);
    const char separator = expect == Expect::Colon                                       ? ':'
                           : expect == Expect::MemberEnd || expect == Expect::ElementEnd ? ','
                                                                                         : '\0';
    if (separator && Is(text, at, separator))
        at = SkipSpace(text, at + 1);
    return at;
}

std::size_t TokenEnd(std::string_view text, std::size_t start) {
    if (start >= text.size())
        return start;
    std::size_t i = start;
    switch (text[i]) {
        case '"':
            for (++i; i < text.size() && text[i] != '"'; ++i)
                if (text[i] == '\\')
                    ++i;
            return std::min(i + 1, text.size());
        case 't':
        case 'n':
            return std::min(start + 4, text.size());
        case 'f':
            return std::min(start + 5, text.size());
        case '-':
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7':
        case '8':
        case '9':
            if (Is(text, i, '-'))
                ++i;
            i = Is(text, i, '0') ? i + 1 : SkipDigits(text, i);
            if (Is(text, i, '.'))
                i = SkipDigits(text, i + 1);
            if (Is(text, i, 'e') || Is(text, i, 'E')) {
                ++i;
                if (Is(text, i, '+') || Is(text, i, '-'))
                    ++i;
                i = SkipDigits(text, i);
            }
            return i;
        default:
            return start + 1;
    }
}

std::optional<JsonFault> NumberFault(std::string_view text, std::size_t start) {
    std::size_t i = start;
    if (Is(text, i, '-'))
        ++i;
    if (!IsDigit(text, i))
        return JsonFault{start, L"a number needs digits"};
    if (Is(text, i, '0') && IsDigit(text, i + 1))
        return JsonFault{start, L"a number must not start with 0"};
    i = SkipDigits(text, i);
    if (Is(text, i, '.')) {
        if (!IsDigit(text, i + 1))
            return JsonFault{start, L"a number needs digits after its decimal point"};
        i = SkipDigits(text, i + 1);
    }
    if (Is(text, i, 'e') || Is(text, i, 'E')) {
        ++i;
        if (Is(text, i, '+') || Is(text, i, '-'))
            ++i;
        if (!IsDigit(text, i))
            return JsonFault{start, L"a number needs digits in its exponent"};
    }
    return std::nullopt;
}

JsonFault ExplainFault(std::string_view text, std::size_t end, Expect expect, std::size_t depth,
                       const std::wstring& otherwise) {
    const std::size_t at = SkipSpace(text, end);
    switch (expect) {
        case Expect::Document:
        case Expect::FirstElement:
            return ValueFault(text, at, depth, otherwise);
        case Expect::Nothing:
            return {at, L"unexpected text after the end of the document"};
        case Expect::FirstMember:
            return NameFault(text, at, otherwise);
        case Expect::Colon:
            if (!Is(text, at, ':'))
                return Unexpected(text, at, L"':' after a member name");
            return ValueFault(text, SkipSpace(text, at + 1), depth, otherwise);
        case Expect::MemberEnd:
            if (!Is(text, at, ','))
                return Unexpected(text, at, L"',' or '}' after an object member");
            return NameFault(text, SkipSpace(text, at + 1), otherwise);
        case Expect::ElementEnd:
            if (!Is(text, at, ','))
                return Unexpected(text, at, L"',' or ']' after an array element");
            return ValueFault(text, SkipSpace(text, at + 1), depth, otherwise);
    }
    return {at, otherwise};
}

JsonFault TooDeep(std::size_t offset) {
    return {offset, L"nesting deeper than 200 levels"};
}

}  // namespace platform::described
