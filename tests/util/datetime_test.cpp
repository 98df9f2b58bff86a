#include "util/datetime.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>

#include "zone.h"

namespace {

using Fields = std::array<int, 9>;  // year, month 1-12, day, h, m, s, weekday, yday, dst

Fields FieldsOf(const std::tm& t) {
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min,
            t.tm_sec,         t.tm_wday,    t.tm_yday, t.tm_isdst};
}

std::tm Utc(int year, int mon, int mday, int hour, int min, int sec) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = mon - 1;
    t.tm_mday = mday;
    t.tm_hour = hour;
    t.tm_min = min;
    t.tm_sec = sec;
    return t;
}

TEST(ParseDateTime, ReadsBothFormsAsNormalisedUtc) {
    const std::pair<std::wstring, Fields> cases[] = {
        // WMI values carry their offset in minutes, which is taken off.
        {L"20260315123000.000000+060", {2026, 3, 15, 11, 30, 0, 0, 73, 0}},
        {L"20261231220000.123456-300", {2027, 1, 1, 3, 0, 0, 5, 0, 0}},
        {L"2026-12-06 18:30:00.999", {2026, 12, 6, 18, 30, 0, 0, 339, 0}},
        // Out-of-range fields carry over like a calendar, leap years included.
        {L"2026-01-99 00:00:00", {2026, 4, 9, 0, 0, 0, 4, 98, 0}},
        {L"2024-02-30 00:00:00", {2024, 3, 1, 0, 0, 0, 5, 60, 0}},
        {L"1900-02-29 00:00:00", {1900, 3, 1, 0, 0, 0, 4, 59, 0}},
        {L"2000-02-29 23:59:60", {2000, 3, 1, 0, 0, 0, 3, 60, 0}},
        // A piece that is not a number counts as 0.
        {L"2026-xx-15 12:00:00", {2025, 12, 15, 12, 0, 0, 1, 348, 0}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(FieldsOf(ParseDateTime(text)), expected) << text;
    }
    const Fields zeros = {1900, 1, 0, 0, 0, 0, 0, 0, 0};
    for (const auto* text : {L"", L"2026-12-06T18:30:00", L"2026-12-06 18:30:00.99",
                             L"20260315123000.000000*060", L"20260315123000,000000+060"}) {
        EXPECT_EQ(FieldsOf(ParseDateTime(text)), zeros) << text;
    }
}

TEST(UtcToTime, CountsSecondsSince1970) {
    const std::pair<std::tm, long long> cases[] = {
        {Utc(1969, 12, 31, 23, 59, 59), -1},
        {Utc(2000, 3, 1, 0, 0, 0), 951868800},
        {Utc(1999, 13, 0, 0, -60, 0), 946684800 - 86400 - 3600},  // carried fields
        {Utc(2038, 1, 19, 3, 14, 8), 2147483648LL},
        {Utc(1600, 3, 1, 0, 0, 0), -11670912000LL},
    };
    for (const auto& [utc, expected] : cases) {
        // Past the range of a 32-bit time_t (the Windows runtime's) the answer is -1.
        const bool fits = expected >= std::numeric_limits<std::time_t>::min() &&
                          expected <= std::numeric_limits<std::time_t>::max();
        EXPECT_EQ(static_cast<long long>(UtcToTime(utc)), fits ? expected : -1) << expected;
    }
}

TEST(FormatUtcTime, WritesTheCalendarsWeekdayAndUtc) {
    EXPECT_EQ(FormatUtcTime(Utc(2026, 3, 15, 12, 30, 5)), L"Sun, 15 Mar 2026 12:30:05 UTC");
    EXPECT_EQ(FormatUtcTime(Utc(2026, 2, 29, 24, 0, 0)), L"Mon, 02 Mar 2026 00:00:00 UTC");
    EXPECT_EQ(FormatUtcTime(std::tm{}), L"Sun, 31 Dec 1899 00:00:00 UTC");
}

TEST(SplitSeconds, TruncatesEachPart) {
    const std::pair<long long, std::array<int, 4>> cases[] = {
        {90061, {1, 1, 1, 1}},
        {86399, {0, 23, 59, 59}},
        {-90061, {-1, -1, -1, -1}},
        {10000000000LL, {115740, 17, 46, 40}},
    };
    for (const auto& [seconds, expected] : cases) {
        const DayClock d = SplitSeconds(seconds);
        EXPECT_EQ((std::array<int, 4>{d.days, d.hours, d.minutes, d.seconds}), expected) << seconds;
    }
}

class ZoneTest : public ::testing::Test {
  protected:
    void TearDown() override { SetZone(nullptr); }
};

TEST_F(ZoneTest, ParsingIgnoresTheLocalDaylightSaving) {
    if (!SetZone("CET-1CEST,M3.5.0,M10.5.0/3")) {
        GTEST_SKIP() << "the runtime cannot follow these transition rules";
    }
    // Summer, and the hour that does not exist locally on the spring change.
    EXPECT_EQ(FieldsOf(ParseDateTime(L"2026-07-01 12:00:00")),
              (Fields{2026, 7, 1, 12, 0, 0, 3, 181, 0}));
    EXPECT_EQ(FieldsOf(ParseDateTime(L"2026-03-29 02:30:00")),
              (Fields{2026, 3, 29, 2, 30, 0, 0, 87, 0}));
}

TEST_F(ZoneTest, LocalTimeKeepsOffsetMinutes) {
    struct Case {
        const char* zone;
        std::tm utc;
        double offset;
        std::wstring clock;    // what the runtime prints for %z follows:
        std::wstring numeric;  // glibc gives this, the Windows runtime a zone name
    };
    const Case cases[] = {
        {"IST-5:30", Utc(2026, 3, 15, 12, 30, 0), 5.5, L"Sun, 15 Mar 2026 18:00:00 ", L"+0530"},
        {"NST3:30", Utc(2026, 1, 15, 12, 0, 0), -3.5, L"Thu, 15 Jan 2026 08:30:00 ", L"-0330"},
    };
    for (const auto& c : cases) {
        if (!SetZone(c.zone)) {
            GTEST_SKIP() << "cannot switch zones here";
        }
        EXPECT_DOUBLE_EQ(UtcOffsetHours(c.utc), c.offset) << c.zone;
        const std::wstring text = FormatLocalTime(c.utc);
        ASSERT_GT(text.size(), c.clock.size()) << c.zone;
        EXPECT_EQ(text.substr(0, c.clock.size()), c.clock) << c.zone;
        const std::wstring zone = text.substr(c.clock.size());
        if (zone[0] == L'+' || zone[0] == L'-') {
            EXPECT_EQ(zone, c.numeric) << c.zone;
        }
    }
    // Before 1970 the Windows runtime refuses the conversion; the text must then not carry
    // the local zone's name next to a UTC clock.
    SetZone("IST-5:30");
    EXPECT_THAT(FormatLocalTime(std::tm{}), ::testing::AnyOf(L"Sun, 31 Dec 1899 05:30:00 +0530",
                                                             L"Sun, 31 Dec 1899 00:00:00 UTC"));
}

TEST_F(ZoneTest, LocalTimeFollowsDaylightSaving) {
    if (!SetZone("NST3:30NDT,M3.2.0,M11.1.0")) {
        GTEST_SKIP() << "the runtime cannot follow these transition rules";
    }
    EXPECT_DOUBLE_EQ(UtcOffsetHours(Utc(2026, 1, 1, 12, 0, 0)), -3.5);
    EXPECT_EQ(FormatLocalTime(Utc(2026, 7, 1, 12, 0, 0)), L"Wed, 01 Jul 2026 09:30:00 -0230");
}

}  // namespace
