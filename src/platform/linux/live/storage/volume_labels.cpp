#include "platform/linux/live/storage/volume_labels.h"
#include "platform/linux/live/common/text_views.h"

namespace platform::live {
std::string DecodeLabelName(std::string_view name) {
    std::string label;
    label.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const int high = HexDigitValue(name[i + 2]);
            const int low = HexDigitValue(name[i + 3]);
            if (high >= 0 && low >= 0 && (high | low) != 0) {
                label += static_cast<char>(high * 16 + low);
                i += 3;
                continue;
            }
        }
        label += name[i];
    }
    return label;
}

std::optional<std::map<std::string, std::string>> ReadVolumeLabels(const SystemRoot& root) {
    if (!root.Exists("/dev/disk"))
        return std::nullopt;
    std::map<std::string, std::string> labels;
    for (const auto& name : root.ListFolder("/dev/disk/by-label")) {
        const auto target = root.ReadLink("/dev/disk/by-label/" + name);
        if (!target)
            continue;
        const std::size_t slash = target->rfind('/');
        const std::string device = slash == std::string::npos ? *target : target->substr(slash + 1);
        if (!device.empty())
            labels.emplace(device, DecodeLabelName(name));
    }
    return labels;
}

}  // namespace platform::live
