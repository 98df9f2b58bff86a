#pragma once
// The licence agreement carried as RTF, turned into plain text for a terminal: the same
// document the Windows dialog shows formatted, so the two can never differ in wording.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The paragraphs of an RTF document as plain text: groups that are not text (font and colour
// tables, pictures, "\*" destinations) are skipped, \par and \line end a paragraph, \'hh is
// taken in Windows-1252 (the text itself is already
// decoded), \uN with its fallback characters skipped. Malformed input gives
// whatever text it holds; nothing is ever read past the end.
std::vector<std::wstring> RtfParagraphs(std::wstring_view rtf);

// The paragraphs wrapped at `width` columns (words longer than that stand alone), with one
// empty line between paragraphs.
std::wstring WrapParagraphs(const std::vector<std::wstring>& paragraphs, std::size_t width);
