#include "platform/linux/live/system/shell_assignments.h"

namespace platform::live {
namespace {

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::map<std::string, std::string> All() {
        std::map<std::string, std::string> values;
        while (at_ < text_.size()) {
            SkipBlanks();
            std::string name = Name();
            if (!name.empty() && Take('=')) {
                values[std::move(name)] = Value();
            }
            SkipLine();
        }
        return values;
    }

  private:
    bool Take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    void SkipBlanks() {
        while (at_ < text_.size() && IsBlank(text_[at_]))
            ++at_;
    }

    void SkipLine() {
        while (at_ < text_.size() && text_[at_++] != '\n') {
        }
    }

    std::string Name() {
        if (at_ >= text_.size() || !IsNameStart(text_[at_]))
            return {};
        const std::size_t start = at_;
        while (at_ < text_.size() && IsNameChar(text_[at_]))
            ++at_;
        return std::string(text_.substr(start, at_ - start));
    }

    // Stops before the line end that closes the value. Blanks outside quotes are kept inside
    // the value but not at its end, as readers of these files commonly do.
    std::string Value() {
        std::string value;
        std::size_t kept = 0;  // length without unquoted trailing blanks
        SkipBlanks();
        while (at_ < text_.size() && text_[at_] != '\n') {
            const char c = text_[at_++];
            if (c == '\'') {
                while (at_ < text_.size() && text_[at_] != '\'')
                    value += text_[at_++];
                Take('\'');
                kept = value.size();
            } else if (c == '"') {
                DoubleQuoted(value);
                kept = value.size();
            } else if (c == '\\') {
                if (at_ < text_.size() && text_[at_] != '\n')
                    value += text_[at_];
                if (at_ < text_.size())
                    ++at_;
                kept = value.size();
            } else {
                value += c;
                if (!IsBlank(c))
                    kept = value.size();
            }
        }
        value.resize(kept);
        return value;
    }

    // Inside double quotes a backslash escapes only $ ` " \ and the line end.
    void DoubleQuoted(std::string& value) {
        while (at_ < text_.size() && text_[at_] != '"') {
            const char c = text_[at_++];
            if (c == '\\' && at_ < text_.size()) {
                const char next = text_[at_];
                if (next == '\n') {
                    ++at_;
                    continue;
                }
                if (next == '$' || next == '`' || next == '"' || next == '\\') {
                    value += next;
                    ++at_;
                    continue;
                }
            }
            value += c;
        }
        Take('"');
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::map<std::string, std::string> ParseShellAssignments(std::string_view text) {
    return Reader(text).All();
}

}  // namespace platform::live
