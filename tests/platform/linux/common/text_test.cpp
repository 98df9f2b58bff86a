// The text toolkit at the edges where hand-written copies used to differ: line ends, empty
// fields, signs, blanks and numbers that do not fit.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/text_views.h"

using namespace platform::live;

namespace {

std::vector<std::string> Collect(std::string_view text, Lines::Ends ends) {
    std::vector<std::string> lines;
    for (const std::string_view line : Lines(text, ends))
        lines.emplace_back(line);
    return lines;
}

TEST(CommonTextTest, LinesEndAtNewlinesAndOptionallyDropCarriageReturns) {
    using V = std::vector<std::string>;
    struct Case {
        std::string_view text;
        V plain, crlf;
    };
    const Case cases[] = {
        {"", V{}, V{}},
        {"\n", V{""}, V{""}},
        {"a", V{"a"}, V{"a"}},
        {"a\n", V{"a"}, V{"a"}},
        {"a\n\nb", V{"a", "", "b"}, V{"a", "", "b"}},
        {"a\r\nb\r", V{"a\r", "b\r"}, V{"a", "b"}},
        {"a\r\r\n", V{"a\r\r"}, V{"a\r"}},  // one carriage return only
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Collect(c.text, Lines::Ends::kNewline), c.plain) << c.text;
        EXPECT_EQ(Collect(c.text, Lines::Ends::kNewlineOrCrLf), c.crlf) << c.text;
    }
}

TEST(CommonTextTest, WordsSkipRunsWhileFieldsKeepEmptyOnes) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(SplitWords(""), V{});
    EXPECT_EQ(SplitWords(" \t a  b\t"), (V{"a", "b"}));
    EXPECT_EQ(SplitWords("a\rb", " \t\r"), (V{"a", "b"}));
    EXPECT_EQ(SplitFields("", ':'), V{""});
    EXPECT_EQ(SplitFields("a::b:", ':'), (V{"a", "", "b", ""}));
}

TEST(CommonTextTest, TrimsTakeOnlyTheirBlanks) {
    EXPECT_EQ(TrimBlanks(" \t\r\n"), "");
    EXPECT_EQ(TrimBlanks("\r\n a b \n"), "a b");
    EXPECT_EQ(TrimStart("\t a \t"), "a \t");
    EXPECT_EQ(TrimEnd("\t a \t"), "\t a");
    EXPECT_EQ(Trim("\v a\f", kWhiteSpace), "a");
    EXPECT_EQ(TrimBlanks("\va"), "\va");  // a vertical tab is no blank of a text file
}

TEST(CommonTextTest, NumbersRefuseWhatTheyCannotReadExactly) {
    struct Case {
        std::string_view text;
        int base;
        std::optional<std::uint16_t> expected;
    };
    const Case cases[] = {
        {"0", 10, 0},
        {"65535", 10, 65535},
        {"65536", 10, std::nullopt},
        {"", 10, std::nullopt},
        {"+1", 10, std::nullopt},
        {"-1", 10, std::nullopt},
        {" 1", 10, std::nullopt},
        {"1 ", 10, std::nullopt},
        {"1a", 10, std::nullopt},
        {"ffFF", 16, 0xffff},
        {"0x10", 16, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseUnsigned<std::uint16_t>(c.text, c.base), c.expected) << c.text;
    // A signed type still takes no sign: a negative day or pid is no value.
    EXPECT_EQ(ParseUnsigned<std::int64_t>("-5"), std::nullopt);

    EXPECT_EQ(ParseNumber<std::uint32_t>("0x1F"), 0x1fu);
    EXPECT_EQ(ParseNumber<std::uint32_t>("0X1f"), 0x1fu);
    EXPECT_EQ(ParseNumber<std::uint32_t>("0x"), std::nullopt);
    EXPECT_EQ(ParseNumber<std::uint32_t>("010"), 10u);  // no octal
    EXPECT_EQ(ParseNumber<std::uint32_t>("0x100000000"), std::nullopt);
}

TEST(CommonTextTest, HexDigitsAndCaseBlindEquality) {
    EXPECT_EQ(HexDigitValue('0'), 0);
    EXPECT_EQ(HexDigitValue('f'), 15);
    EXPECT_EQ(HexDigitValue('F'), 15);
    EXPECT_EQ(HexDigitValue('g'), -1);
    EXPECT_EQ(HexDigitValue('/'), -1);
    EXPECT_TRUE(EqualIgnoringCase("Short-Description", "short-DESCRIPTION"));
    EXPECT_FALSE(EqualIgnoringCase("abc", "ab"));
    EXPECT_FALSE(EqualIgnoringCase("[", "{"));  // not letters, whatever their distance
}

}  // namespace
