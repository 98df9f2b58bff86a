#pragma once
// The dates the report shows: install and boot times read from WMI.
#include <ctime>
#include <optional>
#include <string>

// The UTC record of a date in one of the forms ParseDateTime reads, when every number of the
// form is written in digits and names a real calendar instant (month 1-12, a day the month
// has, hour below 24, minute and second below 60). Nothing for anything else: a missing
// property (empty text), WMI's zero date "00000000000000.000000+000", wildcards ("*") and
// text in no known form, which ParseDateTime would turn into a day of the years 1899 or -1.
std::optional<std::tm> ReadShownDate(const std::wstring& text);

// The date in local time as the report shows it, or the empty text when ReadShownDate finds
// none.
std::wstring ShownDateText(const std::wstring& text);
