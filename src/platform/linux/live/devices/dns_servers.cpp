#include "platform/linux/live/devices/dns_servers.h"

#include <algorithm>

#include "platform/linux/live/common/text_views.h"
#include "util/utf.h"

namespace platform::live {
namespace {

constexpr std::string_view kResolvedStub = "127.0.0.53";

}  // namespace

std::vector<std::string> ParseNameservers(std::string_view resolvConf) {
    std::vector<std::string> servers;
    for (const std::string_view line : Lines(resolvConf, Lines::Ends::kNewlineOrCrLf)) {
        const auto words = SplitWords(line.substr(0, line.find_first_of("#;")), kWhiteSpace);
        if (words.size() < 2 || words[0] != "nameserver")
            continue;
        const std::string server(words[1]);
        if (std::find(servers.begin(), servers.end(), server) == servers.end())
            servers.push_back(server);
    }
    return servers;
}

std::vector<std::string> ChooseNameservers(std::string_view resolvConf,
                                           std::string_view resolvedConf) {
    auto servers = ParseNameservers(resolvConf);
    if (servers.size() == 1 && servers[0] == kResolvedStub) {
        auto upstream = ParseNameservers(resolvedConf);
        if (!upstream.empty())
            return upstream;
    }
    return servers;
}

std::vector<std::wstring> DnsServers(const SystemRoot& root) {
    const auto servers =
        ChooseNameservers(root.ReadFile("/etc/resolv.conf", 1u << 20).value_or(""),
                          root.ReadFile("/run/systemd/resolve/resolv.conf", 1u << 20).value_or(""));
    std::vector<std::wstring> texts;
    for (const auto& server : servers)
        texts.push_back(Utf8ToWide(server));
    return texts;
}

}  // namespace platform::live
