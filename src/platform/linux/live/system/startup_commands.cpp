#include "platform/linux/live/system/startup_commands.h"

#include <set>
#include <string_view>
#include <vector>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/common/unit_folders.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/system/crontab.h"
#include "platform/linux/live/system/desktop_entry.h"
#include "platform/linux/live/system/service_unit.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

constexpr std::size_t kFileLimit = 1u << 20;

// A folder of startup entries, and the user they start for (none: every user).
struct Source {
    std::string folder;
    std::optional<std::string> user;
};

std::string FileOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::optional<std::string> UserOf(const StartupUser& user) {
    return user.name.empty() ? std::nullopt : std::optional<std::string>(user.name);
}

// The XDG base-directory rules: relative paths in the variables are ignored.
std::string ConfigHome(const StartupUser& user) {
    if (user.configHome && !user.configHome->empty() && user.configHome->front() == '/')
        return *user.configHome;
    return user.home.empty() ? std::string() : JoinPath(user.home, ".config");
}

std::vector<std::string> ConfigDirs(const StartupUser& user) {
    std::vector<std::string> dirs;
    const std::string listed = user.configDirs.value_or("");
    for (const std::string_view dir : SplitFields(listed, ':'))
        if (!dir.empty() && dir.front() == '/')
            dirs.emplace_back(dir);
    if (dirs.empty())
        dirs.emplace_back("/etc/xdg");
    return dirs;
}

void Add(WmiObjectList& list, const std::string& name, const std::optional<std::string>& command,
         const std::string& location, const std::optional<std::string>& user) {
    const auto text = [](const std::string& value) { return Text(value); };
    WmiObject startup;
    startup.Set(L"Name", Text(name));
    startup.Set(L"Command", OrNull(command, text));
    startup.Set(L"Location", Text(location));
    startup.Set(L"User", OrNull(user, text));
    list.push_back(std::move(startup));
}

// The user's folder comes first and wins: a file of the same name there replaces (or, with
// Hidden=true, removes) the system's entry.
void AddAutostartEntries(const SystemRoot& root, const StartupUser& user, WmiObjectList& list) {
    std::vector<Source> sources;
    if (const std::string home = ConfigHome(user); !home.empty())
        sources.push_back({JoinPath(home, "autostart"), UserOf(user)});
    for (const std::string& dir : ConfigDirs(user))
        sources.push_back({JoinPath(dir, "autostart"), std::nullopt});
    std::set<std::string> seen;
    for (const Source& source : sources) {
        for (const std::string& file : root.ListFolder(source.folder)) {
            if (!file.ends_with(".desktop") || !seen.insert(file).second)
                continue;
            const std::string path = JoinPath(source.folder, file);
            const auto text = root.ReadFile(path, kFileLimit);
            if (!text)
                continue;
            const DesktopEntry entry = ParseDesktopEntry(*text);
            if (entry.hidden || (entry.type && *entry.type != "Application") || !entry.exec ||
                entry.exec->empty())
                continue;
            const std::string name =
                entry.name && !entry.name->empty() ? *entry.name : file.substr(0, file.size() - 8);
            Add(list, name, entry.exec, path, source.user);
        }
    }
}

// The unit file a path leads to; nothing when the chain of links ends nowhere or at
// /dev/null (a masked unit).
std::optional<std::string> UnitFileAt(const SystemRoot& root, const std::string& path) {
    std::string end = FollowLinks(root, path);
    if (end == "/dev/null" || root.ReadLink(end) || !root.Exists(end))
        return std::nullopt;
    return end;
}

// Services enabled for user sessions: links in the *.wants folders of the user's and the
// system's user-unit configuration. Other kinds of units start no command of their own.
// The service manager loads each from the first folder of its user search path that holds
// the unit (or, for an instance "a@b.service", its template "a@.service"); a unit found
// nowhere is the file its enabling link points at.
void AddUserServices(const SystemRoot& root, const StartupUser& user, WmiObjectList& list) {
    const std::string configHome = ConfigHome(user);
    std::vector<std::string> sources;
    std::vector<std::optional<std::string>> owners;
    if (!configHome.empty()) {
        sources.push_back(JoinPath(configHome, "systemd/user"));
        owners.push_back(UserOf(user));
    }
    sources.emplace_back("/etc/systemd/user");
    owners.emplace_back();
    std::vector<std::string> searchPath = sources;
    if (!user.home.empty())
        searchPath.push_back(JoinPath(user.home, ".local/share/systemd/user"));
    for (const char* folder : {"/usr/local/share/systemd/user", "/usr/share/systemd/user",
                               "/usr/local/lib/systemd/user", "/usr/lib/systemd/user"})
        searchPath.emplace_back(folder);
    const auto files = UnitFilesIn(root, searchPath, ".service");

    for (const EnablingLink& link :
         EnablingLinks(root, sources, ".service", Dependencies::kWants)) {
        auto found = files.find(link.unit);
        if (const auto templateName = TemplateOf(link.unit); found == files.end() && templateName)
            found = files.find(*templateName);
        const auto file = UnitFileAt(root, found == files.end() ? link.path : found->second);
        const auto text = file ? root.ReadFile(*file, kFileLimit) : std::nullopt;
        if (!text || text->empty())
            continue;  // masked (an empty unit file masks too), or unreadable
        const ServiceUnit service = ParseServiceUnit(*text);
        std::optional<std::string> command;
        for (const std::string& start : service.execStart)
            command = command ? *command + "; " + start : start;
        Add(list, service.description.value_or(link.unit), command, *file, owners[link.folder]);
    }
}

// Editors' backups and package managers' leftovers in /etc/cron.d, which cron skips.
bool IsCronFile(const std::string& name) {
    if (name.empty() || name.front() == '.' || name.back() == '~')
        return false;
    for (std::string_view leftover : {".dpkg-", ".rpmsave", ".rpmnew", ".rpmorig", ".swp"})
        if (name.find(leftover) != std::string::npos)
            return false;
    return true;
}

// Cron jobs carry no name: each is named after its crontab's file.
void AddRebootJobs(const SystemRoot& root, const StartupUser& user, WmiObjectList& list) {
    const auto addFile = [&](const std::string& path, const std::optional<std::string>& owner) {
        const auto text = root.ReadFile(path, kFileLimit);
        if (!text)
            return false;
        for (const RebootJob& job : ParseRebootJobs(*text, !owner))
            Add(list, FileOf(path), job.command, path, owner ? owner : job.user);
        return true;
    };
    if (!user.name.empty() && user.name.find('/') == std::string::npos && user.name != "." &&
        user.name != "..")
        // Debian keeps users' crontabs in crontabs/, Fedora directly in the spool folder.
        if (!addFile("/var/spool/cron/crontabs/" + user.name, user.name))
            addFile("/var/spool/cron/" + user.name, user.name);
    addFile("/etc/crontab", std::nullopt);
    for (const std::string& name : root.ListFolder("/etc/cron.d"))
        if (IsCronFile(name))
            addFile("/etc/cron.d/" + name, std::nullopt);
}

}  // namespace

WmiObjectList StartupCommands(const SystemRoot& root, const StartupUser& user) {
    WmiObjectList list;
    AddAutostartEntries(root, user, list);
    AddUserServices(root, user, list);
    AddRebootJobs(root, user, list);
    return list;
}

WmiObjectList StartupCommands(const SystemRoot& root) {
    return StartupCommands(root, root.Calls().RunningSession());
}

}  // namespace platform::live
