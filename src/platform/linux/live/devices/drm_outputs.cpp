#include "platform/linux/live/devices/drm_outputs.h"

#include "platform/linux/live/devices/sysfs_values.h"

namespace platform::live {
namespace {

// "card0-HDMI-A-1": a card's number, a dash and the output's name.
bool IsOutputName(const std::string& name) {
    if (name.rfind("card", 0) != 0)
        return false;
    std::size_t i = 4;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9')
        ++i;
    return i > 4 && i + 1 < name.size() && name[i] == '-';
}

}  // namespace

std::vector<std::string> ConnectedOutputs(const SystemRoot& root, const std::string& folder) {
    std::vector<std::string> outputs;
    for (const auto& name : root.ListFolder(folder)) {
        if (!IsOutputName(name))
            continue;
        const std::string output = folder + "/" + name;
        if (root.ReadLine(output + "/status") == "connected")
            outputs.push_back(output);
    }
    return outputs;
}

std::optional<DisplayMode> FirstMode(const SystemRoot& root, const std::string& output) {
    const auto line = root.ReadLine(output + "/modes");
    if (!line)
        return std::nullopt;
    // "1920x1080", "1920x1080i" for an interlaced mode.
    const std::size_t x = line->find('x');
    if (x == std::string::npos)
        return std::nullopt;
    std::size_t end = x + 1;
    while (end < line->size() && (*line)[end] >= '0' && (*line)[end] <= '9')
        ++end;
    const auto width = ParseDecimalNumber(std::string_view(*line).substr(0, x));
    const auto height = ParseDecimalNumber(std::string_view(*line).substr(x + 1, end - x - 1));
    if (!width || !height || *width == 0 || *height == 0)
        return std::nullopt;
    return DisplayMode{*width, *height};
}

}  // namespace platform::live
