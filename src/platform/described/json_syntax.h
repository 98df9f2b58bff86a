#pragma once
// Where the tokens of a JSON text lie and why one is malformed, read from the text itself:
// the library says that a text is malformed, but neither where the faulty token starts nor
// what is wrong in the words this program's messages use. Offsets are in bytes.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform::described {

// Deep enough for any description, shallow enough for the stack of whoever walks the values.
constexpr std::size_t kMaxJsonDepth = 200;

// What may come next in a text read so far.
enum class Expect {
    Document,      // the document's value
    Nothing,       // after the document's value
    FirstMember,   // after '{': a member name or '}'
    Colon,         // after a member name
    MemberEnd,     // after a member's value: ',' and a member name, or '}'
    FirstElement,  // after '[': a value or ']'
    ElementEnd,    // after an element: ',' and a value, or ']'
};

struct JsonFault {
    std::size_t offset = 0;
    std::wstring message;
};

// Past the byte-order mark, when the text starts with one.
std::size_t JsonStart(std::string_view text);

// The start of the token after `end` (where the previous one ended), past the ':' or ','
// that `expect` allows before it.
std::size_t NextToken(std::string_view text, std::size_t end, Expect expect);

// The end of the well-formed token starting at `start`.
std::size_t TokenEnd(std::string_view text, std::size_t start);

// Why the number at `start` is refused: malformed, or written with a leading zero (which the
// library reads as a number followed by another).
std::optional<JsonFault> NumberFault(std::string_view text, std::size_t start);

// Why the text after `end` is malformed, `depth` containers deep. `otherwise` is the message
// when no rule of this program's refuses it (the library then has one of its own).
JsonFault ExplainFault(std::string_view text, std::size_t end, Expect expect, std::size_t depth,
                       const std::wstring& otherwise);

JsonFault TooDeep(std::size_t offset);

}  // namespace platform::described
