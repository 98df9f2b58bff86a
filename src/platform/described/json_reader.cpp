#include "platform/described/json_reader.h"

#include <cstddef>
#include <iterator>
#include <unordered_set>
#include <utility>
#include <vector>

#include "util/utf.h"

namespace platform::described {
namespace {

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

// Builds the document from the library's events, refusing what the library allows and a
// description does not. Members are kept in file order.
class DocumentBuilder final : public nlohmann::json_sax<Json> {
  public:
    explicit DocumentBuilder(const std::size_t& taken) : taken_(taken) {}

    bool null() override { return Place(nullptr); }
    bool boolean(bool value) override { return Place(value); }
    bool number_integer(number_integer_t value) override { return Place(value); }
    bool number_unsigned(number_unsigned_t value) override { return Place(value); }
    bool number_float(number_float_t value, const string_t&) override { return Place(value); }
    bool string(string_t& value) override { return Place(std::move(value)); }
    // Only binary formats have binary values.
    bool binary(binary_t&) override { return false; }

    bool start_object(std::size_t) override { return Open(true); }
    bool start_array(std::size_t) override { return Open(false); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    // Where the library is after a name: its closing quote.
    bool key(string_t& name) override {
        Level& level = open_[depth_ - 1];
        if (level.Has(name)) {
            fault_ = JsonFault{LastTaken(), L"duplicate member name \"" + WideText(name) + L"\""};
            return false;
        }
        level.members.emplace_back(std::move(name), nullptr);
        return true;
    }

    // The library's position counts the bytes it has read, the one it refuses included.
    bool parse_error(std::size_t position, const std::string&,
                     const Json::exception& fault) override {
        fault_ = JsonFault{position > 0 ? position - 1 : 0, Reason(fault)};
        return false;
    }

    Json TakeDocument() { return std::move(root_); }
    JsonFault fault() const { return fault_.value_or(JsonFault{LastTaken(), L"not valid JSON"}); }

  private:
    // A container being filled. Its values wait in vectors that move, and go into the
    // document's container at its end, at their final number: the document's objects hold
    // their names const, so growing one copies every member deeply. Levels are kept once
    // closed, so their vectors serve the next container at that depth.
    struct Level {
        bool object = false;
        std::vector<std::pair<std::string, Json>> members;
        std::vector<Json> elements;
        std::unordered_set<std::string> names;  // of large objects only

        bool Has(const std::string& name) {
            constexpr std::size_t kScanned = 16;  // a search through a few names beats hashing
            if (names.empty() && members.size() < kScanned) {
                for (const auto& member : members)
                    if (member.first == name)
                        return true;
                return false;
            }
            if (names.empty())
                for (const auto& member : members)
                    names.insert(member.first);
            return !names.insert(name).second;
        }

        Json Take() {
            if (!object) {
                Json array(Json::value_t::array);
                array.get_ref<Json::array_t&>() = std::move(elements);
                elements = {};
                return array;
            }
            Json value(Json::value_t::object);
            // Names are known to be new: straight to the end, past the map's search for them.
            auto& target =
                static_cast<Json::object_t::Container&>(value.get_ref<Json::object_t&>());
            target.reserve(members.size());
            for (auto& [name, member] : members)
                target.emplace_back(std::move(name), std::move(member));
            members.clear();
            names.clear();
            return value;
        }
    };

    std::size_t LastTaken() const { return taken_ > 0 ? taken_ - 1 : 0; }

    // Puts the value in the document, at the end of the open array or in the member just
    // named; nothing past the depth limit.
    bool Place(Json value) {
        if (depth_ > kMaxDepth) {
            fault_ = JsonFault{LastTaken(), L"nesting deeper than 200 levels"};
            return false;
        }
        if (depth_ == 0) {
            root_ = std::move(value);
            return true;
        }
        Level& level = open_[depth_ - 1];
        if (level.object)
            level.members.back().second = std::move(value);
        else
            level.elements.push_back(std::move(value));
        return true;
    }

    bool Open(bool object) {
        if (depth_ > kMaxDepth)
            return Place(nullptr);
        if (depth_ == open_.size())
            open_.emplace_back();
        open_[depth_++].object = object;
        return true;
    }

    bool Close() {
        Json value = open_[--depth_].Take();
        return Place(std::move(value));
    }

    const std::size_t& taken_;
    std::vector<Level> open_;
    std::size_t depth_ = 0;
    Json root_;
    std::optional<JsonFault> fault_;
};

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

std::optional<Json> ParseJson(std::string_view utf8, JsonError& error) {
    std::size_t taken = 0;
    DocumentBuilder builder(taken);
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
