#include "platform/wql.h"

#include <limits>

namespace platform {
namespace {

wchar_t FoldChar(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    if (u >= L'A' && u <= L'Z')
        return static_cast<wchar_t>(u + 0x20);
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7)  // Latin-1, without the multiplication sign
        return static_cast<wchar_t>(u + 0x20);
    if (u >= 0x391 && u <= 0x3AB && u != 0x3A2)  // Greek
        return static_cast<wchar_t>(u + 0x20);
    if (u >= 0x410 && u <= 0x42F)  // Cyrillic
        return static_cast<wchar_t>(u + 0x20);
    if (u >= 0x400 && u <= 0x40F)
        return static_cast<wchar_t>(u + 0x50);
    return c;
}

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

bool IsIdentifierStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
}

bool IsIdentifierPart(wchar_t c) {
    return IsIdentifierStart(c) || (c >= L'0' && c <= L'9');
}

// Decimal digits with an optional sign, nothing else, within 64 bits.
std::optional<std::int64_t> ParseInteger(const std::wstring& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = negative
                                    ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                    : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(text[i] - L'0');
        if (magnitude > (limit - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    if (negative)
        return magnitude == limit ? std::numeric_limits<std::int64_t>::min()
                                  : -static_cast<std::int64_t>(magnitude);
    return static_cast<std::int64_t>(magnitude);
}

class Parser {
  public:
    explicit Parser(const std::wstring& text) : text_(text) {}

    std::optional<WqlQuery> Parse() {
        WqlQuery query;
        if (!Keyword(L"select") || !Symbol(L"*") || !Keyword(L"from"))
            return std::nullopt;
        auto className = Identifier();
        if (!className)
            return std::nullopt;
        query.className = *className;
        if (Keyword(L"where")) {
            do {
                auto condition = Condition();
                if (!condition)
                    return std::nullopt;
                query.conditions.push_back(std::move(*condition));
            } while (Keyword(L"and"));
        }
        SkipSpace();
        if (pos_ != text_.size())
            return std::nullopt;
        return query;
    }

  private:
    void SkipSpace() {
        while (pos_ < text_.size() && IsSpace(text_[pos_]))
            ++pos_;
    }

    std::optional<std::wstring> Identifier() {
        SkipSpace();
        if (pos_ >= text_.size() || !IsIdentifierStart(text_[pos_]))
            return std::nullopt;
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsIdentifierPart(text_[pos_]))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // A whole word, so that "fromage" is not "from".
    bool Keyword(const wchar_t* word) {
        const std::size_t saved = pos_;
        auto found = Identifier();
        if (found && WqlFold(*found) == word)
            return true;
        pos_ = saved;
        return false;
    }

    bool Symbol(const std::wstring& symbol) {
        SkipSpace();
        if (text_.compare(pos_, symbol.size(), symbol) != 0)
            return false;
        pos_ += symbol.size();
        return true;
    }

    std::optional<WqlCondition> Condition() {
        WqlCondition condition;
        auto property = Identifier();
        if (!property)
            return std::nullopt;
        condition.property = *property;
        if (Keyword(L"like")) {
            auto pattern = Literal();
            // Sets ("[a-f]") are not taken: a pattern must not silently mean something else.
            if (!pattern || pattern->kind != WqlLiteral::Kind::String ||
                pattern->text.find(L'[') != std::wstring::npos)
                return std::nullopt;
            condition.like = true;
            condition.literal = std::move(*pattern);
            return condition;
        }
        if (Symbol(L"!=") || Symbol(L"<>"))
            condition.equal = false;
        else if (!Symbol(L"="))
            return std::nullopt;
        auto literal = Literal();
        if (!literal)
            return std::nullopt;
        condition.literal = std::move(*literal);
        return condition;
    }

    std::optional<WqlLiteral> Literal() {
        SkipSpace();
        if (pos_ >= text_.size())
            return std::nullopt;
        WqlLiteral literal;
        const wchar_t first = text_[pos_];
        if (first == L'\'' || first == L'"') {
            literal.kind = WqlLiteral::Kind::String;
            for (++pos_;; ++pos_) {
                if (pos_ >= text_.size())
                    return std::nullopt;
                wchar_t c = text_[pos_];
                if (c == first) {
                    ++pos_;
                    return literal;
                }
                if (c == L'\\') {
                    if (++pos_ >= text_.size())
                        return std::nullopt;
                    c = text_[pos_];
                    if (c != L'\\' && c != L'\'' && c != L'"')
                        return std::nullopt;
                }
                literal.text += c;
            }
        }
        if (first == L'-' || first == L'+' || (first >= L'0' && first <= L'9')) {
            const std::size_t start = pos_++;
            while (pos_ < text_.size() && text_[pos_] >= L'0' && text_[pos_] <= L'9')
                ++pos_;
            if (pos_ < text_.size() && IsIdentifierPart(text_[pos_]))
                return std::nullopt;
            auto number = ParseInteger(text_.substr(start, pos_ - start));
            if (!number)
                return std::nullopt;
            literal.kind = WqlLiteral::Kind::Integer;
            literal.number = *number;
            return literal;
        }
        auto word = Identifier();
        if (!word)
            return std::nullopt;
        const std::wstring folded = WqlFold(*word);
        if (folded != L"true" && folded != L"false")
            return std::nullopt;
        literal.kind = WqlLiteral::Kind::Boolean;
        literal.boolean = folded == L"true";
        return literal;
    }

    const std::wstring& text_;
    std::size_t pos_ = 0;
};

// Whether the value equals the literal; nothing when they cannot be compared, which makes
// both = and != false.
std::optional<bool> Equals(const WmiValue& value, const WqlLiteral& literal) {
    using Kind = WmiValue::Kind;
    using LiteralKind = WqlLiteral::Kind;
    if (value.isArray)
        return std::nullopt;
    switch (value.kind) {
        case Kind::String:
            switch (literal.kind) {
                case LiteralKind::String:
                    return WqlFold(value.text) == WqlFold(literal.text);
                case LiteralKind::Integer: {
                    auto number = ParseInteger(value.text);
                    return number && *number == literal.number;
                }
                case LiteralKind::Boolean:
                    return WqlFold(value.text) == (literal.boolean ? L"true" : L"false");
            }
            break;
        case Kind::Int16:
        case Kind::Int32:
        case Kind::UInt32:
            switch (literal.kind) {
                case LiteralKind::String: {
                    auto number = ParseInteger(literal.text);
                    return number && *number == value.number;
                }
                case LiteralKind::Integer:
                    return value.number == literal.number;
                case LiteralKind::Boolean:
                    return (value.number != 0) == literal.boolean;
            }
            break;
        case Kind::Boolean:
            switch (literal.kind) {
                case LiteralKind::String:
                    return WqlFold(literal.text) == (value.boolean ? L"true" : L"false");
                case LiteralKind::Integer:
                    return value.boolean == (literal.number != 0);
                case LiteralKind::Boolean:
                    return value.boolean == literal.boolean;
            }
            break;
        case Kind::Empty:
        case Kind::Null:
        case Kind::Other:
            break;
    }
    return std::nullopt;
}

// Both folded. Backtracks to the last %, which keeps the walk linear in practice.
bool LikePattern(const std::wstring& text, const std::wstring& pattern) {
    std::size_t t = 0, p = 0;
    std::size_t starP = std::wstring::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == L'_' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == L'%') {
            starP = p++;
            starT = t;
        } else if (starP != std::wstring::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'%')
        ++p;
    return p == pattern.size();
}

}  // namespace

