#pragma once
// Machine descriptions read with the nlohmann JSON library, held to this program's rules:
// members stay in file order, duplicate names are refused, nesting stops at 200 levels, and
// an error says where (line and column, counted in characters from 1) and why.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::described {

class JsonDocument;
struct JsonMember;

// One value of a document, valid while the document lives. Numbers keep the library's
// three kinds: integers of 64 bits exactly (negative ones signed, the others unsigned), and
// floating-point numbers for the rest.
class JsonValue {
  public:
    enum class Kind : std::uint8_t {
        Null,
        Boolean,
        Integer,
        Unsigned,
        Float,
        String,
        Array,
        Object
    };

    Kind kind() const;
    bool IsNull() const { return kind() == Kind::Null; }
    bool IsBoolean() const { return kind() == Kind::Boolean; }
    bool IsString() const { return kind() == Kind::String; }
    bool IsArray() const { return kind() == Kind::Array; }
    bool IsObject() const { return kind() == Kind::Object; }
    bool IsNumber() const;

    bool Boolean() const;
    std::int64_t Integer() const;    // of an Integer
    std::uint64_t Unsigned() const;  // of an Unsigned
    std::string_view Text() const;   // of a String, in UTF-8

    // Elements of an array, members of an object.
    std::size_t Size() const;

    // Walks the elements of an array (JsonValue) or the members of an object (JsonMember).
    template <typename Item>
    class Iterator {
      public:
        Iterator(const JsonDocument* document, std::size_t at) : document_(document), at_(at) {}
        Item operator*() const;
        Iterator& operator++();
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

      private:
        const JsonDocument* document_;
        std::size_t at_;
    };

    template <typename Item>
    struct Range {
        Iterator<Item> first, last;
        Iterator<Item> begin() const { return first; }
        Iterator<Item> end() const { return last; }
    };

    Range<JsonValue> Elements() const { return Items<JsonValue>(); }
    Range<JsonMember> Members() const;

  private:
    friend class JsonDocument;
    JsonValue(const JsonDocument* document, std::size_t at) : document_(document), at_(at) {}

    template <typename Item>
    Range<Item> Items() const;

    const JsonDocument* document_;
    std::size_t at_;
};

struct JsonMember {
    std::string_view name;  // in UTF-8
    JsonValue value;
};

inline JsonValue::Range<JsonMember> JsonValue::Members() const {
    return Items<JsonMember>();
}

// A whole document in two allocations: its values in file order, each container followed by
// what it holds (a member by its name, then its value), and its text, one string after
// another. Reading and freeing a large description costs no allocation per value.
class JsonDocument {
  public:
    JsonValue Root() const { return JsonValue(this, 0); }

  private:
    friend class JsonValue;
    friend class DocumentBuilder;

    struct Node {
        JsonValue::Kind kind = JsonValue::Kind::Null;
        std::size_t size = 0;  // of a container: its elements or members; of a string: its bytes
        union {
            bool boolean;
            std::int64_t integer;
            std::uint64_t number = 0;  // unsigned
            double real;
            std::size_t end;     // of a container: the node after its last one
            std::size_t offset;  // of a string, in the text
        };
    };

    // The node after the value at `at` and all it holds.
    std::size_t Next(std::size_t at) const {
        const Node& node = nodes_[at];
        return node.kind == JsonValue::Kind::Array || node.kind == JsonValue::Kind::Object
                   ? node.end
                   : at + 1;
    }
    JsonValue At(std::size_t at) const { return JsonValue(this, at); }
    std::string_view TextOf(std::size_t at) const {
        return std::string_view(text_).substr(nodes_[at].offset, nodes_[at].size);
    }

    std::vector<Node> nodes_;
    std::string text_;
};

inline JsonValue::Kind JsonValue::kind() const {
    return document_->nodes_[at_].kind;
}
inline bool JsonValue::IsNumber() const {
    const Kind k = kind();
    return k == Kind::Integer || k == Kind::Unsigned || k == Kind::Float;
}
inline bool JsonValue::Boolean() const {
    return document_->nodes_[at_].boolean;
}
inline std::int64_t JsonValue::Integer() const {
    return document_->nodes_[at_].integer;
}
inline std::uint64_t JsonValue::Unsigned() const {
    return document_->nodes_[at_].number;
}
inline std::string_view JsonValue::Text() const {
    return document_->TextOf(at_);
}
inline std::size_t JsonValue::Size() const {
    return document_->nodes_[at_].size;
}

template <>
inline JsonValue JsonValue::Iterator<JsonValue>::operator*() const {
    return document_->At(at_);
}
template <>
inline JsonMember JsonValue::Iterator<JsonMember>::operator*() const {
    return JsonMember{document_->TextOf(at_), document_->At(at_ + 1)};
}
template <>
inline JsonValue::Iterator<JsonValue>& JsonValue::Iterator<JsonValue>::operator++() {
    at_ = document_->Next(at_);
    return *this;
}
template <>
inline JsonValue::Iterator<JsonMember>& JsonValue::Iterator<JsonMember>::operator++() {
    at_ = document_->Next(at_ + 1);
    return *this;
}
template <typename Item>
JsonValue::Range<Item> JsonValue::Items() const {
    return {{document_, at_ + 1}, {document_, document_->nodes_[at_].end}};
}

struct JsonError {
    int line = 0;
    int column = 0;
    std::wstring message;
};

// Nothing, with the error filled, when the text is not one well-formed JSON value.
std::optional<JsonDocument> ParseJson(std::string_view utf8, JsonError& error);

// A string value or member name as wide text, keeping the NULs of \u0000 escapes (which
// Utf8ToWide would stop at).
std::wstring WideText(std::string_view utf8);

}  // namespace platform::described
