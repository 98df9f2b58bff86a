#include "platform/linux/live/firmware/firmware_text.h"

#include "platform/linux/live/common/wmi_values.h"

namespace platform::live::firmware {
namespace {

bool IsBlank(char c) {
    return kWhiteSpace.find(c) != std::string_view::npos;
}

}  // namespace

std::optional<std::string> Trimmed(std::string_view text) {
    text = Trim(text, kWhiteSpace);
    if (text.empty())
        return std::nullopt;
    return std::string(text);
}

std::optional<std::string> Collapsed(std::string_view text) {
    std::string result;
    bool blank = false;
    for (const char c : text) {
        if (IsBlank(c)) {
            blank = !result.empty();
            continue;
        }
        if (blank)
            result += ' ';
        blank = false;
        result += c;
    }
    if (result.empty())
        return std::nullopt;
    return result;
}

WmiValue TextOrNull(const std::optional<std::string>& text) {
    return text ? Text(*text) : WmiValue::Null();
}

}  // namespace platform::live::firmware
