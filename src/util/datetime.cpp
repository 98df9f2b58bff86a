#include "util/datetime.h"

#include <cwchar>
#include <limits>
#include <mutex>

#include "util/numbers.h"

namespace {

constexpr long long kSecondsPerDay = 86400;

long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

long long FloorMod(long long a, long long b) {
    return a - FloorDiv(a, b) * b;
}

// Days since 1970-01-01 of a proleptic Gregorian date; month 1-12.
long long DaysFromCivil(long long year, long long month, long long day) {
    year -= month <= 2;
    const long long era = FloorDiv(year, 400);
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The calendar record of an instant in UTC, computed without the C runtime so that it works
// for any instant and needs no lock.
std::tm TimeToUtc(long long instant) {
    const long long days = FloorDiv(instant, kSecondsPerDay);
    const long long secondOfDay = instant - days * kSecondsPerDay;

    const long long shifted = days + 719468;
    const long long era = FloorDiv(shifted, 146097);
    const long long dayOfEra = shifted - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;  // March is 0
    const long long month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const long long year = yearOfEra + era * 400 + (month <= 2);

    std::tm t{};
    t.tm_sec = static_cast<int>(secondOfDay % 60);
    t.tm_min = static_cast<int>(secondOfDay / 60 % 60);
    t.tm_hour = static_cast<int>(secondOfDay / 3600);
    t.tm_mday = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    t.tm_mon = static_cast<int>(month - 1);
    t.tm_year = static_cast<int>(year - 1900);
    t.tm_wday = static_cast<int>(FloorMod(days + 4, 7));  // 1970-01-01 was a Thursday
    t.tm_yday = static_cast<int>(days - DaysFromCivil(year, 1, 1));
    t.tm_isdst = 0;
    return t;
}

long long UtcSeconds(const std::tm& t) {
    const long long year = 1900LL + t.tm_year + FloorDiv(t.tm_mon, 12);
    const long long month = FloorMod(t.tm_mon, 12) + 1;
    const long long days = DaysFromCivil(year, month, 1) + t.tm_mday - 1;
    return days * kSecondsPerDay + t.tm_hour * 3600LL + t.tm_min * 60LL + t.tm_sec;
}

std::tm NormalizeUtc(const std::tm& t) {
    return TimeToUtc(UtcSeconds(t));
}

bool FitsTime(long long seconds) {
    return seconds >= std::numeric_limits<std::time_t>::min() &&
           seconds <= std::numeric_limits<std::time_t>::max();
}

// False when the runtime cannot convert the instant: the 32-bit Windows runtime keeps time_t in
// 32 bits and refuses instants before 1970.
bool ToLocal(long long instant, std::tm& local) {
    if (!FitsTime(instant)) {
        return false;
    }
    const auto time = static_cast<std::time_t>(instant);
    // The runtime's conversion shares one static record between threads.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    const std::tm* converted = std::localtime(&time);
    if (converted == nullptr) {
        return false;
    }
    local = *converted;
    return true;
}

std::wstring Format(const std::tm& t, const wchar_t* pattern) {
    wchar_t buffer[100];
    const std::size_t length = std::wcsftime(buffer, 100, pattern, &t);
    return std::wstring(buffer, length);
}

int Piece(const std::wstring& text, std::size_t pos, std::size_t count) {
    return TextToInt(text.substr(pos, count));
}

}  // namespace

std::time_t UtcToTime(std::tm utc) {
    const long long seconds = UtcSeconds(utc);
    return FitsTime(seconds) ? static_cast<std::time_t>(seconds) : static_cast<std::time_t>(-1);
}

std::tm ParseDateTime(const std::wstring& text) {
    std::tm t{};
    if (text.size() == 25 && text[14] == L'.' && (text[21] == L'+' || text[21] == L'-')) {
        t.tm_year = Piece(text, 0, 4) - 1900;
        t.tm_mon = Piece(text, 4, 2) - 1;
        t.tm_mday = Piece(text, 6, 2);
        t.tm_hour = Piece(text, 8, 2);
        t.tm_min = Piece(text, 10, 2) - Piece(text, 21, 4);
        t.tm_sec = Piece(text, 12, 2);
    } else if ((text.size() == 19 || text.size() == 23) && text[4] == L'-' && text[7] == L'-' &&
               text[10] == L' ' && text[13] == L':' && text[16] == L':') {
        t.tm_year = Piece(text, 0, 4) - 1900;
        t.tm_mon = Piece(text, 5, 2) - 1;
        t.tm_mday = Piece(text, 8, 2);
        t.tm_hour = Piece(text, 11, 2);
        t.tm_min = Piece(text, 14, 2);
        t.tm_sec = Piece(text, 17, 2);
    } else {
        return t;
    }
    return NormalizeUtc(t);
}

double UtcOffsetHours(const std::tm& utc) {
    const long long instant = UtcSeconds(utc);
    std::tm local{};
    if (!ToLocal(instant, local)) {
        return 0.0;
    }
    // The local record's fields read as if they were UTC differ from the instant by the offset.
    return static_cast<double>(UtcSeconds(local) - instant) / 3600.0;
}

std::wstring FormatUtcTime(const std::tm& utc) {
    return Format(NormalizeUtc(utc), L"%a, %d %b %Y %X UTC");
}

std::wstring FormatLocalTime(const std::tm& utc) {
    std::tm local{};
    if (!ToLocal(UtcSeconds(utc), local)) {
        // Labelled as UTC: the Windows runtime's %z would name the local zone regardless.
        return FormatUtcTime(utc);
    }
    return Format(local, L"%a, %d %b %Y %X %z");
}

DayClock SplitSeconds(long long seconds) {
    const long long hours = seconds % 86400 / 3600;
    return DayClock{static_cast<int>(seconds / 86400), static_cast<int>(hours),
                    static_cast<int>((seconds % 86400 - 3600 * hours) / 60),
                    static_cast<int>(seconds % 60)};
}
