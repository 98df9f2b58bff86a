#include "platform/linux/live/common/wmi_values.h"

#include <cstdio>
#include <cstdlib>

#include "util/utf.h"

namespace platform::live {

WmiValue Text(std::string_view utf8) {
    return WmiValue::String(Utf8ToWide(std::string(utf8)));
}

WmiValue TextOrNull(std::string_view utf8) {
    return utf8.empty() ? WmiValue::Null() : Text(utf8);
}

WmiValue Text(std::wstring text) {
    return WmiValue::String(std::move(text));
}

WmiValue UInt32(std::uint32_t value) {
    return WmiValue::Integer(WmiValue::Kind::UInt32, value);
}

WmiValue Int64Text(std::int64_t value) {
    return WmiValue::String(std::to_wstring(value));
}

WmiValue UInt64Text(std::uint64_t value) {
    return WmiValue::String(std::to_wstring(value));
}

WmiValue Boolean(bool value) {
    return WmiValue::Bool(value);
}

WmiValue Strings(const std::vector<std::wstring>& texts) {
    std::vector<WmiValue> elements;
    elements.reserve(texts.size());
    for (const auto& text : texts)
        elements.push_back(WmiValue::String(text));
    return WmiValue::Array(std::move(elements));
}

std::wstring DateTimeText(std::time_t when) {
    std::tm local{};
    if (!localtime_r(&when, &local))
        return {};
    const long offset = local.tm_gmtoff / 60;
    char text[96];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d.000000%c%03ld", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  offset < 0 ? '-' : '+', std::labs(offset));
    return Utf8ToWide(text);
}

WmiValue DateTime(std::time_t when) {
    std::wstring text = DateTimeText(when);
    return text.empty() ? WmiValue::Null() : WmiValue::String(std::move(text));
}

}  // namespace platform::live
