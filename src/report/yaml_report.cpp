#include "report/yaml_report.h"

#include "platform/files.h"
#include "util/text.h"
#include "util/utf.h"

namespace {

// YAML 1.1 readers take a longer implicit key for an error; such a key is written explicit.
constexpr std::size_t kImplicitKeyLimit = 1000;

std::wstring Header(const std::wstring& productName) {
    return L"---\n# " + productName + L"\n";
}

const wchar_t* KindTag(int kind) {
    switch (kind) {
        case kChangeNewItem:
            return L"add";
        case kChangeRemovedItem:
            return L"del";
        case kChangeValue:
            return L"mod";
        default:
            return L"unk";
    }
}

// "KEY:" at the given indentation, for a value to follow on the same line or below.
std::wstring KeyStart(const wchar_t* indent, const std::wstring& name) {
    const std::wstring key = YamlKey(name);
    if (key.size() > kImplicitKeyLimit) {
        return indent + (L"? " + key) + L"\n" + indent + L":";
    }
    return indent + key + L":";
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// YAML's printable characters, less the line breaks NEL, LS and PS and the byte-order mark,
// which a reader would not give back as they are.
bool PrintedAsItIs(char32_t c) {
    return (c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xD7FF && c != 0x2028 && c != 0x2029) ||
           (c >= 0xE000 && c <= 0xFFFD && c != 0xFEFF) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendHex(std::wstring& out, char32_t c, int digits) {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out += kHex[(c >> shift) & 0xF];
    }
}

constexpr CharEscape kEscapes[] = {
    {U'"', L"\\\""}, {U'\\', L"\\\\"}, {U'\n', L"\\n"},  {U'\r', L"\\r"},
    {U'\t', L"\\t"}, {0x85, L"\\N"},   {0x2028, L"\\L"}, {0x2029, L"\\P"},
};

// A document with a key for each query over the list of its items, each written by `writeItem`.
template <typename Queries, typename WriteItem>
std::wstring Document(const std::wstring& productName, const Queries& queries,
                      WriteItem writeItem) {
    std::wstring document = Header(productName);
    for (const auto& [query, items] : queries) {
        document += KeyStart(L"", query) + L"\n";
        for (const auto& item : items) {
            document += L"  -\n";
            writeItem(document, item);
        }
    }
    return document;
}

}  // namespace

std::wstring YamlQuoted(const std::wstring& text) {
    std::wstring out = L"\"";
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextCodePoint(text, i);
        if (const wchar_t* escape = FindEscape(kEscapes, c)) {
            out += escape;
        } else if (PrintedAsItIs(c)) {
            AppendCodePoint(out, c);
        } else if (c <= 0xFF) {
            out += L"\\x";
            AppendHex(out, c, 2);
        } else {
            out += L"\\u";  // only BMP characters are left here
            AppendHex(out, c, 4);
        }
    }
    return out + L"\"";
}

std::wstring YamlKey(const std::wstring& name) {
    static const wchar_t* const kReadAsOther[] = {L"y",     L"n",  L"yes", L"no",  L"true",
                                                  L"false", L"on", L"off", L"null"};
    bool plain = !name.empty() && IsAsciiLetter(name.front());
    for (wchar_t c : name) {
        plain = plain && (IsAsciiLetter(c) || (c >= L'0' && c <= L'9') || c == L'_');
    }
    const std::wstring lower = ToLower(name);
    for (const wchar_t* word : kReadAsOther) {
        plain = plain && lower != word;
    }
    return plain ? name : YamlQuoted(name);
}

void CYamlReport::Open(const std::wstring&, const std::wstring& outputPath, bool) {
    m_outputPath = outputPath;
    m_productName = L"Fennock";
    m_bytes.clear();
    m_open = true;
}

// CR LF line ends on every system.
void CYamlReport::Write(const std::wstring& document) {
    for (char c : WideToUtf8(document)) {
        if (c == '\n')
            m_bytes += '\r';
        m_bytes += c;
    }
}

void CYamlReport::RenderFull(const SessionData& session) {
    Write(Document(m_productName, session, [](std::wstring& document, const SessionItem& item) {
        for (const auto& [name, text] : item)
            document += KeyStart(L"    ", name) + L" " + YamlQuoted(text) + L"\n";
    }));
}

// Each record names the changed field (empty for a new or removed item) with the kind as the
// tag of the new value, then the item's key and, for a changed value, the previous value.
void CYamlReport::RenderChanges(const ChangeData& changes) {
    Write(Document(m_productName, changes, [](std::wstring& document, const ChangeRecord& record) {
        document += KeyStart(L"    ", record.exportName) + L" !" + KindTag(record.kind) + L" " +
                    YamlQuoted(record.newValue) + L"\n";
        document += L"    key: " + YamlQuoted(record.keyValue) + L"\n";
        if (record.kind == kChangeValue)
            document += L"    old: " + YamlQuoted(record.oldValue) + L"\n";
    }));
}

bool CYamlReport::Close() {
    if (!m_open)
        return false;
    m_open = false;
    const bool written = platform::WriteFileReplacing(m_outputPath, m_bytes);
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    return written;
}
