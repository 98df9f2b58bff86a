#include "platform/linux/live/storage/mount_table.h"
#include "platform/linux/live/common/text_views.h"

namespace platform::live {
namespace {

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

// The kernel writes exactly three octal digits; anything else after a backslash is kept as
// it stands, and so is an escape of NUL, which no path can hold.
std::string Decode(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
            IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
            const int value =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (value > 0 && value < 256) {
                text += static_cast<char>(value);
                i += 3;
                continue;
            }
        }
        text += field[i];
    }
    return text;
}

bool IsDevice(std::string_view field) {
    const std::size_t colon = field.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 == field.size())
        return false;
    for (std::size_t i = 0; i < field.size(); ++i)
        if (i != colon && (field[i] < '0' || field[i] > '9'))
            return false;
    return true;
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> entries;
    for (const std::string_view line : Lines(text)) {
        // The kernel separates fields with single blanks, so an empty field (a mount made
        // with an empty source) stays in its place.
        const auto fields = SplitFields(line, ' ');
        // id, parent, major:minor, root, mount point, options, optional fields..., "-",
        // type, source, super options.
        if (fields.size() < 10 || !IsDevice(fields[2]))
            continue;
        std::size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-")
            ++separator;
        if (fields.size() - separator < 4)
            continue;
        MountEntry entry;
        entry.device = std::string(fields[2]);
        entry.root = Decode(fields[3]);
        entry.mountPoint = Decode(fields[4]);
        entry.fsType = Decode(fields[separator + 1]);
        entry.source = Decode(fields[separator + 2]);
        if (entry.mountPoint.empty() || entry.mountPoint.front() != '/')
            continue;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<MountEntry> ReadMountTable(const SystemRoot& root) {
    const auto text = root.ReadFile("/proc/self/mountinfo");
    return text ? ParseMountInfo(*text) : std::vector<MountEntry>{};
}

}  // namespace platform::live
