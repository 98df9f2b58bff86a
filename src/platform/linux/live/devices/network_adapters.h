#pragma once
// Win32_NetworkAdapterConfiguration from the interfaces in /sys/class/net and their IP
// addresses. One object per interface but the loopback; IPEnabled when the interface is up
// (IFF_UP, and its operational state is not down) and has an address. An interface whose
// flags cannot be read has gone away while read: it is left out. IPSubnet holds a mask per
// IPv4 address and a prefix length per IPv6 one, as Windows does; DHCPEnabled is null when
// no lease or configuration tells.
//
// Description is the interface's PCI or USB device name followed by the interface name,
// "Intel Corporation 82574L Gigabit Network Connection (eth0)", so that two cards of one
// model stay two items; an interface without such a device (virtio, bridges, tunnels,
// bonds) is described by its name alone.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/devices/interface_addresses.h"
#include "platform/wmi_objects.h"

namespace platform::live {

// "52:54:00:ab:cd:ef" -> "52:54:00:AB:CD:EF". Nothing for an all-zero or malformed address,
// nor for hardware addresses of other lengths: a tunnel's is its IPv4 address, InfiniBand's
// has 20 bytes; neither is a MAC address.
std::optional<std::string> WindowsMacAddress(std::string_view sysfsAddress);

// The objects of the interfaces under the root, with these addresses (getifaddrs' on the
// machine the program runs on).
WmiObjectList AdapterConfigurations(const SystemRoot& root,
                                    const std::vector<InterfaceAddress>& addresses);

}  // namespace platform::live
