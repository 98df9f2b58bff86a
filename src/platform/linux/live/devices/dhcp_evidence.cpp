#include "platform/linux/live/devices/dhcp_evidence.h"
#include "platform/linux/live/common/text_views.h"

#include <fnmatch.h>

#include <algorithm>

namespace platform::live {
namespace {

constexpr int kMaxSourceDepth = 4;  // "source" may include a file that includes it again
constexpr std::size_t kLeaseLimit = 1u << 20;

// ifupdown reads relative paths from its own folder.
std::string Absolute(const std::string& path) {
    return path.empty() || path.front() == '/' ? path : "/etc/network/" + path;
}

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// NetworkManager: "internal-<connection>-eth0.lease", "dhclient-<connection>-eth0.lease";
// the ones whose prefix ends in 6 are DHCPv6.
bool NetworkManagerNames(const std::string& file, const std::string& interface) {
    return (file.starts_with("internal-") || file.starts_with("dhclient-")) &&
           file.ends_with("-" + interface + ".lease");
}

// dhcpcd: "eth0.lease", "wlan0-<network>.lease", older "dhcpcd-eth0.lease" (".lease6" is v6).
bool DhcpcdNames(const std::string& file, const std::string& interface) {
    return file == interface + ".lease" || file == "dhcpcd-" + interface + ".lease" ||
           (file.starts_with(interface + "-") && file.ends_with(".lease"));
}

bool SourceDirectoryEntry(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
}

}  // namespace

IfupdownFile ParseIfupdown(std::string_view text) {
    IfupdownFile file;
    for (const std::string_view line : Lines(text)) {
        const auto words = SplitWords(line, kWhiteSpace);
        if (words.empty() || words[0].front() == '#')
            continue;
        if (words[0] == "iface") {
            if (words.size() >= 4 && words[2] == "inet")
                file.inetMethods[std::string(words[1])] = std::string(words[3]);
        } else if (words[0] == "source") {
            file.sources.insert(file.sources.end(), words.begin() + 1, words.end());
        } else if (words[0] == "source-directory") {
            file.sourceDirectories.insert(file.sourceDirectories.end(), words.begin() + 1,
                                          words.end());
        }
    }
    return file;
}

std::set<std::string> DhclientInterfaces(std::string_view leases) {
    std::set<std::string> interfaces;
    constexpr std::string_view kStatement = "interface \"";
    for (std::size_t at = leases.find(kStatement); at != std::string_view::npos;
         at = leases.find(kStatement, at + 1)) {
        const std::size_t start = at + kStatement.size();
        const std::size_t end = leases.find('"', start);
        if (end == std::string_view::npos)
            break;
        if (end > start)
            interfaces.insert(std::string(leases.substr(start, end - start)));
    }
    return interfaces;
}

void DhcpEvidence::ReadIfupdown(const SystemRoot& root, const std::string& path, int depth) {
    if (depth > kMaxSourceDepth)
        return;
    const auto text = root.ReadFile(path, kLeaseLimit);
    if (!text)
        return;
    const IfupdownFile file = ParseIfupdown(*text);
    for (const auto& [name, method] : file.inetMethods)
        ifupdown_[name] = method;
    for (const auto& source : file.sources) {
        const std::string pattern = Absolute(source);
        const std::string folder = Folder(pattern);
        const std::string last = pattern.substr(folder.size() + 1);
        if (last.find_first_of("*?[") == std::string::npos) {
            ReadIfupdown(root, pattern, depth + 1);
            continue;
        }
        for (const auto& name : root.ListFolder(folder))
            if (::fnmatch(last.c_str(), name.c_str(), FNM_PERIOD) == 0)
                ReadIfupdown(root, folder + "/" + name, depth + 1);
    }
    for (const auto& source : file.sourceDirectories) {
        const std::string folder = Absolute(source);
        for (const auto& name : root.ListFolder(folder))
            if (SourceDirectoryEntry(name))
                ReadIfupdown(root, folder + "/" + name, depth + 1);
    }
}

DhcpEvidence::DhcpEvidence(const SystemRoot& root) {
    for (const auto& name : root.ListFolder("/run/systemd/netif/leases"))
        networkdLeases_.insert(name);
    ReadIfupdown(root, "/etc/network/interfaces", 0);
    for (const char* folder : {"/var/lib/dhcp", "/var/lib/dhclient"}) {
        for (const auto& name : root.ListFolder(folder)) {
            if (!name.starts_with("dhclient") || !name.ends_with(".leases") ||
                name.starts_with("dhclient6"))
                continue;
            if (const auto text = root.ReadFile(std::string(folder) + "/" + name, kLeaseLimit))
                dhclient_.merge(DhclientInterfaces(*text));
        }
    }
    networkManager_ = root.ListFolder("/var/lib/NetworkManager");
    for (const char* folder : {"/var/lib/dhcpcd", "/var/lib/dhcpcd5"})
        for (auto& name : root.ListFolder(folder))
            dhcpcd_.push_back(std::move(name));
}

std::optional<bool> DhcpEvidence::Enabled(const std::string& interface,
                                          std::optional<std::uint32_t> index) const {
    if (index && networkdLeases_.count(std::to_string(*index)))
        return true;
    if (const auto method = ifupdown_.find(interface); method != ifupdown_.end()) {
        if (method->second == "dhcp")
            return true;
        if (method->second == "static")
            return false;
    }
    if (dhclient_.count(interface))
        return true;
    for (const auto& file : networkManager_)
        if (NetworkManagerNames(file, interface))
            return true;
    for (const auto& file : dhcpcd_)
        if (DhcpcdNames(file, interface))
            return true;
    return std::nullopt;
}

}  // namespace platform::live
