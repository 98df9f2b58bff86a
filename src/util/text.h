#pragma once

#include <span>
#include <string>
#include <vector>

// The characters the configuration reader strips around its values.
inline const std::wstring kBlankChars = L" \t\r\n";

// Replaces every occurrence of a non-empty `find`, resuming after each inserted replacement so
// that a replacement containing `find` is never searched again.
void ReplaceAll(std::wstring& text, const std::wstring& find, const std::wstring& replacement);

// Doubles single quotes for use inside a single-quoted SQL literal.
std::wstring EscapeSql(const std::wstring& text);

// Pieces between separators; empty text gives none and a trailing separator adds no empty piece.
std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator);

// Strips characters of `set` from both ends.
std::wstring Trim(const std::wstring& text, const std::wstring& set);

// ASCII-only case folding: other characters pass unchanged whatever the locale.
std::wstring ToLower(const std::wstring& text);
std::wstring ToUpper(const std::wstring& text);

// One entry of an escaping table: the character and the text that stands for it.
struct CharEscape {
    char32_t c;
    const wchar_t* text;
};

// The text the table gives for `c`, or null when the character stands for itself.
const wchar_t* FindEscape(std::span<const CharEscape> table, char32_t c);

// The value of a hexadecimal digit; -1 for any other character.
int HexDigitValue(wchar_t c);
