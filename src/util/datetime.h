#pragma once

#include <ctime>
#include <string>

// Broken-down times handled here hold UTC. They are normalised as a pure calendar: a local-time
// normalisation (mktime) would shift them around daylight-saving changes.

// Recognises a WMI date-time ("yyyymmddHHMMSS.ffffff+UUU", shifted to UTC by its offset in
// minutes) and an SQL timestamp ("yyyy-mm-dd HH:MM:SS" with optional ".fff"). Anything else,
// and every piece that is not a number, gives zeros. The result is normalised, with weekday
// and day of year filled in and the daylight flag 0.
std::tm ParseDateTime(const std::wstring& text);

// Offset of the local zone from UTC at the instant `utc`, in hours (fractional for zones such
// as UTC+5:30); 0 when the runtime cannot convert the instant (see UtcToTime).
double UtcOffsetHours(const std::tm& utc);

// "Sun, 15 Mar 2026 12:30:00 UTC".
std::wstring FormatUtcTime(const std::tm& utc);

// The instant in the local zone: "Sun, 15 Mar 2026 18:00:00 " followed by what the runtime
// prints for %z (a numeric offset with glibc, a zone name with the Windows runtime). An
// instant the runtime cannot convert is shown as by FormatUtcTime.
std::wstring FormatLocalTime(const std::tm& utc);

struct DayClock {
    int days;
    int hours;
    int minutes;
    int seconds;
};

// Uptime-style split; truncating divisions, so negative input gives negative parts.
DayClock SplitSeconds(long long seconds);

// Seconds since 1970-01-01 UTC for a record read as UTC (a portable timegm). Fields out of
// their ranges are carried over as by mktime; weekday, day of year and daylight flag are
// ignored. -1 when the instant does not fit time_t (32 bits on the 32-bit Windows runtime).
std::time_t UtcToTime(std::tm utc);
