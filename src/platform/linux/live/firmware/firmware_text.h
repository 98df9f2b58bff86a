#pragma once
// Text and numbers as firmware and the kernel write them: strings padded with blanks, numbers
// in decimal or "0x" hexadecimal. Shared by the firmware providers only.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/live/common/text_views.h"
#include "platform/wmi.h"

namespace platform::live::firmware {

// The text without blanks at either end; nothing when that leaves it empty.
std::optional<std::string> Trimmed(std::string_view text);
// The text trimmed, with each run of blanks inside it made one space (processor names are
// often padded to a fixed width).
std::optional<std::string> Collapsed(std::string_view text);

// The text as a WMI string (UTF-8 from the system), null when there is none.
WmiValue TextOrNull(const std::optional<std::string>& text);

// An unsigned number: decimal, or hexadecimal after "0x". Surrounding blanks are allowed; a
// sign, other characters or a value too large for the type give nothing.
template <class Unsigned>
std::optional<Unsigned> ParsePaddedNumber(std::string_view text) {
    return ParseNumber<Unsigned>(Trim(text, kWhiteSpace));
}

}  // namespace platform::live::firmware
