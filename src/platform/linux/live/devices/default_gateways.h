#pragma once
// The default gateways of each interface, from the kernel's routing tables as procfs shows
// them (/proc/net/route, /proc/net/ipv6_route): IPv4 first, then IPv6, without repeats.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform::live {

using GatewaysByInterface = std::map<std::string, std::vector<std::wstring>>;

GatewaysByInterface ParseDefaultGateways(std::string_view ipv4Routes, std::string_view ipv6Routes);

}  // namespace platform::live
