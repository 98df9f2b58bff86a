#include "report/yaml_report.h"

#include "platform/files.h"
#include "util/utf.h"

namespace {

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

}  // namespace

std::wstring YamlQuoted(const std::wstring& text) {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        switch (c) {
            case L'"':
                out += L"\\\"";
                break;
            case L'\\':
                out += L"\\\\";
                break;
            case L'\n':
                out += L"\\n";
                break;
            case L'\r':
                out += L"\\r";
                break;
            case L'\t':
                out += L"\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    out += L"\\x";
                    out += kHex[(c >> 4) & 0xF];
                    out += kHex[c & 0xF];
                } else {
                    out += c;
                }
        }
    }
    return out + L"\"";
}

void CYamlReport::Open(const std::wstring& templatePath, const std::wstring& outputPath, bool) {
    m_templatePath = templatePath;
    m_outputPath = outputPath;
    m_productName = L"Fennock";
    if (m_output.is_open())
        m_output.close();
    m_output.open(platform::FileSystemPath(outputPath), std::ios::binary | std::ios::trunc);
}

// One write of the whole document, with CR LF line ends on every system.
void CYamlReport::Write(const std::wstring& document) {
    std::string bytes;
    for (char c : WideToUtf8(document)) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    m_output.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void CYamlReport::RenderFull(const SessionData& session) {
    std::wstring document = Header(m_productName);
    for (const auto& [query, items] : session) {
        document += query + L":\n";
        for (const auto& item : items) {
            document += L"  -\n";
            for (const auto& [name, text] : item)
                document += L"    " + name + L": " + YamlQuoted(text) + L"\n";
        }
    }
    Write(document);
}

void CYamlReport::RenderChanges(const ChangeData& changes) {
    std::wstring document = Header(m_productName);
    for (const auto& [query, records] : changes) {
        document += query + L":\n";
        for (const auto& record : records) {
            document += L"  -\n";
            document += L"    " + record.exportName + L": !" + KindTag(record.kind) + L" " +
                        YamlQuoted(record.newValue) + L"\n";
        }
    }
    Write(document);
}

void CYamlReport::Close() {
    if (m_output.is_open())
        m_output.close();
}
