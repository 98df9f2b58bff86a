#include "platform/linux/live/devices/default_gateways.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <sstream>

#include "platform/linux/live/devices/sysfs_values.h"
#include "util/utf.h"

namespace platform::live {
namespace {

constexpr std::uint32_t kRouteUp = 0x0001;
constexpr std::uint32_t kRouteGateway = 0x0002;
constexpr std::uint32_t kRouteReject = 0x0200;

std::vector<std::string> Fields(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> fields;
    for (std::string field; in >> field;)
        fields.push_back(field);
    return fields;
}

void Add(GatewaysByInterface& gateways, const std::string& interface, const char* address) {
    auto& list = gateways[interface];
    const std::wstring text = Utf8ToWide(address);
    if (std::find(list.begin(), list.end(), text) == list.end())
        list.push_back(text);
}

// 32 hex digits, the address's bytes in network order.
std::optional<std::array<unsigned char, 16>> Ipv6Bytes(const std::string& hex) {
    if (hex.size() != 32)
        return std::nullopt;
    std::array<unsigned char, 16> bytes{};
    for (std::size_t i = 0; i < 16; ++i) {
        const auto byte = ParseHexNumber(std::string_view(hex).substr(2 * i, 2));
        if (!byte)
            return std::nullopt;
        bytes[i] = static_cast<unsigned char>(*byte);
    }
    return bytes;
}

void AddIpv4(GatewaysByInterface& gateways, std::string_view table) {
    std::istringstream in{std::string(table)};
    std::string line;
    std::getline(in, line);  // the column titles
    while (std::getline(in, line)) {
        // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT
        const auto fields = Fields(line);
        if (fields.size() < 8)
            continue;
        const auto destination = ParseHexNumber(fields[1]);
        const auto gateway = ParseHexNumber(fields[2]);
        const auto flags = ParseHexNumber(fields[3]);
        const auto mask = ParseHexNumber(fields[7]);
        if (!destination || !gateway || !flags || !mask || *destination != 0 || *mask != 0 ||
            *gateway == 0 || (*flags & (kRouteUp | kRouteGateway)) != (kRouteUp | kRouteGateway))
            continue;
        // The kernel prints the address's bytes as one number of this machine's byte order.
        in_addr address;
        std::memcpy(&address, &*gateway, sizeof address);
        char text[INET_ADDRSTRLEN];
        if (::inet_ntop(AF_INET, &address, text, sizeof text))
            Add(gateways, fields[0], text);
    }
}

void AddIpv6(GatewaysByInterface& gateways, std::string_view table) {
    std::istringstream in{std::string(table)};
    std::string line;
    while (std::getline(in, line)) {
        // destination prefix source prefix next-hop metric refcount use flags interface
        const auto fields = Fields(line);
        if (fields.size() < 10)
            continue;
        const auto destination = Ipv6Bytes(fields[0]);
        const auto prefix = ParseHexNumber(fields[1]);
        const auto nextHop = Ipv6Bytes(fields[4]);
        const auto flags = ParseHexNumber(fields[8]);
        if (!destination || !prefix || !nextHop || !flags || *prefix != 0 ||
            std::any_of(destination->begin(), destination->end(), [](auto b) { return b != 0; }) ||
            std::all_of(nextHop->begin(), nextHop->end(), [](auto b) { return b == 0; }) ||
            (*flags & (kRouteUp | kRouteGateway)) != (kRouteUp | kRouteGateway) ||
            (*flags & kRouteReject) != 0)
            continue;
        char text[INET6_ADDRSTRLEN];
        if (::inet_ntop(AF_INET6, nextHop->data(), text, sizeof text))
            Add(gateways, fields[9], text);
    }
}

}  // namespace

GatewaysByInterface ParseDefaultGateways(std::string_view ipv4Routes, std::string_view ipv6Routes) {
    GatewaysByInterface gateways;
    AddIpv4(gateways, ipv4Routes);
    AddIpv6(gateways, ipv6Routes);
    return gateways;
}

}  // namespace platform::live
