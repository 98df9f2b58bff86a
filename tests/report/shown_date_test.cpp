// Which texts are dates the report shows.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "report/shown_date.h"
#include "util/datetime.h"

namespace {

TEST(ReadShownDate, TakesRealInstantsInBothForms) {
    struct Case {
        std::wstring text;
        std::wstring utc;  // FormatUtcTime of the result
    };
    const Case cases[] = {
        {L"20260315123000.000000+060", L"Sun, 15 Mar 2026 11:30:00 UTC"},
        {L"20240229235959.999999-300", L"Fri, 01 Mar 2024 04:59:59 UTC"},
        {L"20000229000000.000000+000", L"Tue, 29 Feb 2000 00:00:00 UTC"},
        {L"16010101000000.000000+000", L"Mon, 01 Jan 1601 00:00:00 UTC"},
        {L"2026-03-15 12:30:00", L"Sun, 15 Mar 2026 12:30:00 UTC"},
        {L"2026-03-15 12:30:00.250", L"Sun, 15 Mar 2026 12:30:00 UTC"},
    };
    for (const Case& c : cases) {
        const std::optional<std::tm> date = ReadShownDate(c.text);
        ASSERT_TRUE(date.has_value()) << c.text;
        EXPECT_EQ(FormatUtcTime(*date), c.utc) << c.text;
    }
}

TEST(ReadShownDate, RefusesWhatIsNoDate) {
    for (const wchar_t* text : {
             L"",
             L"00000000000000.000000+000",  // WMI's zero date
             L"20260015000000.000000+000",  // month 0
             L"20261301000000.000000+000",  // month 13
             L"20260230000000.000000+000",  // 30 February
             L"21000229000000.000000+000",  // 2100 is no leap year
             L"20260431000000.000000+000",  // 31 April
             L"20260315240000.000000+000",  // hour 24
             L"20260315236000.000000+000",  // minute 60
             L"20260315235960.000000+000",  // second 60
             L"2026031512****.000000+000",  // wildcards
             L"20260315123000.000000+***",
             L" 0260315123000.000000+000",
             L"20260315123000.000000 000",
             L"20260315123000.000000+0600",
             L"20260315",
             L"2026-3-15 12:30:00",
             L"2026-03-15T12:30:00",
             L"0000-01-01 00:00:00",
             L"yesterday",
         }) {
        EXPECT_FALSE(ReadShownDate(text).has_value()) << text;
        EXPECT_EQ(ShownDateText(text), L"") << text;
    }
}

TEST(ShownDateText, IsTheLocalTimeOfTheDate) {
    EXPECT_EQ(ShownDateText(L"20260315123000.000000+060"),
              FormatLocalTime(*ReadShownDate(L"20260315123000.000000+060")));
}

}  // namespace
