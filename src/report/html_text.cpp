#include "report/html_text.h"

namespace {

bool IsForbiddenControl(wchar_t c) {
    return (c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r') || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

std::wstring HtmlText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
            case L'&':
                out += L"&amp;";
                break;
            case L'<':
                out += L"&lt;";
                break;
            case L'>':
                out += L"&gt;";
                break;
            case L'"':
                out += L"&quot;";
                break;
            case L'\'':
                out += L"&#39;";
                break;
            case L'@':
                out += L"&#64;";
                break;
            case L'\r':
                out += L"&#13;";
                break;
            default:
                out += IsForbiddenControl(c) ? L'\uFFFD' : c;
        }
    }
    return out;
}
