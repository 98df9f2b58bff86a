#pragma once
// The machine's host name and DNS domain, decided as the system's own "hostname -d" does:
// the domain is what follows the first dot of the host's canonical name.
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/live/common/system_root.h"

namespace platform::live::firmware {

// What follows the first dot of a host name (a final dot dropped); nothing without one.
std::optional<std::string> DomainOf(std::string_view name);
// The canonical name of a host in a hosts file: the first name of the first line that lists
// it, comments ignored, names compared ignoring letter case.
std::optional<std::string> CanonicalNameInHosts(std::string_view hosts, std::string_view host);

// The kernel's host name: gethostname on the live system, /proc/sys/kernel/hostname under a
// root.
std::optional<std::string> ReadHostName(const SystemRoot& root);
// The DNS domain of the host: from the resolver's canonical name on the live system (asked
// with a time limit: a resolver without network may not answer), from /etc/hosts under a
// root; else from the host name itself when it has a dot.
std::optional<std::string> ReadDnsDomain(const SystemRoot& root, const std::string& host);

}  // namespace platform::live::firmware
