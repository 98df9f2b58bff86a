#include "platform/linux/live/packages/sysv_scripts.h"
#include "platform/linux/live/common/text_views.h"

#include <sys/stat.h>

#include <array>
#include <set>

namespace platform::live {
namespace {

constexpr std::string_view kFolder = "/etc/init.d";

// "# Key: value" -> key and value; false for any other line.
bool CommentField(std::string_view line, std::string_view& key, std::string_view& value) {
    if (line.empty() || line.front() != '#')
        return false;
    line = TrimBlanks(line.substr(1));
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return false;
    key = TrimBlanks(line.substr(0, colon));
    value = TrimBlanks(line.substr(colon + 1));
    return true;
}

// PIDFILE=/run/x.pid, quoted or not; nothing when the value needs the shell.
std::string_view PlainPidFile(std::string_view line) {
    constexpr std::string_view kSetting = "PIDFILE=";
    if (line.substr(0, kSetting.size()) != kSetting)
        return {};
    std::string_view value = TrimBlanks(line.substr(kSetting.size()));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.empty() || value.front() != '/' ||
        value.find_first_of("$`\"' \t;&|()<>\\") != std::string_view::npos)
        return {};
    return value;
}

bool IsBackupOrHelper(std::string_view name) {
    static constexpr std::array<std::string_view, 5> kHelpers = {"README", "skeleton", "rc", "rcS",
                                                                 "functions"};
    static constexpr std::array<std::string_view, 11> kBackups = {
        "~",        ".dpkg-old", ".dpkg-dist", ".dpkg-new", ".dpkg-tmp", ".dpkg-bak",
        ".ucf-old", ".ucf-dist", ".ucf-new",   ".rpmsave",  ".rpmnew"};
    if (name.empty() || name.front() == '.')
        return true;
    for (std::string_view helper : kHelpers)
        if (name == helper)
            return true;
    for (std::string_view backup : kBackups)
        if (name.ends_with(backup))
            return true;
    return false;
}

}  // namespace

InitScriptText ParseInitScript(std::string_view text) {
    InitScriptText script;
    std::string headerPid, plainPid;
    bool inLsb = false;
    for (const std::string_view line : Lines(text, Lines::Ends::kNewlineOrCrLf)) {
        const std::string_view trimmed = TrimBlanks(line);
        if (trimmed == "### BEGIN INIT INFO") {
            inLsb = true;
            continue;
        }
        if (trimmed == "### END INIT INFO") {
            inLsb = false;
            continue;
        }
        std::string_view key, value;
        if (CommentField(trimmed, key, value)) {
            if (inLsb && EqualIgnoringCase(key, "Short-Description") &&
                script.shortDescription.empty())
                script.shortDescription = value;
            else if (inLsb && EqualIgnoringCase(key, "Provides") && script.provides.empty())
                script.provides = value;
            else if (EqualIgnoringCase(key, "pidfile") && headerPid.empty())
                headerPid = value;
        } else if (plainPid.empty()) {
            plainPid = PlainPidFile(trimmed);
        }
    }
    script.pidFile = !headerPid.empty() ? headerPid : plainPid;
    return script;
}

std::vector<InitScript> ReadInitScripts(const SystemRoot& root) {
    std::vector<InitScript> scripts;
    std::set<std::string> names;
    for (const std::string& name : root.ListFolder(kFolder)) {
        if (IsBackupOrHelper(name))
            continue;
        InitScript script;
        script.path = std::string(kFolder) + "/" + name;
        struct stat info;
        if (::stat(root.Path(script.path).c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            !(info.st_mode & 0111))
            continue;
        script.name = name.ends_with(".sh") ? name.substr(0, name.size() - 3) : name;
        // "x" and "x.sh" would be one service; the first in name order stays.
        if (script.name.empty() || !names.insert(script.name).second)
            continue;
        if (const auto text = root.ReadFile(script.path, 1u << 20))
            script.text = ParseInitScript(*text);
        scripts.push_back(std::move(script));
    }
    return scripts;
}

}  // namespace platform::live
