#include "platform/linux/live/devices/hardware_ids.h"
#include "platform/linux/live/common/text_views.h"

namespace platform::live {
namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

// "8086  Intel Corporation" -> 0x8086 and the name; nothing for any other line.
std::optional<std::pair<std::uint16_t, std::string_view>> IdLine(std::string_view line) {
    if (line.size() < 5 || (line[4] != ' ' && line[4] != '\t'))
        return std::nullopt;
    std::uint16_t id = 0;
    for (int i = 0; i < 4; ++i) {
        if (!IsHexDigit(line[i]))
            return std::nullopt;
        id = static_cast<std::uint16_t>(id * 16 + HexValue(line[i]));
    }
    return std::pair{id, TrimBlanks(line.substr(5))};
}

}  // namespace

std::optional<HardwareName> FindIdsName(std::string_view ids, std::uint16_t vendor,
                                        std::uint16_t device) {
    std::optional<HardwareName> found;
    std::size_t start = 0;
    while (start < ids.size()) {
        std::size_t end = ids.find('\n', start);
        if (end == std::string_view::npos)
            end = ids.size();
        const std::string_view line = ids.substr(start, end - start);
        start = end + 1;
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() != '\t') {
            if (found)
                break;  // the next vendor or section: the device is not listed
            const auto id = IdLine(line);
            if (id && id->first == vendor && !id->second.empty())
                found = HardwareName{std::string(id->second), {}};
            continue;
        }
        if (!found || line.size() < 2 || line[1] == '\t')
            continue;
        const auto id = IdLine(line.substr(1));
        if (id && id->first == device && !id->second.empty()) {
            found->device = std::string(id->second);
            break;
        }
    }
    return found;
}

}  // namespace platform::live
