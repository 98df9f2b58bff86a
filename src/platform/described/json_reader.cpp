#include "platform/described/json_reader.h"

#include <charconv>
#include <set>

#include "util/utf.h"

namespace platform::described {
namespace {

// Deep enough for any description, shallow enough for the stack.
constexpr int kMaxDepth = 200;

void AppendCodePoint(std::wstring& out, std::uint32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

struct Failure {
    std::size_t offset = 0;
    std::wstring message;
};

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
    }

    bool Document(JsonValue& value) {
        SkipSpace();
        if (!Value(value, 0))
            return false;
        SkipSpace();
        if (pos_ < text_.size())
            return Fail(pos_, L"unexpected text after the end of the document");
        return true;
    }

    const Failure& failure() const { return failure_; }

  private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return text_[pos_]; }

    void SkipSpace() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r'))
            ++pos_;
    }

    bool Fail(std::size_t offset, std::wstring message) {
        failure_ = Failure{offset, std::move(message)};
        return false;
    }

    bool Unexpected(const wchar_t* wanted) {
        std::wstring message = std::wstring(L"expected ") + wanted;
        if (AtEnd()) {
            message += L", found the end of the file";
        } else {
            const auto c = static_cast<unsigned char>(Peek());
            if (c >= 0x20 && c < 0x7F)
                message += std::wstring(L", found '") + static_cast<wchar_t>(c) + L"'";
        }
        return Fail(pos_, message);
    }

    bool Value(JsonValue& value, int depth) {
        if (depth > kMaxDepth)
            return Fail(pos_, L"nesting deeper than 200 levels");
        if (AtEnd())
            return Unexpected(L"a value");
        switch (Peek()) {
            case '{':
                return Object(value, depth);
            case '[':
                return Array(value, depth);
            case '"':
                value.type = JsonValue::Type::String;
                return String(value.text);
            case 't':
                value.type = JsonValue::Type::Boolean;
                value.boolean = true;
                return Word("true");
            case 'f':
                value.type = JsonValue::Type::Boolean;
                return Word("false");
            case 'n':
                value.type = JsonValue::Type::Null;
                return Word("null");
            default:
                if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9'))
                    return Number(value);
                return Unexpected(L"a value");
        }
    }

    bool Word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word)
            return Unexpected(L"a value");
        pos_ += word.size();
        return true;
    }

    bool Object(JsonValue& value, int depth) {
        value.type = JsonValue::Type::Object;
        ++pos_;
        SkipSpace();
        if (!AtEnd() && Peek() == '}') {
            ++pos_;
            return true;
        }
        std::set<std::wstring> names;
        for (;;) {
            SkipSpace();
            if (AtEnd() || Peek() != '"')
                return Unexpected(L"a member name in double quotes");
            const std::size_t nameOffset = pos_;
            std::wstring name;
            if (!String(name))
                return false;
            if (!names.insert(name).second)
                return Fail(nameOffset, L"duplicate member name \"" + name + L"\"");
            SkipSpace();
            if (AtEnd() || Peek() != ':')
                return Unexpected(L"':' after a member name");
            ++pos_;
            SkipSpace();
            value.members.emplace_back(std::move(name), JsonValue{});
            if (!Value(value.members.back().second, depth + 1))
                return false;
            SkipSpace();
            if (!AtEnd() && Peek() == ',') {
                ++pos_;
                continue;
            }
            if (!AtEnd() && Peek() == '}') {
                ++pos_;
                return true;
            }
            return Unexpected(L"',' or '}' after an object member");
        }
    }

    bool Array(JsonValue& value, int depth) {
        value.type = JsonValue::Type::Array;
        ++pos_;
        SkipSpace();
        if (!AtEnd() && Peek() == ']') {
            ++pos_;
            return true;
        }
        for (;;) {
            SkipSpace();
            value.items.emplace_back();
            if (!Value(value.items.back(), depth + 1))
                return false;
            SkipSpace();
            if (!AtEnd() && Peek() == ',') {
                ++pos_;
                continue;
            }
            if (!AtEnd() && Peek() == ']') {
                ++pos_;
                return true;
            }
            return Unexpected(L"',' or ']' after an array element");
        }
    }

    bool Hex4(std::uint32_t& n) {
        n = 0;
        for (int i = 0; i < 4; ++i, ++pos_) {
            if (AtEnd())
                return Fail(pos_, L"unfinished \\u escape");
            const char c = Peek();
            n <<= 4;
            if (c >= '0' && c <= '9')
                n |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                n |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                n |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                return Fail(pos_, L"a \\u escape needs four hexadecimal digits");
        }
        return true;
    }

    // Raw runs are decoded as UTF-8 (ill-formed bytes become U+FFFD); escapes are added as
    // code points.
    bool String(std::wstring& out) {
        const std::size_t open = pos_++;
        out.clear();
        std::size_t run = pos_;
        auto flush = [&] { out += Utf8ToWide(text_.substr(run, pos_ - run)); };
        for (;;) {
            if (AtEnd())
                return Fail(open, L"string not closed before the end of the file");
            const auto c = static_cast<unsigned char>(Peek());
            if (c == '"') {
                flush();
                ++pos_;
                return true;
            }
            if (c < 0x20)
                return Fail(pos_, L"control character in a string (write it as an escape)");
            if (c != '\\') {
                ++pos_;
                continue;
            }
            flush();
            const std::size_t escape = pos_++;
            if (AtEnd())
                return Fail(open, L"string not closed before the end of the file");
            const char e = Peek();
            ++pos_;
            switch (e) {
                case '"':
                    out += L'"';
                    break;
                case '\\':
                    out += L'\\';
                    break;
                case '/':
                    out += L'/';
                    break;
                case 'b':
                    out += L'\b';
                    break;
                case 'f':
                    out += L'\f';
                    break;
                case 'n':
                    out += L'\n';
                    break;
                case 'r':
                    out += L'\r';
                    break;
                case 't':
                    out += L'\t';
                    break;
                case 'u': {
                    std::uint32_t cp = 0;
                    if (!Hex4(cp))
                        return false;
                    if (cp >= 0xD800 && cp <= 0xDBFF) {
                        const std::size_t afterHigh = pos_;
                        std::uint32_t low = 0;
                        if (text_.substr(pos_, 2) == "\\u") {
                            pos_ += 2;
                            if (!Hex4(low))
                                return false;
                        }
                        if (low >= 0xDC00 && low <= 0xDFFF) {
                            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                        } else {
                            cp = 0xFFFD;
                            pos_ = afterHigh;
                        }
                    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                        cp = 0xFFFD;
                    }
                    AppendCodePoint(out, cp);
                    break;
                }
                default:
                    return Fail(escape, L"unknown escape in a string");
            }
            run = pos_;
        }
    }

    bool Number(JsonValue& value) {
        const std::size_t start = pos_;
        value.type = JsonValue::Type::Number;
        value.negative = Peek() == '-';
        if (value.negative)
            ++pos_;
        if (AtEnd() || Peek() < '0' || Peek() > '9')
            return Fail(start, L"a number needs digits");
        bool fits = true;
        const std::size_t digits = pos_;
        while (!AtEnd() && Peek() >= '0' && Peek() <= '9') {
            const auto digit = static_cast<std::uint64_t>(Peek() - '0');
            if (value.magnitude > (UINT64_MAX - digit) / 10)
                fits = false;
            else
                value.magnitude = value.magnitude * 10 + digit;
            ++pos_;
        }
        if (pos_ - digits > 1 && text_[digits] == '0')
            return Fail(start, L"a number must not start with 0");
        bool whole = true;
        if (!AtEnd() && Peek() == '.') {
            whole = false;
            ++pos_;
            if (AtEnd() || Peek() < '0' || Peek() > '9')
                return Fail(start, L"a number needs digits after its decimal point");
            while (!AtEnd() && Peek() >= '0' && Peek() <= '9')
                ++pos_;
        }
        if (!AtEnd() && (Peek() == 'e' || Peek() == 'E')) {
            whole = false;
            ++pos_;
            if (!AtEnd() && (Peek() == '+' || Peek() == '-'))
                ++pos_;
            if (AtEnd() || Peek() < '0' || Peek() > '9')
                return Fail(start, L"a number needs digits in its exponent");
            while (!AtEnd() && Peek() >= '0' && Peek() <= '9')
                ++pos_;
        }
        value.integral = whole && fits;
        if (!value.integral)
            value.magnitude = 0;
        const char* first = text_.data() + start;
        std::from_chars(first, text_.data() + pos_, value.real);
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    Failure failure_;
};

// Line and column (in characters, from 1) of a byte offset.
void Locate(std::string_view text, std::size_t offset, JsonError& error) {
    error.line = 1;
    error.column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++error.line;
            error.column = 1;
        } else if ((c & 0xC0) != 0x80 && !(i < 3 && text.substr(0, 3) == "\xEF\xBB\xBF")) {
            ++error.column;
        }
    }
}

}  // namespace

bool ParseJson(std::string_view utf8, JsonValue& value, JsonError& error) {
    value = JsonValue{};
    Reader reader(utf8);
    if (reader.Document(value))
        return true;
    Locate(utf8, reader.failure().offset, error);
    error.message = reader.failure().message;
    value = JsonValue{};
    return false;
}

}  // namespace platform::described
