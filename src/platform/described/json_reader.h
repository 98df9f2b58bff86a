#pragma once
// Machine descriptions read with the nlohmann JSON library, held to this program's rules:
// members stay in file order, duplicate names are refused, nesting stops at 200 levels, and
// an error says where (line and column, counted in characters from 1) and why.
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace platform::described {

using Json = nlohmann::ordered_json;

struct JsonError {
    int line = 0;
    int column = 0;
    std::wstring message;
};

// Nothing, with the error filled, when the text is not one well-formed JSON value.
std::optional<Json> ParseJson(std::string_view utf8, JsonError& error);

// A string value or member name as wide text, keeping the NULs of \u0000 escapes (which
// Utf8ToWide would stop at).
std::wstring WideText(std::string_view utf8);

}  // namespace platform::described
