#include "ui/licence_text.h"

#include <vector>

#include "util/text.h"

namespace {

// Windows-1252 where it differs from Latin-1; 0 marks the five unassigned bytes.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

wchar_t FromCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        const char16_t mapped = kCp1252High[byte - 0x80];
        return mapped ? static_cast<wchar_t>(mapped) : L'\uFFFD';
    }
    return static_cast<wchar_t>(byte);
}

bool IsLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// The character a symbol control word stands for; 0 for any other word.
wchar_t SymbolOf(const std::string& word) {
    static const std::pair<const char*, wchar_t> kSymbols[] = {
        {"tab", L'\t'},           {"emdash", L'\u2014'}, {"endash", L'\u2013'},
        {"lquote", L'\u2018'},    {"rquote", L'\u2019'}, {"ldblquote", L'\u201C'},
        {"rdblquote", L'\u201D'}, {"bullet", L'\u2022'},
    };
    for (const auto& [name, symbol] : kSymbols) {
        if (word == name)
            return symbol;
    }
    return 0;
}

// Destinations whose contents are not part of the text.
bool IsSkippedDestination(const std::string& word) {
    static const char* const kSkipped[] = {
        "fonttbl",   "colortbl",          "stylesheet", "info",    "pict",    "header",
        "footer",    "headerl",           "headerr",    "footerl", "footerr", "object",
        "listtable", "listoverridetable", "generator"};
    for (const char* skipped : kSkipped)
        if (word == skipped)
            return true;
    return false;
}

class RtfReader {
  public:
    explicit RtfReader(std::wstring_view rtf) : rtf_(rtf) {}

    std::vector<std::wstring> Read() {
        groups_.push_back(Group{});
        while (pos_ < rtf_.size()) {
            const wchar_t c = rtf_[pos_++];
            if (c == L'{') {
                groups_.push_back(groups_.back());
                groups_.back().destinationStart = true;
            } else if (c == L'}') {
                if (groups_.size() > 1)
                    groups_.pop_back();
            } else if (c == L'\\') {
                ControlSymbolOrWord();
            } else if (c != L'\r' && c != L'\n') {
                // Line ends in RTF source are not text.
                Emit(c);
            }
        }
        EndParagraph();
        while (!paragraphs_.empty() && paragraphs_.back().empty())
            paragraphs_.pop_back();
        return paragraphs_;
    }

  private:
    struct Group {
        bool skip = false;
        bool destinationStart = false;  // nothing has been read in this group yet
        int unicodeSkip = 1;            // \ucN: fallback characters after each \uN
    };

    void Emit(wchar_t c) {
        Group& group = groups_.back();
        group.destinationStart = false;
        if (group.skip)
            return;
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        current_ += c;
    }

    void EndParagraph() {
        if (!groups_.back().skip) {
            paragraphs_.push_back(current_);
            current_.clear();
        }
    }

    void ControlSymbolOrWord() {
        if (pos_ >= rtf_.size())
            return;
        const wchar_t c = rtf_[pos_];
        if (!IsLetter(c)) {
            ++pos_;
            ControlSymbol(c);
            return;
        }
        std::string word;
        while (pos_ < rtf_.size() && IsLetter(rtf_[pos_]))
            word += static_cast<char>(rtf_[pos_++]);
        bool hasNumber = false;
        long number = 0;
        bool negative = false;
        if (pos_ < rtf_.size() && rtf_[pos_] == L'-') {
            negative = true;
            ++pos_;
        }
        while (pos_ < rtf_.size() && IsDigit(rtf_[pos_])) {
            hasNumber = true;
            if (number < 1000000)
                number = number * 10 + (rtf_[pos_] - L'0');
            ++pos_;
        }
        if (negative)
            number = -number;
        if (pos_ < rtf_.size() && rtf_[pos_] == L' ')
            ++pos_;  // the delimiter belongs to the control word
        ControlWord(word, hasNumber, number);
    }

    void ControlSymbol(wchar_t c) {
        Group& group = groups_.back();
        switch (c) {
            case L'\\':
            case L'{':
            case L'}':
                Emit(c);
                break;
            case L'~':
                Emit(L'\u00A0');
                break;
            case L'_':
                Emit(L'\u2011');
                break;
            case L'*':
                if (group.destinationStart)
                    group.skip = true;
                break;
            case L'\'': {
                const int high = pos_ < rtf_.size() ? HexDigitValue(rtf_[pos_]) : -1;
                const int low = pos_ + 1 < rtf_.size() ? HexDigitValue(rtf_[pos_ + 1]) : -1;
                if (high < 0 || low < 0)
                    break;
                pos_ += 2;
                Emit(FromCp1252(static_cast<unsigned char>(high * 16 + low)));
                break;
            }
            case L'\r':
            case L'\n':
                EndParagraph();
                break;
            default:
                break;  // optional hyphen, formula character, and the unknown
        }
    }

    void ControlWord(const std::string& word, bool hasNumber, long number) {
        Group& group = groups_.back();
        if (group.destinationStart && IsSkippedDestination(word))
            group.skip = true;
        group.destinationStart = false;
        if (word == "par" || word == "line" || word == "sect" || word == "page") {
            EndParagraph();
        } else if (const wchar_t symbol = SymbolOf(word)) {
            Emit(symbol);
        } else if (word == "uc" && hasNumber) {
            group.unicodeSkip = number < 0 ? 0 : static_cast<int>(number);
        } else if (word == "u" && hasNumber) {
            // Negative values stand for code units above 32767.
            const long unit = number < 0 ? number + 65536 : number;
            Emit(static_cast<wchar_t>(unit));
            pendingSkip_ = group.unicodeSkip;
        }
    }

    std::wstring_view rtf_;
    std::size_t pos_ = 0;
    std::vector<Group> groups_;
    std::vector<std::wstring> paragraphs_;
    std::wstring current_;
    int pendingSkip_ = 0;
};

}  // namespace

std::vector<std::wstring> RtfParagraphs(std::wstring_view rtf) {
    return RtfReader(rtf).Read();
}

std::wstring WrapParagraphs(const std::vector<std::wstring>& paragraphs, std::size_t width) {
    std::wstring out;
    for (std::size_t p = 0; p < paragraphs.size(); ++p) {
        if (p > 0)
            out += L'\n';
        std::wstring line;
        std::size_t start = 0;
        const std::wstring& text = paragraphs[p];
        while (start <= text.size()) {
            std::size_t end = text.find(L' ', start);
            if (end == std::wstring::npos)
                end = text.size();
            const std::wstring word = text.substr(start, end - start);
            if (!word.empty()) {
                if (!line.empty() && line.size() + 1 + word.size() > width) {
                    out += line + L'\n';
                    line.clear();
                }
                line += (line.empty() ? L"" : L" ") + word;
            }
            start = end + 1;
        }
        out += line + L'\n';
    }
    return out;
}
