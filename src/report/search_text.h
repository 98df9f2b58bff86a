#pragma once
// The query text of the installed-programs search links.
#include <string>

// Percent-encodes what would change the meaning of a query value ("%" first, so no escape is
// escaped twice), and also the quote, apostrophe and "@", so the result can sit inside a
// quoted attribute and can never form a template placeholder; blanks become "+" last.
std::wstring EncodeSearchText(const std::wstring& text);