std::wstring WqlFold(const std::wstring& text) {
    std::wstring out(text);
    for (auto& c : out)
        c = FoldChar(c);
    return out;
}

std::wstring WqlStringText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'\'' || c == L'"')
            out += L'\\';
        out += c;
    }
    return out;
}

std::optional<WqlQuery> ParseWql(const std::wstring& statement) {
    return Parser(statement).Parse();
}

bool Matches(const WqlQuery& query, const WqlLookup& lookup) {
    for (const auto& condition : query.conditions) {
        const auto value = lookup(condition.property);
        if (!value)
            return false;
        if (condition.like) {
            if (value->isArray || value->kind != WmiValue::Kind::String ||
                !LikePattern(WqlFold(value->text), WqlFold(condition.literal.text)))
                return false;
            continue;
        }
        const auto equal = Equals(*value, condition.literal);
        if (!equal || *equal != condition.equal)
            return false;
    }
    return true;
}

NamespacedWql SplitNamespace(const std::wstring& text) {
    const std::size_t colon = text.find(L':');
    if (colon != std::wstring::npos && colon > 0) {
        bool path = IsIdentifierStart(text[0]);
        for (std::size_t i = 1; path && i < colon; ++i)
            path = IsIdentifierPart(text[i]) || (text[i] == L'\\' && text[i - 1] != L'\\');
        if (path && text[colon - 1] != L'\\')
            return {text.substr(0, colon), text.substr(colon + 1)};
    }
    return {L"ROOT\\CIMV2", text};
}

bool IsDefaultNamespace(const std::wstring& nameSpace) {
    return WqlFold(nameSpace) == L"root\\cimv2";
}

std::wstring ClassKey(const std::wstring& nameSpace, const std::wstring& className) {
    return WqlFold(IsDefaultNamespace(nameSpace) ? className : nameSpace + L":" + className);
}

}  // namespace platform
