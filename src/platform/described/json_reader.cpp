#include "platform/described/json_reader.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <unordered_set>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "util/utf.h"

namespace platform::described {
namespace {

using Json = nlohmann::ordered_json;

// Deep enough for any description, shallow enough for the stack of whoever walks the values.
constexpr std::size_t kMaxDepth = 200;

// Hands the text to the library and counts the bytes it has taken: the library tells its
// place only with its own errors, and the builder's refusals need one too.
class CountingIterator {
  public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    CountingIterator(const char* at, std::size_t* taken) : at_(at), taken_(taken) {}

    reference operator*() const { return *at_; }
    CountingIterator& operator++() {
        ++at_;
        ++*taken_;
        return *this;
    }
    bool operator==(const CountingIterator& other) const { return at_ == other.at_; }

  private:
    const char* at_;
    std::size_t* taken_;
};

struct JsonFault {
    std::size_t offset = 0;  // in bytes
    std::wstring message;
};

// The library's words without its exception name, its own place (in bytes, where ours
// counts characters) and its echo of the text read.
std::wstring Reason(const Json::exception& fault) {
    std::string_view text = fault.what();
    if (const std::size_t named = text.find("] "); named != std::string_view::npos)
        text.remove_prefix(named + 2);
    if (const std::size_t placed = text.find(": ");
        text.starts_with("parse error") && placed != std::string_view::npos)
        text.remove_prefix(placed + 2);
    return Utf8ToWide(text.substr(0, text.find("; last read: ")));
}

}  // namespace

// Builds the document from the library's events, refusing what the library allows and a
// description does not.
class DocumentBuilder final : public nlohmann::json_sax<Json> {
  public:
    DocumentBuilder(const std::size_t& taken, std::size_t textSize) : taken_(taken) {
        // The text of the strings is never longer than the document.
        document_.text_.reserve(textSize);
    }

    bool null() override { return Put(Of(Kind::Null)); }
    bool boolean(bool value) override { return Put(With(Kind::Boolean, &Node::boolean, value)); }
    bool number_integer(number_integer_t value) override {
        return Put(With(Kind::Integer, &Node::integer, value));
    }
    bool number_unsigned(number_unsigned_t value) override {
        return Put(With(Kind::Unsigned, &Node::number, value));
    }
    bool number_float(number_float_t value, const string_t&) override {
        return Put(With(Kind::Float, &Node::real, value));
    }
    bool string(string_t& value) override { return Put(Text(value)); }
    // Only binary formats have binary values.
    bool binary(binary_t&) override { return false; }

    bool start_object(std::size_t) override { return Open(Kind::Object); }
    bool start_array(std::size_t) override { return Open(Kind::Array); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    // Where the library is after a name: its closing quote.
    bool key(string_t& name) override {
        if (Named(name)) {
            fault_ = JsonFault{LastTaken(), L"duplicate member name \"" + WideText(name) + L"\""};
            return false;
        }
        document_.nodes_.push_back(Text(name));
        return true;
    }

    // The library's position counts the bytes it has read, the one it refuses included.
    bool parse_error(std::size_t position, const std::string&,
                     const Json::exception& fault) override {
        fault_ = JsonFault{position > 0 ? position - 1 : 0, Reason(fault)};
        return false;
    }

    JsonDocument TakeDocument() { return std::move(document_); }
    JsonFault fault() const { return fault_.value_or(JsonFault{LastTaken(), L"not valid JSON"}); }

  private:
    using Kind = JsonValue::Kind;
    using Node = JsonDocument::Node;

    struct Level {
        std::size_t at;                         // of the container's node
        std::unordered_set<std::string> names;  // of a large object only
    };

    std::size_t LastTaken() const { return taken_ > 0 ? taken_ - 1 : 0; }

    static Node Of(Kind kind) {
        Node node;
        node.kind = kind;
        return node;
    }

    template <typename Field>
    static Node With(Kind kind, Field Node::*field, Field value) {
        Node node = Of(kind);
        node.*field = value;
        return node;
    }

    Node Text(const std::string& value) {
        Node node = With(Kind::String, &Node::offset, document_.text_.size());
        node.size = value.size();
        document_.text_ += value;
        return node;
    }

    // Adds the value at the end of the open container; nothing past the depth limit.
    bool Put(const Node& node) {
        if (open_.size() > kMaxDepth) {
            fault_ = JsonFault{LastTaken(), L"nesting deeper than 200 levels"};
            return false;
        }
        if (!open_.empty())
            ++document_.nodes_[open_.back().at].size;
        document_.nodes_.push_back(node);
        return true;
    }

    // Whether the open object already has a member of that name. A search through a few
    // names beats hashing them.
    bool Named(const std::string& name) {
        constexpr std::size_t kScanned = 16;
        Level& level = open_.back();
        // Its members so far, each complete.
        const JsonValue::Range<JsonMember> members{{&document_, level.at + 1},
                                                   {&document_, document_.nodes_.size()}};
        if (document_.nodes_[level.at].size < kScanned) {
            for (const auto& member : members)
                if (member.name == name)
                    return true;
            return false;
        }
        if (level.names.empty())
            for (const auto& member : members)
                level.names.emplace(member.name);
        return !level.names.insert(name).second;
    }

    bool Open(Kind kind) {
        if (!Put(Of(kind)))
            return false;
        open_.push_back(Level{document_.nodes_.size() - 1, {}});
        return true;
    }

    bool Close() {
        document_.nodes_[open_.back().at].end = document_.nodes_.size();
        open_.pop_back();
        return true;
    }

    const std::size_t& taken_;
    std::vector<Level> open_;
    JsonDocument document_;
    std::optional<JsonFault> fault_;
};

namespace {

std::size_t ByteOrderMark(std::string_view text) {
    return text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
}

// Line and column (in characters, from 1) of a byte offset.
void Locate(std::string_view text, std::size_t offset, JsonError& error) {
    error.line = 1;
    error.column = 1;
    const std::size_t bom = ByteOrderMark(text);
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++error.line;
            error.column = 1;
        } else if ((c & 0xC0) != 0x80 && i >= bom) {
            ++error.column;
        }
    }
}

}  // namespace

std::optional<JsonDocument> ParseJson(std::string_view utf8, JsonError& error) {
    std::size_t taken = 0;
    DocumentBuilder builder(taken, utf8.size());
    const CountingIterator first(utf8.data(), &taken);
    const CountingIterator last(utf8.data() + utf8.size(), &taken);
    // With a SAX handler the library reports through parse_error instead of throwing.
    std::optional<JsonFault> fault;
    if (!Json::sax_parse(first, last, &builder)) {
        fault = builder.fault();
    } else if (const std::size_t nul = utf8.find('\0'); nul != std::string_view::npos) {
        // The library ends a document at a NUL byte; one inside a string it refuses.
        fault = JsonFault{nul, L"unexpected text after the end of the document"};
    }
    if (fault) {
        Locate(utf8, fault->offset, error);
        error.message = std::move(fault->message);
        return std::nullopt;
    }
    return builder.TakeDocument();
}

std::wstring WideText(std::string_view utf8) {
    // Names and most values are ASCII, which widens byte by byte.
    if (std::all_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::wstring(utf8.begin(), utf8.end());
    std::wstring text;
    for (;;) {
        const std::size_t nul = utf8.find('\0');
        text += Utf8ToWide(utf8.substr(0, nul));
        if (nul == std::string_view::npos)
            return text;
        text += L'\0';
        utf8.remove_prefix(nul + 1);
    }
}

}  // namespace platform::described
