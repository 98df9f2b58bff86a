#pragma once
// The DNS servers the resolver asks, from /etc/resolv.conf. When that names only the local
// stub of systemd-resolved, the servers the stub forwards to are the ones that answer: those
// of /run/systemd/resolve/resolv.conf. Linux keeps one list for the machine; every adapter
// that is up shows it.
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

// The addresses of the "nameserver" lines, in order, without repeats.
std::vector<std::string> ParseNameservers(std::string_view resolvConf);

// The servers of /etc/resolv.conf, or of systemd-resolved's own file when the first names its
// stub alone.
std::vector<std::string> ChooseNameservers(std::string_view resolvConf,
                                           std::string_view resolvedConf);

std::vector<std::wstring> DnsServers(const SystemRoot& root);

}  // namespace platform::live
