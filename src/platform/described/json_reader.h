#pragma once
// A strict JSON reader for machine descriptions. It keeps object members in file order,
// refuses duplicate names, tells where a syntax error is (line and column, counted in
// characters from 1), decodes strings to wide text (a lone surrogate escape becomes U+FFFD)
// and keeps integers exact up to 64 bits.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::described {

struct JsonValue {
    enum class Type { Null, Boolean, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    // Numbers: integral when written without fraction or exponent and of at most 64 bits of
    // magnitude; the magnitude and sign then hold it exactly.
    bool integral = false;
    bool negative = false;
    std::uint64_t magnitude = 0;
    double real = 0;
    std::wstring text;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::wstring, JsonValue>> members;
};

struct JsonError {
    int line = 0;
    int column = 0;
    std::wstring message;
};

// False with the error filled when the text is not one well-formed JSON value.
bool ParseJson(std::string_view utf8, JsonValue& value, JsonError& error);

}  // namespace platform::described
