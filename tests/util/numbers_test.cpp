#include "util/numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <locale>

namespace {

TEST(TextToNumber, ReadsTheLeadingNumberOrGivesZero) {
    const std::pair<std::wstring, int> ints[] = {
        {L"  42x", 42},     {L"\t\n+7", 7}, {L"-13abc", -13},          {L"", 0},
        {L"- 5", 0},        {L"0x1F", 0},   {L"-2147483648", INT_MIN}, {L"2147483648", 0},
        {L"4294967296", 0},
    };
    for (const auto& [text, expected] : ints) {
        EXPECT_EQ(TextToInt(text), expected) << "for [" << text << "]";
    }
    const std::pair<std::wstring, double> doubles[] = {
        {L" -2.25kg", -2.25}, {L"1,5", 1.0}, {L"1e3", 1000.0}, {L"abc", 0.0}, {L"1e999", 0.0},
    };
    for (const auto& [text, expected] : doubles) {
        EXPECT_DOUBLE_EQ(TextToDouble(text), expected) << "for [" << text << "]";
    }
    EXPECT_EQ(IntToText(INT_MIN), L"-2147483648");
}

TEST(FormatUnits, SwitchesUnitAtEachStep) {
    const std::pair<double, std::wstring> bytes[] = {
        {512, L"512.00b"},       {1023, L"1023.00b"},          {1024, L"1.00kb"},
        {1536, L"1.50kb"},       {1048575, L"1024.00kb"},      {1048576, L"1.00MB"},
        {1073741824, L"1.00GB"}, {1099511627776.0, L"1.00TB"},
    };
    for (const auto& [value, expected] : bytes) {
        EXPECT_EQ(FormatBytes(value), expected) << "for " << value;
    }
    const std::pair<double, std::wstring> hertz[] = {
        {999, L"999.00Hz"},
        {1000, L"1.00kHz"},
        {1e6, L"1.00MHz"},
        {2400000000, L"2.40GHz"},
    };
    for (const auto& [value, expected] : hertz) {
        EXPECT_EQ(FormatHertz(value), expected) << "for " << value;
    }
}

// A user locale with "," as decimal point and "." grouping must not leak into the texts.
struct CommaPunct : std::numpunct<wchar_t> {
    wchar_t do_decimal_point() const override { return L','; }
    wchar_t do_thousands_sep() const override { return L'.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(Numbers, IgnoreTheGlobalLocale) {
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    EXPECT_EQ(IntToText(1234567), L"1234567");
    EXPECT_EQ(TextToInt(L"1.234"), 1);
    EXPECT_DOUBLE_EQ(TextToDouble(L"1.5"), 1.5);
    EXPECT_EQ(FormatBytes(1536), L"1.50kb");
    std::locale::global(previous);
}

}  // namespace
