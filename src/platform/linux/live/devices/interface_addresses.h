#pragma once
// The IP addresses of the network interfaces, as the system lists them (getifaddrs), and
// their order in an adapter's configuration: IPv4 first, then IPv6, each in the system's order.
#include <string>
#include <vector>

namespace platform::live {

struct InterfaceAddress {
    enum class Family { IPv4, IPv6 };
    std::string interface;
    Family family = Family::IPv4;
    std::string address;  // numeric; IPv6 without its zone ("fe80::1", not "fe80::1%eth0")
    std::string subnet;   // IPv4: the mask ("255.255.255.0"); IPv6: the prefix length ("64")
    unsigned flags = 0;   // the interface's IFF_ flags, for a system without sysfs
};

// Every address of the machine the program runs on; none when the system refuses the list.
std::vector<InterfaceAddress> LiveInterfaceAddresses();

struct AdapterAddresses {
    std::vector<std::wstring> addresses;
    std::vector<std::wstring> subnets;  // in the order of the addresses
};

AdapterAddresses AddressesOf(const std::vector<InterfaceAddress>& all,
                             const std::string& interface);

}  // namespace platform::live
