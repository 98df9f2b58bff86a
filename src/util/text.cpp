#include "util/text.h"

#include <exception>
#include <sstream>

void ReplaceAll(std::wstring& text, const std::wstring& find, const std::wstring& replacement) {
    if (find.empty()) {
        return;
    }
    try {
        std::wstring::size_type pos = 0;
        while ((pos = text.find(find, pos)) != std::wstring::npos) {
            text.replace(pos, find.size(), replacement);
            pos += replacement.size();
        }
    } catch (const std::exception&) {
        // Out of memory or length: keep the text as far as it got.
    }
}

std::wstring EscapeSql(const std::wstring& text) {
    std::wstring escaped = text;
    ReplaceAll(escaped, L"'", L"''");
    return escaped;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> pieces;
    std::wistringstream in(text);
    std::wstring piece;
    while (std::getline(in, piece, separator)) {
        pieces.push_back(piece);
    }
    return pieces;
}

std::wstring Trim(const std::wstring& text, const std::wstring& set) {
    const auto last = text.find_last_not_of(set);
    if (last == std::wstring::npos) {
        return {};
    }
    const auto first = text.find_first_not_of(set);
    return text.substr(first, last - first + 1);
}

namespace {

std::wstring MapAscii(std::wstring text, wchar_t from, wchar_t to) {
    for (wchar_t& c : text) {
        if (c >= from && c <= from + 25) {
            c = static_cast<wchar_t>(c - from + to);
        }
    }
    return text;
}

}  // namespace

std::wstring ToLower(const std::wstring& text) {
    return MapAscii(text, L'A', L'a');
}

std::wstring ToUpper(const std::wstring& text) {
    return MapAscii(text, L'a', L'A');
}

const wchar_t* FindEscape(std::span<const CharEscape> table, char32_t c) {
    for (const CharEscape& entry : table) {
        if (entry.c == c) {
            return entry.text;
        }
    }
    return nullptr;
}

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}
