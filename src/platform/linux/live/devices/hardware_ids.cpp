#include "platform/linux/live/devices/hardware_ids.h"
#include "platform/linux/live/common/text_views.h"

namespace platform::live {
namespace {

// "8086  Intel Corporation" -> 0x8086 and the name; nothing for any other line.
std::optional<std::pair<std::uint16_t, std::string_view>> IdLine(std::string_view line) {
    if (line.size() < 5 || (line[4] != ' ' && line[4] != '\t'))
        return std::nullopt;
    const auto id = ParseUnsigned<std::uint16_t>(line.substr(0, 4), 16);
    if (!id)
        return std::nullopt;
    return std::pair{*id, TrimBlanks(line.substr(5))};
}

}  // namespace

std::optional<HardwareName> FindIdsName(std::string_view ids, std::uint16_t vendor,
                                        std::uint16_t device) {
    std::optional<HardwareName> found;
    for (const std::string_view line : Lines(ids)) {
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
