#include "platform/linux/live/devices/interface_addresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <bit>
#include <memory>

#include "util/utf.h"

namespace platform::live {
namespace {

int PrefixLength(const in6_addr& mask) {
    int bits = 0;
    for (unsigned char byte : mask.s6_addr)
        bits += std::popcount(byte);
    return bits;
}

}  // namespace

std::vector<InterfaceAddress> LiveInterfaceAddresses() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return {};
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owner(list, ::freeifaddrs);
    std::vector<InterfaceAddress> addresses;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || !entry->ifa_name)
            continue;
        InterfaceAddress address;
        address.interface = entry->ifa_name;
        address.flags = entry->ifa_flags;
        char text[INET6_ADDRSTRLEN] = {};
        if (entry->ifa_addr->sa_family == AF_INET) {
            address.family = InterfaceAddress::Family::IPv4;
            const auto* ip = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            if (!::inet_ntop(AF_INET, &ip->sin_addr, text, sizeof text))
                continue;
            address.address = text;
            if (entry->ifa_netmask) {
                const auto* mask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask);
                if (::inet_ntop(AF_INET, &mask->sin_addr, text, sizeof text))
                    address.subnet = text;
            }
        } else if (entry->ifa_addr->sa_family == AF_INET6) {
            address.family = InterfaceAddress::Family::IPv6;
            const auto* ip = reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr);
            // inet_ntop writes the address alone: the zone (scope id) is a separate field.
            if (!::inet_ntop(AF_INET6, &ip->sin6_addr, text, sizeof text))
                continue;
            address.address = text;
            if (entry->ifa_netmask) {
                const auto* mask = reinterpret_cast<const sockaddr_in6*>(entry->ifa_netmask);
                address.subnet = std::to_string(PrefixLength(mask->sin6_addr));
            }
        } else {
            continue;
        }
        addresses.push_back(std::move(address));
    }
    return addresses;
}

AdapterAddresses AddressesOf(const std::vector<InterfaceAddress>& all,
                             const std::string& interface) {
    AdapterAddresses result;
    for (const auto family : {InterfaceAddress::Family::IPv4, InterfaceAddress::Family::IPv6}) {
        for (const auto& address : all) {
            if (address.interface != interface || address.family != family ||
                address.address.empty())
                continue;
            result.addresses.push_back(Utf8ToWide(address.address));
            result.subnets.push_back(Utf8ToWide(address.subnet));
        }
    }
    return result;
}

}  // namespace platform::live
