#include "util/text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ReplaceAll, NeverRescansAReplacement) {
    struct Case {
        std::wstring text, find, replacement, expected;
    };
    const Case cases[] = {
        {L"aaa", L"a", L"aa", L"aaaaaa"}, {L"a.b.c.", L".", L"", L"abc"},
        {L"abab", L"ab", L"b", L"bb"},    {L"no match", L"xyz", L"!", L"no match"},
        {L"abc", L"", L"x", L"abc"},  // an empty find must not loop forever
    };
    for (const auto& c : cases) {
        std::wstring text = c.text;
        ReplaceAll(text, c.find, c.replacement);
        EXPECT_EQ(text, c.expected) << "in [" << c.text << "]";
    }
    EXPECT_EQ(EscapeSql(L"O'Brien's ''"), L"O''Brien''s ''''");
}

TEST(Split, KeepsInnerEmptyPiecesButNoTrailingOne) {
    EXPECT_THAT(Split(L"Name, CommandLine", L','), ElementsAre(L"Name", L" CommandLine"));
    EXPECT_THAT(Split(L"a,,b", L','), ElementsAre(L"a", L"", L"b"));
    EXPECT_THAT(Split(L"a,", L','), ElementsAre(L"a"));
    EXPECT_THAT(Split(L",", L','), ElementsAre(L""));
    EXPECT_THAT(Split(L"", L','), IsEmpty());
}

TEST(Trim, StripsSetCharactersFromBothEndsOnly) {
    EXPECT_EQ(Trim(L" \t value  with blanks\r\n", kBlankChars), L"value  with blanks");
    EXPECT_EQ(Trim(L" \r\n\t ", kBlankChars), L"");
    EXPECT_EQ(Trim(L"\u00A0x\u00A0", kBlankChars), L"\u00A0x\u00A0");
}

TEST(CaseFolding, ChangesAsciiLettersOnly) {
    // Neighbours of the letter ranges and non-ASCII letters pass unchanged.
    EXPECT_EQ(ToLower(L"@AZ[`az{ \u00C4\u0130\u212A"), L"@az[`az{ \u00C4\u0130\u212A");
    EXPECT_EQ(ToUpper(L"@AZ[`az{ \u00E4\u0131\u00FF"), L"@AZ[`AZ{ \u00E4\u0131\u00FF");
}

}  // namespace
