#include "platform/linux/live/system/processes.h"

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/common/wmi_values.h"

namespace platform::live {
namespace {

// The kernel marks the link of an executable whose file was removed or replaced (a package
// upgrade while the program runs).
constexpr std::string_view kDeleted = " (deleted)";

// Bounds the memory a hostile process can make this read take; real command lines are far
// shorter than the kernel's own argument limit.
constexpr std::size_t kCommandLineLimit = 4u << 20;

std::optional<std::string_view> StatusField(std::string_view status, std::string_view name) {
    for (std::string_view line : Lines(status)) {
        if (line.size() > name.size() && line.substr(0, name.size()) == name &&
            line[name.size()] == ':') {
            line.remove_prefix(name.size() + 1);
            // The kernel writes one tab; what follows it belongs to the value (a name may
            // start with a blank).
            if (!line.empty() && line.front() == '\t')
                line.remove_prefix(1);
            else
                line = TrimStart(line, " ");
            return line;
        }
    }
    return std::nullopt;
}

std::string UnescapeName(std::string_view escaped) {
    std::string name;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '\\' && i + 1 < escaped.size() &&
            (escaped[i + 1] == 'n' || escaped[i + 1] == '\\')) {
            name += escaped[i + 1] == 'n' ? '\n' : '\\';
            ++i;
        } else {
            name += escaped[i];
        }
    }
    return name;
}

// The executable's path as the link names it. The deletion mark is dropped so that a
// process keeps its identity across an upgrade of its file, unless a file of that very name
// exists (then the name really ends that way).
std::optional<std::string> ExecutablePath(const SystemRoot& root, const std::string& folder) {
    auto target = root.ReadLink(folder + "/exe");
    if (!target || target->empty())
        return std::nullopt;
    if (target->size() > kDeleted.size() &&
        std::string_view(*target).substr(target->size() - kDeleted.size()) == kDeleted &&
        !root.Exists(*target))
        target->resize(target->size() - kDeleted.size());
    return target;
}

}  // namespace

std::optional<std::string> ParseCommandLine(std::string_view cmdline) {
    const std::size_t last = cmdline.find_last_not_of(std::string_view("\0 \t\n", 4));
    if (last == std::string_view::npos)
        return std::nullopt;
    std::string line(cmdline.substr(0, last + 1));
    for (char& c : line)
        if (c == '\0')
            c = ' ';
    return line;
}

ProcessStatus ParseProcessStatus(std::string_view status) {
    ProcessStatus parsed;
    if (auto name = StatusField(status, "Name"); name && !name->empty())
        parsed.name = UnescapeName(*name);
    if (auto parent = StatusField(status, "PPid"))
        parsed.parentId = ParseUnsigned<std::uint32_t>(*parent);
    return parsed;
}

std::string ExecutableName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

WmiObjectList Processes(const SystemRoot& root) {
    WmiObjectList processes;
    const auto text = [](const std::string& value) { return Text(value); };
    for (const std::string& entry : root.ListFolder("/proc")) {
        const auto id = ParseUnsigned<std::uint32_t>(entry);
        if (!id)
            continue;
        const std::string folder = "/proc/" + entry;
        const auto path = ExecutablePath(root, folder);
        const auto cmdline = root.ReadFile(folder + "/cmdline", kCommandLineLimit);
        // Read last: a process whose status is gone ended while it was read, and is skipped.
        const auto status = root.ReadFile(folder + "/status", 1u << 20);
        if (!status)
            continue;
        const ProcessStatus parsed = ParseProcessStatus(*status);
        std::optional<std::string> name = parsed.name;
        if (path && !ExecutableName(*path).empty())
            name = ExecutableName(*path);

        WmiObject process;
        process.Set(L"Name", OrNull(name, text));
        process.Set(L"ExecutablePath", OrNull(path, text));
        process.Set(L"CommandLine",
                    OrNull(cmdline ? ParseCommandLine(*cmdline) : std::nullopt, text));
        process.Set(L"ProcessId", UInt32(*id));
        process.Set(L"ParentProcessId", OrNull(parsed.parentId, UInt32));
        processes.push_back(std::move(process));
    }
    return processes;
}

}  // namespace platform::live
