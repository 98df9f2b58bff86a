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

// Where the IP address inside a socket address lies; nothing for other families.
const void* AddressOf(const sockaddr& socketAddress) {
    if (socketAddress.sa_family == AF_INET)
        return &reinterpret_cast<const sockaddr_in&>(socketAddress).sin_addr;
    if (socketAddress.sa_family == AF_INET6)
        return &reinterpret_cast<const sockaddr_in6&>(socketAddress).sin6_addr;
    return nullptr;
}

// An IPv4 mask as an address, an IPv6 one as its prefix length; empty when unreadable.
std::string Subnet(int family, const sockaddr& mask) {
    if (family == AF_INET6)
        return std::to_string(PrefixLength(reinterpret_cast<const sockaddr_in6&>(mask).sin6_addr));
    const auto& address = reinterpret_cast<const sockaddr_in&>(mask).sin_addr;
    char text[INET_ADDRSTRLEN] = {};
    return ::inet_ntop(AF_INET, &address, text, sizeof text) ? text : "";
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
        const int family = entry->ifa_addr->sa_family;
        const void* ip = AddressOf(*entry->ifa_addr);
        // inet_ntop writes an IPv6 address alone: the zone (scope id) is a separate field.
        char text[INET6_ADDRSTRLEN] = {};
        if (!ip || !::inet_ntop(family, ip, text, sizeof text))
            continue;
        InterfaceAddress address;
        address.interface = entry->ifa_name;
        address.flags = entry->ifa_flags;
        address.family =
            family == AF_INET ? InterfaceAddress::Family::IPv4 : InterfaceAddress::Family::IPv6;
        address.address = text;
        if (entry->ifa_netmask)
            address.subnet = Subnet(family, *entry->ifa_netmask);
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
