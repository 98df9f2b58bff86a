// Network adapter configurations: MAC addresses, address order, gateways, DHCP evidence, and
// the objects of a fake /sys/class/net; on the live system, the shape of what it answers.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/devices/default_gateways.h"
#include "platform/linux/live/devices/dhcp_evidence.h"
#include "platform/linux/live/devices/dns_servers.h"
#include "platform/linux/live/devices/network_adapters.h"
#include "tree_root.h"
#include "util/utf.h"

using namespace platform;
using namespace platform::live;

namespace {

using Family = InterfaceAddress::Family;

const SystemRoot kTree = TreeRoot(FENNOCK_TREES_DIR "/devices-net");

std::vector<std::wstring> Texts(const WmiValue* value) {
    std::vector<std::wstring> texts;
    if (value && value->isArray)
        for (const auto& element : value->elements)
            texts.push_back(element.text);
    return texts;
}

TEST(NetworkAdapterTest, MacAddressesInWindowsForm) {
    EXPECT_EQ("52:54:00:AB:CD:EF", WindowsMacAddress("52:54:00:ab:cd:ef"));
    EXPECT_EQ("52:54:00:AB:CD:EF", WindowsMacAddress("52:54:00:AB:CD:EF\n"));
    for (const char* bad :
         {"", "00:00:00:00:00:00", "00:00:00:00", "52:54:00:ab:cd", "5:54:00", "52-54-00-ab-cd-ef",
          "52:54:00:ab:cd:eg", "52:54:00:ab:cd:ef:", "c0:a8:00:05"})
        EXPECT_FALSE(WindowsMacAddress(bad)) << bad;
}

TEST(NetworkAdapterTest, AddressesPutIpv4FirstAndKeepTheSystemsOrder) {
    const std::vector<InterfaceAddress> all = {
        {"eth0", Family::IPv6, "fe80::1", "64", 0},
        {"eth1", Family::IPv4, "10.0.0.9", "255.0.0.0", 0},
        {"eth0", Family::IPv4, "192.168.0.5", "255.255.255.0", 0},
        {"eth0", Family::IPv6, "2001:db8::5", "48", 0},
        {"eth0", Family::IPv4, "192.168.7.5", "255.255.254.0", 0},
    };
    const AdapterAddresses eth0 = AddressesOf(all, "eth0");
    EXPECT_EQ(
        (std::vector<std::wstring>{L"192.168.0.5", L"192.168.7.5", L"fe80::1", L"2001:db8::5"}),
        eth0.addresses);
    EXPECT_EQ((std::vector<std::wstring>{L"255.255.255.0", L"255.255.254.0", L"64", L"48"}),
              eth0.subnets);
    EXPECT_TRUE(AddressesOf(all, "eth").addresses.empty());
}

TEST(NetworkAdapterTest, DefaultGatewaysFromTheRoutingTables) {
    const auto gateways = ParseDefaultGateways(*kTree.ReadFile("/proc/net/route"),
                                               *kTree.ReadFile("/proc/net/ipv6_route"));
    EXPECT_EQ(
        (GatewaysByInterface{{"eth0", {L"192.168.0.1", L"fe80::1"}}, {"usb0", {L"10.10.0.1"}}}),
        gateways);
    EXPECT_TRUE(ParseDefaultGateways("", "").empty());
    EXPECT_TRUE(ParseDefaultGateways("Iface\nbad line\neth0 zz 0100A8C0 0003 0 0 0 00000000",
                                     "0000 00 garbled\n")
                    .empty());
    // A route that is not up is not a gateway; the same gateway twice is one.
    EXPECT_EQ((GatewaysByInterface{{"eth0", {L"192.168.0.1"}}}),
              ParseDefaultGateways("h\neth0 00000000 0100A8C0 0002 0 0 0 00000000 0 0 0\n"
                                   "eth0 00000000 0100A8C0 0003 0 0 0 00000000 0 0 0\n"
                                   "eth0 00000000 0100A8C0 0003 0 0 9 00000000 0 0 0\n",
                                   ""));
}

TEST(NetworkAdapterTest, DnsServersOfTheResolverOrOfItsStub) {
    using Servers = std::vector<std::string>;
    const struct {
        const char* resolvConf;
        const char* resolvedConf;
        Servers expected;
    } cases[] = {
        {"# c\nsearch a.b\nnameserver 10.0.0.1\r\nnameserver  fe80::1%eth0 # x\n"
         "nameserver 10.0.0.1\n;nameserver 10.0.0.9\nnameservers 10.0.0.8\nnameserver\n",
         "nameserver 1.1.1.1\n",
         {"10.0.0.1", "fe80::1%eth0"}},
        {"nameserver 127.0.0.53\noptions edns0\n",
         "nameserver 9.9.9.9\nnameserver 2001:db8::1\n",
         {"9.9.9.9", "2001:db8::1"}},
        // The stub's own file gone or empty: the stub is still the truth.
        {"nameserver 127.0.0.53\n", "", {"127.0.0.53"}},
        // Beside another server, the stub is one server among others.
        {"nameserver 127.0.0.53\nnameserver 10.0.0.1\n",
         "nameserver 9.9.9.9\n",
         {"127.0.0.53", "10.0.0.1"}},
        {"", "nameserver 9.9.9.9\n", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, ChooseNameservers(c.resolvConf, c.resolvedConf)) << c.resolvConf;
}

TEST(DhcpEvidenceTest, ParsesIfupdownStanzas) {
    const IfupdownFile file = ParseIfupdown(
        "# iface commented inet dhcp\n"
        "auto lo eth0\n"
        "iface lo inet loopback\n"
        "iface eth0 inet dhcp\n"
        "  iface-looking option\n"
        "iface eth0 inet6 static\n"
        "iface wlan0 inet\n"
        "source interfaces.d/*\n"
        "source-directory /etc/network/more.d\n");
    EXPECT_EQ((std::map<std::string, std::string>{{"lo", "loopback"}, {"eth0", "dhcp"}}),
              file.inetMethods);
    EXPECT_EQ(std::vector<std::string>{"interfaces.d/*"}, file.sources);
    EXPECT_EQ(std::vector<std::string>{"/etc/network/more.d"}, file.sourceDirectories);
}

TEST(DhcpEvidenceTest, FindsTheInterfacesOfDhclientLeases) {
    EXPECT_EQ((std::set<std::string>{"eth0", "wlan0"}),
              DhclientInterfaces("lease {\n  interface \"eth0\";\n}\nlease { interface "
                                 "\"wlan0\"; }\nlease { interface \"\"; }\ninterface \"cut"));
    EXPECT_TRUE(DhclientInterfaces("").empty());
}

TEST(DhcpEvidenceTest, TellsEachInterfaceFromTheFilesOfTheTree) {
    const DhcpEvidence dhcp(kTree);
    EXPECT_EQ(true, dhcp.Enabled("eth0", 2)) << "dhclient's lease";
    EXPECT_EQ(false, dhcp.Enabled("eth1", 3)) << "ifupdown's static method wins a stale lease";
    EXPECT_EQ(true, dhcp.Enabled("usb0", 4)) << "ifupdown, through its source line";
    EXPECT_EQ(true, dhcp.Enabled("br0", 5)) << "networkd's lease of interface 5";
    EXPECT_EQ(true, dhcp.Enabled("eth2", 6)) << "NetworkManager's lease";
    EXPECT_EQ(std::nullopt, dhcp.Enabled("tun0", 7));
    EXPECT_EQ(std::nullopt, dhcp.Enabled("br0", std::nullopt));
    EXPECT_EQ(std::nullopt, DhcpEvidence(TreeRoot(FENNOCK_TREES_DIR "/missing")).Enabled("a", 1));
}

TEST(NetworkAdapterTest, OneObjectPerInterfaceButTheLoopback) {
    const std::vector<InterfaceAddress> addresses = {
        {"lo", Family::IPv4, "127.0.0.1", "255.0.0.0", 0},
        {"eth0", Family::IPv6, "fe80::5054:ff:feab:cdef", "64", 0},
        {"eth0", Family::IPv4, "192.168.0.5", "255.255.255.0", 0},
        {"eth1", Family::IPv4, "192.168.2.5", "255.255.255.0", 0},
        {"eth2", Family::IPv4, "10.9.9.9", "255.0.0.0", 0},
        {"br0", Family::IPv4, "10.1.0.7", "255.255.0.0", 0},
    };
    const WmiObjectList objects = AdapterConfigurations(kTree, addresses);
    std::map<std::wstring, const WmiObject*> byDescription;
    for (const auto& object : objects) {
        const WmiValue* description = object.Find(L"Description");
        ASSERT_NE(nullptr, description);
        ASSERT_EQ(WmiValue::Kind::String, description->kind);
        EXPECT_TRUE(byDescription.emplace(description->text, &object).second)
            << "descriptions are the items' keys: " << WideToUtf8(description->text);
        for (const wchar_t* property :
             {L"IPEnabled", L"MACAddress", L"IPAddress", L"IPSubnet", L"DHCPEnabled",
              L"DefaultIPGateway", L"DNSServerSearchOrder", L"Index", L"InterfaceIndex",
              L"ServiceName"})
            EXPECT_NE(nullptr, object.Find(property)) << WideToUtf8(property);
    }
    ASSERT_EQ(6u, objects.size()) << "no loopback, nor the interface gone without its flags";

    // Two cards of one model: the interface name keeps them apart.
    const WmiObject& eth0 =
        *byDescription.at(L"Intel Corporation 82574L Gigabit Network Connection (eth0)");
    ASSERT_TRUE(byDescription.count(L"Intel Corporation 82574L Gigabit Network Connection (eth1)"));
    EXPECT_TRUE(eth0.Find(L"IPEnabled")->boolean);
    EXPECT_EQ(L"52:54:00:AB:CD:EF", eth0.Find(L"MACAddress")->text);
    EXPECT_EQ((std::vector<std::wstring>{L"192.168.0.5", L"fe80::5054:ff:feab:cdef"}),
              Texts(eth0.Find(L"IPAddress")));
    EXPECT_EQ((std::vector<std::wstring>{L"255.255.255.0", L"64"}), Texts(eth0.Find(L"IPSubnet")));
    EXPECT_EQ((std::vector<std::wstring>{L"192.168.0.1", L"fe80::1"}),
              Texts(eth0.Find(L"DefaultIPGateway")));
    EXPECT_EQ((std::vector<std::wstring>{L"192.168.0.1", L"2001:db8::53"}),
              Texts(eth0.Find(L"DNSServerSearchOrder")))
        << "the servers behind systemd-resolved's stub";
    EXPECT_EQ(WmiValue::Kind::Boolean, eth0.Find(L"DHCPEnabled")->kind);
    EXPECT_TRUE(eth0.Find(L"DHCPEnabled")->boolean);
    EXPECT_EQ(WmiValue::Kind::UInt32, eth0.Find(L"InterfaceIndex")->kind);
    EXPECT_EQ(2, eth0.Find(L"InterfaceIndex")->number);
    EXPECT_EQ(L"e1000e", eth0.Find(L"ServiceName")->text);

    const WmiObject& usb0 =
        *byDescription.at(L"Realtek Semiconductor Corp. RTL8153 Gigabit Ethernet Adapter (usb0)");
    EXPECT_FALSE(usb0.Find(L"IPEnabled")->boolean) << "up, but without an address";
    EXPECT_EQ(WmiValue::Kind::Null, usb0.Find(L"IPAddress")->kind);
    EXPECT_EQ(WmiValue::Kind::Null, usb0.Find(L"DNSServerSearchOrder")->kind);
    EXPECT_EQ(L"r8152", usb0.Find(L"ServiceName")->text);

    // Without a PCI or USB device, the interface's name; a virtio adapter that is down.
    EXPECT_TRUE(byDescription.at(L"br0")->Find(L"IPEnabled")->boolean);
    EXPECT_EQ(WmiValue::Kind::Null, byDescription.at(L"br0")->Find(L"ServiceName")->kind);
    const WmiObject& eth2 = *byDescription.at(L"eth2");
    EXPECT_FALSE(eth2.Find(L"IPEnabled")->boolean) << "has an address but is down";
    EXPECT_EQ(L"virtio_net", eth2.Find(L"ServiceName")->text);
    const WmiObject& tun0 = *byDescription.at(L"tun0");
    EXPECT_EQ(WmiValue::Kind::Null, tun0.Find(L"MACAddress")->kind);
    EXPECT_EQ(WmiValue::Kind::Null, tun0.Find(L"DHCPEnabled")->kind);
    EXPECT_EQ(WmiValue::Kind::Null, tun0.Find(L"DefaultIPGateway")->kind);
}

TEST(NetworkAdapterTest, NoSystemNoAdapters) {
    EXPECT_TRUE(NetworkAdapterConfigurations(TreeRoot(FENNOCK_TREES_DIR "/missing")).empty());
    // Without sysfs, the interfaces that have addresses, loopback still left out by its flags.
    const auto objects = AdapterConfigurations(
        TreeRoot(FENNOCK_TREES_DIR "/missing"),
        {{"lo", Family::IPv4, "127.0.0.1", "255.0.0.0", IFF_UP | IFF_LOOPBACK},
         {"eth0", Family::IPv4, "10.0.0.2", "255.0.0.0", IFF_UP}});
    ASSERT_EQ(1u, objects.size());
    EXPECT_EQ(L"eth0", objects[0].Find(L"Description")->text);
    EXPECT_TRUE(objects[0].Find(L"IPEnabled")->boolean);
}

TEST(NetworkAdapterLiveTest, EnabledAdaptersAreUpAndNotLoopback) {
    ifaddrs* list = nullptr;
    ASSERT_EQ(0, ::getifaddrs(&list));
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owner(list, ::freeifaddrs);
    std::map<std::string, unsigned> flags;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next)
        flags[entry->ifa_name] = entry->ifa_flags;

    for (const auto& object : NetworkAdapterConfigurations(SystemRoot())) {
        ASSERT_NE(nullptr, object.Find(L"IPEnabled"));
        if (!object.Find(L"IPEnabled")->boolean)
            continue;
        const WmiValue* index = object.Find(L"InterfaceIndex");
        ASSERT_EQ(WmiValue::Kind::UInt32, index->kind);
        char name[IF_NAMESIZE] = {};
        ASSERT_NE(nullptr, ::if_indextoname(static_cast<unsigned>(index->number), name));
        EXPECT_TRUE(flags[name] & IFF_UP) << name;
        EXPECT_FALSE(flags[name] & IFF_LOOPBACK) << name;
        EXPECT_FALSE(object.Find(L"Description")->text.empty());
        const auto addresses = Texts(object.Find(L"IPAddress"));
        EXPECT_FALSE(addresses.empty());
        bool seenIpv6 = false;
        for (const auto& address : addresses) {
            unsigned char bytes[16];
            const std::string text = WideToUtf8(address);
            const bool ipv4 = ::inet_pton(AF_INET, text.c_str(), bytes) == 1;
            const bool ipv6 = ::inet_pton(AF_INET6, text.c_str(), bytes) == 1;
            EXPECT_TRUE(ipv4 || ipv6) << text;
            EXPECT_FALSE(ipv4 && seenIpv6) << "IPv4 before IPv6: " << text;
            seenIpv6 = seenIpv6 || ipv6;
        }
        EXPECT_EQ(addresses.size(), Texts(object.Find(L"IPSubnet")).size());
    }
}

}  // namespace
