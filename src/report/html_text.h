#pragma once
// Inventory texts in the report are data, not markup.
#include <string>

// The text as HTML character data or a quoted attribute value: "&", "<", ">", '"' and "'"
// become character references, and so does "@", so that no inventory text can form a
// template placeholder that a later substitution step would expand.
//
// Control characters other than tab, line feed and carriage return are not allowed in HTML,
// raw or as references (&#128; to &#159; even stand for other characters), so each becomes
// U+FFFD: visible where a value held something unprintable, as browsers show a NUL. A
// carriage return becomes "&#13;": the parser turns every raw one into a line feed, and only
// the reference keeps it in the value.
std::wstring HtmlText(const std::wstring& text);
// The same, appended to `out`.
void AppendHtmlText(std::wstring& out, const std::wstring& text);
