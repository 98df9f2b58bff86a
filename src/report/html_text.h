#pragma once
// Inventory texts in the report are data, not markup.
#include <string>

// The text as HTML character data or a quoted attribute value: "&", "<", ">", '"' and "'"
// become character references, and so does "@", so that no inventory text can form a
// template placeholder that a later substitution step would expand.
std::wstring HtmlText(const std::wstring& text);
