#include "util/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_view_literals;

// Wide literals hold U+1F600 as a surrogate pair where wchar_t has 16 bits and as one unit
// where it has 32, so the same table serves both targets.
TEST(Utf, ConvertsValidTextAllWays) {
    struct Case {
        std::string utf8;
        std::wstring wide;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"", L"", u""},
        {"Gr\xC3\xBC\xC3\x9F"
         "e\x7F",
         L"Gr\u00FC\u00DFe\x7F", u"Gr\u00FC\u00DFe\x7F"},
        {"\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", L"\u0080\u07FF\u0800\uFFFF",
         u"\u0080\u07FF\u0800\uFFFF"},
        {"\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", L"\U00010000\U0001F600\U0010FFFF",
         u"\U00010000\U0001F600\U0010FFFF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.utf8), c.wide) << c.utf8;
        EXPECT_EQ(WideToUtf8(c.wide), c.utf8) << c.utf8;
        EXPECT_EQ(ToUtf16(c.wide), c.utf16) << c.utf8;
        EXPECT_EQ(FromUtf16(c.utf16), c.wide) << c.utf8;
    }
    // Every direction stops at the first NUL.
    EXPECT_EQ(Utf8ToWide("ab\0cd"sv), L"ab");
    EXPECT_EQ(WideToUtf8(L"ab\0cd"sv), "ab");
    EXPECT_EQ(ToUtf16(L"ab\0cd"sv), u"ab");
    EXPECT_EQ(FromUtf16(u"ab\0cd"sv), L"ab");
}

TEST(Utf8ToWide, ReplacesEachIllFormedSequenceAndKeepsTheRest) {
    const std::pair<std::string, std::wstring> cases[] = {
        {"ok\xFFok", L"ok\uFFFDok"},
        {"a\x80", L"a\uFFFD"},                              // stray continuation byte
        {"\xC3(", L"\uFFFD("},                              // missing continuation
        {"\xC0\xAF", L"\uFFFD\uFFFD"},                      // overlong "/"
        {"\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"},            // overlong, three bytes
        {"\xED\xA0\x80x", L"\uFFFD\uFFFD\uFFFDx"},          // encoded surrogate
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
        {"\xF0\x9F\x98\xE2\x82\xAC", L"\uFFFD\u20AC"},      // one replacement per cut sequence
        {"\xE2\x82", L"\uFFFD"},                            // cut at the end
    };
    for (const auto& [utf8, wide] : cases) {
        EXPECT_EQ(Utf8ToWide(utf8), wide) << ::testing::PrintToString(utf8);
    }
}

std::wstring Units(std::initializer_list<unsigned> units) {
    std::wstring text;
    for (unsigned u : units) {
        text.push_back(static_cast<wchar_t>(u));
    }
    return text;
}

TEST(Utf, ReplacesLoneSurrogates) {
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(WideToUtf8(Units({'a', 0xD800, 'b'})), "a" + r + "b");
    EXPECT_EQ(WideToUtf8(Units({0xDC00, 0xD800})), r + r);
    EXPECT_EQ(ToUtf16(Units({'a', 0xD800, 'b'})), u"a\uFFFDb");
    EXPECT_EQ(FromUtf16(std::u16string{u'a', 0xD800}), L"a\uFFFD");
    EXPECT_EQ(FromUtf16(std::u16string{0xDE00, 0xD83D, 0xDE00}), L"\uFFFD\U0001F600");
    if constexpr (sizeof(wchar_t) == 2) {
        EXPECT_EQ(WideToUtf8(Units({0xD83D, 0xDE00})), "\xF0\x9F\x98\x80");
    } else {
        // Code points: surrogate values are not characters, nor is anything past U+10FFFF.
        EXPECT_EQ(WideToUtf8(Units({0xD83D, 0xDE00})), r + r);
        EXPECT_EQ(ToUtf16(Units({0x110000, 'x'})), u"\uFFFDx");
    }
}

}  // namespace
