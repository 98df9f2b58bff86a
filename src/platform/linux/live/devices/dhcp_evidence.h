#pragma once
// Whether DHCP configures an interface's IPv4 address, from what the network managers leave
// on disk: systemd-networkd's current leases, ifupdown's configuration, and the lease files of
// dhclient, NetworkManager and dhcpcd. No evidence either way is no answer.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

// One file of ifupdown's configuration (/etc/network/interfaces).
struct IfupdownFile {
    std::map<std::string, std::string> inetMethods;  // "eth0" -> "dhcp", "static", "manual"...
    std::vector<std::string> sources;                // "source" patterns, as written
    std::vector<std::string> sourceDirectories;      // "source-directory" folders
};
IfupdownFile ParseIfupdown(std::string_view text);

// The interfaces that dhclient's lease file names (`interface "eth0";`).
std::set<std::string> DhclientInterfaces(std::string_view leases);

class DhcpEvidence {
  public:
    // Reads everything once: the answer for each interface comes from memory.
    explicit DhcpEvidence(const SystemRoot& root);

    // A current networkd lease, then ifupdown's method ("dhcp" or "static"), then a lease
    // file of the other clients (which may outlive a change of configuration).
    std::optional<bool> Enabled(const std::string& interface,
                                std::optional<std::uint32_t> index) const;

  private:
    void ReadIfupdown(const SystemRoot& root, const std::string& file, int depth);

    std::set<std::string> networkdLeases_;  // interface indexes
    std::map<std::string, std::string> ifupdown_;
    std::set<std::string> dhclient_;
    std::vector<std::string> networkManager_;  // lease file names
    std::vector<std::string> dhcpcd_;
};

}  // namespace platform::live
