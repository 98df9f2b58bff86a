// The licence agreement as a terminal shows it: the RTF's text, without its markup.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "ui/licence_text.h"
#include "util/utf.h"

namespace {

using Paragraphs = std::vector<std::wstring>;

TEST(LicenceTextTest, TextWithoutMarkup) {
    const struct {
        const wchar_t* rtf;
        Paragraphs text;
    } cases[] = {
        {LR"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;}\b Title\b0\par Body\par})",
         {L"Title", L"Body"}},
        {LR"({\rtf1 a\'e9\'80b\par})", {L"a\u00E9\u20ACb"}},
        {LR"({\rtf1\uc1 \u8364?x\u-3?y\par})", {L"\u20ACx\uFFFDy"}},
        {LR"({\rtf1 \{braces\} and \\backslash\tab tab\line next})",
         {L"{braces} and \\backslash\ttab", L"next"}},
        {LR"({\rtf1{\*\generator Some Writer;}kept})", {L"kept"}},
        {LR"({\rtf1 \lquote a\rquote\emdash\endash\ldblquote b\rdblquote\bullet})",
         {L"\u2018a\u2019\u2014\u2013\u201Cb\u201D\u2022"}},
        {LR"({\rtf1 spaces\~kept\par\par after})", {L"spaces\u00A0kept", L"", L"after"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, RtfParagraphs(c.rtf)) << c.rtf;
}

TEST(LicenceTextTest, MalformedInputGivesWhatItHolds) {
    EXPECT_EQ(Paragraphs{}, RtfParagraphs(L""));
    EXPECT_EQ(Paragraphs{L"open"}, RtfParagraphs(L"{\\rtf1 open"));
    EXPECT_EQ(Paragraphs{L"x"}, RtfParagraphs(L"}}}x\\"));
    EXPECT_EQ(Paragraphs{L"azzb"}, RtfParagraphs(L"{a\\'zzb}"));
    EXPECT_EQ(Paragraphs{L"a"}, RtfParagraphs(L"{a\\'"));
    // A huge number does not overflow.
    EXPECT_EQ(Paragraphs{L"z"}, RtfParagraphs(L"{\\fs99999999999999999999 z}"));
}

TEST(LicenceTextTest, WrapsWordsAndSeparatesParagraphs) {
    EXPECT_EQ(L"one two\nthree\n\nfour\n", WrapParagraphs({L"one two three", L"four"}, 9));
    EXPECT_EQ(L"unbreakableword\nx\n", WrapParagraphs({L"unbreakableword x"}, 5));
    EXPECT_EQ(L"\n", WrapParagraphs({L""}, 10));
}

TEST(LicenceTextTest, TheShippedLicenceReadsAsText) {
    std::ifstream file(FENNOCK_LICENCE_FILE, std::ios::binary);
    const std::string rtf{std::istreambuf_iterator<char>(file), {}};
    ASSERT_FALSE(rtf.empty());
    const Paragraphs paragraphs = RtfParagraphs(Utf8ToWide(rtf));
    ASSERT_GT(paragraphs.size(), 5u);
    EXPECT_EQ(L"Fennock Licence Agreement", paragraphs.front());
    EXPECT_EQ(L"Copyright \u00A9 ZEPH. All rights reserved.", paragraphs.back());
    for (const auto& paragraph : paragraphs) {
        EXPECT_EQ(std::wstring::npos, paragraph.find(L'\\')) << paragraph;
        EXPECT_EQ(std::wstring::npos, paragraph.find(L'{')) << paragraph;
    }
}

}  // namespace
