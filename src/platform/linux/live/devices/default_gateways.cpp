#include "platform/linux/live/devices/default_gateways.h"
#include "platform/linux/live/common/text_views.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/linux/live/devices/sysfs_values.h"
#include "util/utf.h"

namespace platform::live {
namespace {

constexpr std::uint32_t kRouteUp = 0x0001;
constexpr std::uint32_t kRouteGateway = 0x0002;
constexpr std::uint32_t kRouteReject = 0x0200;

// The blank-separated fields of each row from the given one on.
std::vector<std::vector<std::string_view>> Rows(std::string_view table, std::size_t first) {
    std::vector<std::vector<std::string_view>> rows;
    for (const std::string_view line : Lines(table))
        if (first > 0)
            --first;
        else
            rows.push_back(SplitWords(line, kWhiteSpace));
    return rows;
}

// 32 hex digits, the address's bytes in network order.
std::optional<std::array<unsigned char, 16>> Ipv6Bytes(std::string_view hex) {
    if (hex.size() != 32)
        return std::nullopt;
    std::array<unsigned char, 16> bytes{};
    for (std::size_t i = 0; i < 16; ++i) {
        const auto byte = ParseHexNumber(hex.substr(2 * i, 2));
        if (!byte)
            return std::nullopt;
        bytes[i] = static_cast<unsigned char>(*byte);
    }
    return bytes;
}

// A route in use that leads through a gateway.
bool IsGatewayRoute(std::uint32_t flags) {
    return (flags & (kRouteUp | kRouteGateway)) == (kRouteUp | kRouteGateway);
}

// The address as text in the interface's list, once.
void AddGateway(GatewaysByInterface& gateways, std::string_view interface, int family,
                const void* address) {
    char text[INET6_ADDRSTRLEN];
    if (!::inet_ntop(family, address, text, sizeof text))
        return;
    auto& list = gateways[std::string(interface)];
    const std::wstring gateway = Utf8ToWide(text);
    if (std::find(list.begin(), list.end(), gateway) == list.end())
        list.push_back(gateway);
}

void AddIpv4(GatewaysByInterface& gateways, std::string_view table) {
    // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT, after a row
    // of column titles.
    for (const auto& fields : Rows(table, 1)) {
        if (fields.size() < 8)
            continue;
        const auto destination = ParseHexNumber(fields[1]);
        const auto gateway = ParseHexNumber(fields[2]);
        const auto flags = ParseHexNumber(fields[3]);
        const auto mask = ParseHexNumber(fields[7]);
        if (!destination || !gateway || !flags || !mask || *destination != 0 || *mask != 0 ||
            *gateway == 0 || !IsGatewayRoute(*flags))
            continue;
        // The kernel prints the address's bytes as one number of this machine's byte order.
        in_addr address;
        std::memcpy(&address, &*gateway, sizeof address);
        AddGateway(gateways, fields[0], AF_INET, &address);
    }
}

void AddIpv6(GatewaysByInterface& gateways, std::string_view table) {
    // destination prefix source prefix next-hop metric refcount use flags interface
    for (const auto& fields : Rows(table, 0)) {
        if (fields.size() < 10)
            continue;
        const auto destination = Ipv6Bytes(fields[0]);
        const auto prefix = ParseHexNumber(fields[1]);
        const auto nextHop = Ipv6Bytes(fields[4]);
        const auto flags = ParseHexNumber(fields[8]);
        if (!destination || !prefix || !nextHop || !flags || *prefix != 0 ||
            std::any_of(destination->begin(), destination->end(), [](auto b) { return b != 0; }) ||
            std::all_of(nextHop->begin(), nextHop->end(), [](auto b) { return b == 0; }) ||
            !IsGatewayRoute(*flags) || (*flags & kRouteReject) != 0)
            continue;
        AddGateway(gateways, fields[9], AF_INET6, nextHop->data());
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
