#include "report/html_text.h"

#include "util/text.h"

namespace {

constexpr CharEscape kReferences[] = {
    {U'&', L"&amp;"},  {U'<', L"&lt;"},  {U'>', L"&gt;"},   {U'"', L"&quot;"},
    {U'\'', L"&#39;"}, {U'@', L"&#64;"}, {U'\r', L"&#13;"},
};

bool IsForbiddenControl(wchar_t c) {
    return (c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r') || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

std::wstring HtmlText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    AppendHtmlText(out, text);
    return out;
}

void AppendHtmlText(std::wstring& out, const std::wstring& text) {
    for (wchar_t c : text) {
        if (const wchar_t* reference = FindEscape(kReferences, static_cast<char32_t>(c))) {
            out += reference;
        } else {
            out += IsForbiddenControl(c) ? L'\uFFFD' : c;
        }
    }
}
