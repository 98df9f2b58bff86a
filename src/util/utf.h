#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Conversions between UTF-8, UTF-16 and wide text (UTF-16 where wchar_t has 16 bits, code
// points where it has 32). Each stops at the first NUL. Every ill-formed sequence (a bad or
// truncated UTF-8 sequence, an overlong form, a lone surrogate, a value beyond U+10FFFF)
// becomes one U+FFFD and the rest of the text is kept.

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

std::u16string ToUtf16(std::wstring_view text);
std::wstring FromUtf16(std::u16string_view text);

// One code point of wide text at `i`, advancing `i` past its units, and its units appended
// (to wide text, or as UTF-8): for a walk over the characters that is not a conversion.
// Ill-formed units read as U+FFFD.
char32_t NextCodePoint(std::wstring_view text, std::size_t& i);
void AppendCodePoint(std::wstring& out, char32_t c);
void AppendCodePoint(std::string& out, char32_t c);
