#pragma once

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
