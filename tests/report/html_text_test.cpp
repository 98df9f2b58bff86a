// Inventory text as HTML: markup characters as references, and nothing HTML forbids or
// would alter on the way into the page.
#include "report/html_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(HtmlTextTest, EscapesMarkupAndKeepsWhatHtmlWouldChange) {
    struct Case {
        std::wstring in;
        std::wstring out;
    };
    const Case cases[] = {
        {L"<b>&\"'@@user@@", L"&lt;b&gt;&amp;&quot;&#39;&#64;&#64;user&#64;&#64;"},
        // Tab and line feed are text; a raw CR would reach the page as a line feed.
        {L"a\tb\nc", L"a\tb\nc"},
        {L"one\r\ntwo\rthree", L"one&#13;\ntwo&#13;three"},
        // C0 controls, DEL and the C1 range (whose references stand for other characters).
        {std::wstring(L"x\0y", 3), L"x\uFFFDy"},
        {L"\x01\x08\x0B\x0C\x1B\x1F", L"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {L"\x7F\x80\x85\x9F", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {L"\u00A0caf\u00e9 \u4e2d\uFFFD", L"\u00A0caf\u00e9 \u4e2d\uFFFD"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.out, HtmlText(c.in)) << testing::PrintToString(c.in);
}

}  // namespace
