#pragma once
// A description reads ill-formed UTF-8 in a string, and a surrogate escape without its other
// half, as U+FFFD, and a number beyond the range of a double as some real number; the JSON
// library refuses all three. Mending writes them in a form the library reads that way. Only
// the insides of tokens change, so the tokens stay the same and places can still be told on
// the original text.
#include <optional>
#include <string>
#include <string_view>

namespace platform::described {

// Nothing when the library reads the text as a description does already.
std::optional<std::string> MendForLibrary(std::string_view text);

}  // namespace platform::described
