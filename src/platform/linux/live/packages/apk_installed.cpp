#include "platform/linux/live/packages/apk_installed.h"

#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/packages/dpkg_status.h"

namespace platform::live {

std::vector<InstalledProgram> ParseApkInstalled(std::string_view text) {
    std::vector<InstalledProgram> programs;
    InstalledProgram current;
    const auto finish = [&] {
        if (!current.name.empty()) {
            current.id = current.name;
            current.source = "apk";
            programs.push_back(std::move(current));
        }
        current = {};
    };
    for (const std::string_view line : Lines(text, Lines::Ends::kNewlineOrCrLf)) {
        if (line.empty()) {
            finish();
            continue;
        }
        if (line.size() < 2 || line[1] != ':')
            continue;
        const std::string value(line.substr(2));
        switch (line[0]) {
            case 'P':
                current.name = value;
                break;
            case 'V':
                current.version = value;
                break;
            case 'T':
                current.comments = value;
                break;
            case 'U':
                current.url = value;
                break;
            case 'm':
                current.publisher = MaintainerName(value);
                break;
            case 'I':
                if (const auto bytes = ParseUnsigned<std::uint64_t>(value))
                    current.sizeKb = KilobytesOf(*bytes);
                break;
            default:
                break;
        }
    }
    finish();
    return programs;
}

std::vector<InstalledProgram> ApkPrograms(const SystemRoot& root) {
    const auto text = root.ReadFile("/lib/apk/db/installed");
    return text ? ParseApkInstalled(*text) : std::vector<InstalledProgram>();
}

}  // namespace platform::live
