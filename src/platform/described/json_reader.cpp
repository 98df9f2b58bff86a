#include "platform/described/json_reader.h"

#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/described/json_mend.h"
#include "platform/described/json_syntax.h"
#include "util/utf.h"

namespace platform::described {
namespace {

// When the library refuses what none of this program's rules does.
const wchar_t kNotJson[] = L"not valid JSON";

// Builds the document from the library's events and follows them in the text, since the
// library tells neither where a token is nor why it refuses one.
class DocumentBuilder final : public nlohmann::json_sax<Json> {
  public:
    explicit DocumentBuilder(std::string_view text) : text_(text), end_(JsonStart(text)) {}

    bool null() override { return Scalar(nullptr); }
    bool boolean(bool value) override { return Scalar(value); }
    bool number_integer(number_integer_t value) override { return Number(value); }
    bool number_unsigned(number_unsigned_t value) override { return Number(value); }
    bool number_float(number_float_t value, const string_t&) override { return Number(value); }
    bool string(string_t& value) override { return Scalar(std::move(value)); }
    bool binary(binary_t&) override { return Refuse(); }

    bool start_object(std::size_t) override { return Open(Json::object()); }
    bool start_array(std::size_t) override { return Open(Json::array()); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool key(string_t& name) override {
        const std::size_t start = NextToken(text_, end_, Expecting());
        Frame& frame = frames_.back();
        if (!frame.names.insert(name).second) {
            fault_ = JsonFault{start, L"duplicate member name \"" + WideText(name) + L"\""};
            return false;
        }
        // Known to be new: straight to the end, past the map's linear search for the name.
        auto& members = frame.value->get_ref<Json::object_t&>();
        static_cast<Json::object_t::Container&>(members).emplace_back(std::move(name), nullptr);
        frame.awaitingValue = true;
        end_ = TokenEnd(text_, start);
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const Json::exception&) override {
        return Refuse();
    }

    // Once the library has accepted the text. It ends a document at a NUL byte as well.
    std::optional<Json> Finish() {
        if (NextToken(text_, end_, Expect::Nothing) < text_.size()) {
            Refuse();
            return std::nullopt;
        }
        return std::move(root_);
    }

    JsonFault fault() const { return fault_.value_or(JsonFault{end_, kNotJson}); }

  private:
    struct Frame {
        Json* value;
        std::unordered_set<std::string> names;
        bool awaitingValue = false;
    };

    Expect Expecting() const {
        if (frames_.empty())
            return complete_ ? Expect::Nothing : Expect::Document;
        const Frame& frame = frames_.back();
        if (frame.value->is_array())
            return frame.value->empty() ? Expect::FirstElement : Expect::ElementEnd;
        if (frame.awaitingValue)
            return Expect::Colon;
        return frame.value->empty() ? Expect::FirstMember : Expect::MemberEnd;
    }

    // The start of the value now reported; nothing past the depth limit.
    std::optional<std::size_t> Begin() {
        const std::size_t start = NextToken(text_, end_, Expecting());
        if (frames_.size() > kMaxJsonDepth) {
            fault_ = TooDeep(start);
            return std::nullopt;
        }
        return start;
    }

    // Where the value goes: the document, the end of an array or the member just named.
    // Containers being filled are last in theirs, so the place stays valid while they are.
    Json& Place(Json value) {
        if (frames_.empty()) {
            root_ = std::move(value);
            complete_ = true;
            return root_;
        }
        Frame& frame = frames_.back();
        if (frame.value->is_array()) {
            auto& elements = frame.value->get_ref<Json::array_t&>();
            elements.push_back(std::move(value));
            return elements.back();
        }
        frame.awaitingValue = false;
        Json& member = frame.value->get_ref<Json::object_t&>().back().second;
        member = std::move(value);
        return member;
    }

    bool Scalar(Json value) {
        const auto start = Begin();
        if (!start)
            return false;
        end_ = TokenEnd(text_, *start);
        Place(std::move(value));
        return true;
    }

    template <typename N>
    bool Number(N value) {
        const auto start = Begin();
        if (!start)
            return false;
        if (auto fault = NumberFault(text_, *start)) {
            fault_ = std::move(fault);
            return false;
        }
        end_ = TokenEnd(text_, *start);
        Place(value);
        return true;
    }

    bool Open(Json empty) {
        const auto start = Begin();
        if (!start)
            return false;
        end_ = *start + 1;
        frames_.push_back(Frame{&Place(std::move(empty)), {}, false});
        return true;
    }

    bool Close() {
        end_ = NextToken(text_, end_, Expecting()) + 1;
        frames_.pop_back();
        return true;
    }

    bool Refuse() {
        fault_ = ExplainFault(text_, end_, Expecting(), frames_.size(), kNotJson);
        return false;
    }

    std::string_view text_;
    std::size_t end_;  // where the last token reported ended
    std::vector<Frame> frames_;
    Json root_;
    bool complete_ = false;
    std::optional<JsonFault> fault_;
};

// Line and column (in characters, from 1) of a byte offset.
void Locate(std::string_view text, std::size_t offset, JsonError& error) {
    error.line = 1;
    error.column = 1;
    const std::size_t bom = JsonStart(text);
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
    const std::optional<std::string> mended = MendForLibrary(utf8);
    const std::string_view readable = mended ? std::string_view(*mended) : utf8;
    // Places are told on the original text: mending changes nothing between the tokens.
    DocumentBuilder builder(utf8);
    std::optional<Json> document;
    if (Json::sax_parse(readable.data(), readable.data() + readable.size(), &builder))
        document = builder.Finish();
    if (!document) {
        const JsonFault fault = builder.fault();
        Locate(utf8, fault.offset, error);
        error.message = fault.message;
    }
    return document;
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
