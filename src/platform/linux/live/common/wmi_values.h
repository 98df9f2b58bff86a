#pragma once
// Values as WMI types them, for the live providers: strings, unsigned 32-bit integers,
// 64-bit integers as decimal strings, booleans, dates in WMI's text form, string arrays, and
// null for a fact that is not known (never an invented value).
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wmi.h"

namespace platform::live {

// Text from the system (UTF-8, possibly invalid: each bad sequence becomes U+FFFD).
WmiValue Text(std::string_view utf8);
WmiValue Text(std::wstring text);
// Text, or null for an empty one: a fact nobody wrote down.
WmiValue TextOrNull(std::string_view utf8);
WmiValue UInt32(std::uint32_t value);
// WMI hands uint64 and sint64 properties over as decimal strings.
WmiValue Int64Text(std::int64_t value);
WmiValue UInt64Text(std::uint64_t value);
WmiValue Boolean(bool value);
WmiValue Strings(const std::vector<std::wstring>& texts);
// "yyyymmddHHMMSS.ffffff+UUU": local time, with the local offset from UTC in minutes.
WmiValue DateTime(std::time_t when);
std::wstring DateTimeText(std::time_t when);

// The value when there is one, else null.
template <class T, class Make>
WmiValue OrNull(const std::optional<T>& value, Make make) {
    return value ? make(*value) : WmiValue::Null();
}

}  // namespace platform::live
