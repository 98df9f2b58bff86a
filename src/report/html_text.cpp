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

// What the page takes as it is: neither in the table of references nor a forbidden control.
bool IsPlain(wchar_t c) {
    return (c >= 0x20 && c < 0x7F && c != L'&' && c != L'<' && c != L'>' && c != L'"' &&
            c != L'\'' && c != L'@') ||
           c == L'\t' || c == L'\n' || c > 0x9F;
}

}  // namespace

std::wstring HtmlText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    AppendHtmlText(out, text);
    return out;
}

// Plain characters, nearly all of a report, go over in runs rather than one at a time.
void AppendHtmlText(std::wstring& out, const std::wstring& text) {
    std::size_t run = 0;  // the first character not yet appended
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (IsPlain(c))
            continue;
        out.append(text, run, i - run);
        run = i + 1;
        if (const wchar_t* reference = FindEscape(kReferences, static_cast<char32_t>(c)))
            out += reference;
        else
            out += IsForbiddenControl(c) ? L'\uFFFD' : c;
    }
    out.append(text, run);
}
