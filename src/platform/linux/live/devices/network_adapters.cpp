#include "platform/linux/live/devices/network_adapters.h"
#include "platform/linux/live/common/text_views.h"

#include <net/if.h>

#include <algorithm>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/devices/default_gateways.h"
#include "platform/linux/live/devices/dhcp_evidence.h"
#include "platform/linux/live/devices/dns_servers.h"
#include "platform/linux/live/devices/hardware_names.h"
#include "platform/linux/live/devices/sysfs_values.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

constexpr std::uint32_t kLoopbackType = 772;  // ARPHRD_LOOPBACK
constexpr std::size_t kMacLength = 17;        // six bytes: "52:54:00:ab:cd:ef"

// The interfaces sysfs lists; without sysfs, those that have an address.
std::vector<std::string> InterfaceNames(const SystemRoot& root,
                                        const std::vector<InterfaceAddress>& addresses) {
    std::vector<std::string> names = root.ListFolder("/sys/class/net");
    if (!names.empty())
        return names;
    for (const auto& address : addresses)
        if (std::find(names.begin(), names.end(), address.interface) == names.end())
            names.push_back(address.interface);
    return names;
}

// Sysfs's flags; getifaddrs' where there is no sysfs. Nothing for an interface that went away.
std::optional<std::uint32_t> Flags(const SystemRoot& root, const std::string& folder,
                                   const std::string& name,
                                   const std::vector<InterfaceAddress>& addresses) {
    if (const auto line = root.ReadLine(folder + "/flags"))
        return ParseHexNumber(*line);
    if (root.Exists("/sys/class/net"))
        return std::nullopt;
    for (const auto& address : addresses)
        if (address.interface == name)
            return address.flags;
    return std::nullopt;
}

// "down", or down below this interface (a VLAN on a cable that is out), or gone.
bool OperationallyDown(const SystemRoot& root, const std::string& folder) {
    const auto state = root.ReadLine(folder + "/operstate");
    return state && (*state == "down" || *state == "lowerlayerdown" || *state == "notpresent");
}

WmiValue StringsOrNull(const std::vector<std::wstring>& texts) {
    return texts.empty() ? WmiValue::Null() : Strings(texts);
}

}  // namespace

std::optional<std::string> WindowsMacAddress(std::string_view sysfsAddress) {
    while (!sysfsAddress.empty() && (sysfsAddress.back() == '\n' || sysfsAddress.back() == ' '))
        sysfsAddress.remove_suffix(1);
    if (sysfsAddress.size() != kMacLength)
        return std::nullopt;
    std::string mac;
    bool zero = true;
    for (std::size_t i = 0; i < sysfsAddress.size(); ++i) {
        const char c = sysfsAddress[i];
        if (i % 3 == 2) {
            if (c != ':')
                return std::nullopt;
            mac += ':';
            continue;
        }
        if (HexDigitValue(c) < 0)
            return std::nullopt;
        zero = zero && c == '0';
        mac += (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    if (zero)
        return std::nullopt;
    return mac;
}

WmiObjectList AdapterConfigurations(const SystemRoot& root,
                                    const std::vector<InterfaceAddress>& addresses) {
    const DhcpEvidence dhcp(root);
    const auto gateways = ParseDefaultGateways(root.ReadFile("/proc/net/route").value_or(""),
                                               root.ReadFile("/proc/net/ipv6_route").value_or(""));
    const auto dnsServers = DnsServers(root);
    WmiObjectList objects;
    for (const auto& name : InterfaceNames(root, addresses)) {
        const std::string folder = "/sys/class/net/" + name;
        const auto flags = Flags(root, folder, name, addresses);
        const auto type = root.ReadLine(folder + "/type");
        if (!flags || (*flags & IFF_LOOPBACK) ||
            (type && ParseDecimalNumber(*type) == kLoopbackType))
            continue;
        const AdapterAddresses ip = AddressesOf(addresses, name);
        const bool enabled =
            (*flags & IFF_UP) && !OperationallyDown(root, folder) && !ip.addresses.empty();

        std::string description = name;
        if (const auto ids = SysfsDeviceIds(root, folder + "/device"))
            if (const auto device = DisplayName(*ids, root.Calls().HardwareDatabaseName(*ids)))
                description = *device + " (" + name + ")";
        const auto indexLine = root.ReadLine(folder + "/ifindex");
        const auto index = indexLine ? ParseDecimalNumber(*indexLine) : std::nullopt;
        const auto macLine = root.ReadLine(folder + "/address");
        const auto mac = macLine ? WindowsMacAddress(*macLine) : std::nullopt;
        const auto gateway = gateways.find(name);

        WmiObject object;
        object.Set(L"Description", Text(description));
        object.Set(L"IPEnabled", Boolean(enabled));
        object.Set(L"MACAddress", OrNull(mac, [](const std::string& m) { return Text(m); }));
        object.Set(L"IPAddress", StringsOrNull(ip.addresses));
        object.Set(L"IPSubnet", StringsOrNull(ip.subnets));
        object.Set(L"DefaultIPGateway",
                   gateway == gateways.end() ? WmiValue::Null() : Strings(gateway->second));
        object.Set(L"DNSServerSearchOrder", enabled ? StringsOrNull(dnsServers) : WmiValue::Null());
        object.Set(L"DHCPEnabled", OrNull(dhcp.Enabled(name, index), Boolean));
        object.Set(L"Index", OrNull(index, UInt32));
        object.Set(L"InterfaceIndex", OrNull(index, UInt32));
        object.Set(L"ServiceName", OrNull(LinkName(root, folder + "/device/driver"),
                                          [](const std::string& driver) { return Text(driver); }));
        objects.push_back(std::move(object));
    }
    return objects;
}

WmiObjectList NetworkAdapterConfigurations(const SystemRoot& root) {
    return AdapterConfigurations(root, root.Calls().InterfaceAddresses());
}

}  // namespace platform::live
