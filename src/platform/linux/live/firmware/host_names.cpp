#include "platform/linux/live/firmware/host_names.h"

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <future>
#include <thread>
#include <vector>

#include "platform/linux/live/firmware/firmware_text.h"

namespace platform::live::firmware {
namespace {

constexpr auto kResolverWait = std::chrono::seconds(3);

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<std::string> ResolverCanonicalName(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    std::optional<std::string> name;
    if (found->ai_canonname)
        name = found->ai_canonname;
    ::freeaddrinfo(found);
    return name;
}

// The resolver cannot be interrupted: it answers on a thread of its own, left to finish
// alone when it takes too long.
std::optional<std::string> CanonicalNameWithin(const std::string& host) {
    std::packaged_task<std::optional<std::string>()> lookup(
        [host] { return ResolverCanonicalName(host); });
    auto answer = lookup.get_future();
    std::thread(std::move(lookup)).detach();
    if (answer.wait_for(kResolverWait) != std::future_status::ready)
        return std::nullopt;
    return answer.get();
}

}  // namespace

std::optional<std::string> DomainOf(std::string_view name) {
    if (!name.empty() && name.back() == '.')
        name.remove_suffix(1);
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    return Trimmed(name.substr(dot + 1));
}

std::optional<std::string> CanonicalNameInHosts(std::string_view hosts, std::string_view host) {
    while (!hosts.empty()) {
        const std::size_t end = hosts.find('\n');
        std::string_view line = hosts.substr(0, end);
        hosts.remove_prefix(end == std::string_view::npos ? hosts.size() : end + 1);
        line = line.substr(0, line.find('#'));
        std::vector<std::string_view> fields;
        while (!line.empty()) {
            const std::size_t start = line.find_first_not_of(" \t\r");
            if (start == std::string_view::npos)
                break;
            line.remove_prefix(start);
            const std::size_t stop = line.find_first_of(" \t\r");
            fields.push_back(line.substr(0, stop));
            line.remove_prefix(stop == std::string_view::npos ? line.size() : stop);
        }
        // fields[0] is the address.
        for (std::size_t i = 1; i < fields.size(); ++i)
            if (SameIgnoringCase(fields[i], host))
                return std::string(fields[1]);
    }
    return std::nullopt;
}

std::optional<std::string> ReadHostName(const SystemRoot& root) {
    if (root.IsLive()) {
        char name[HOST_NAME_MAX + 1] = {};
        if (::gethostname(name, sizeof name - 1) == 0)
            return Trimmed(name);
        return std::nullopt;
    }
    const auto line = root.ReadLine("/proc/sys/kernel/hostname");
    return line ? Trimmed(*line) : std::nullopt;
}

std::optional<std::string> ReadDnsDomain(const SystemRoot& root, const std::string& host) {
    std::optional<std::string> canonical;
    if (root.IsLive())
        canonical = CanonicalNameWithin(host);
    else if (const auto hosts = root.ReadFile("/etc/hosts", 1u << 20))
        canonical = CanonicalNameInHosts(*hosts, host);
    if (canonical)
        if (auto domain = DomainOf(*canonical))
            return domain;
    return DomainOf(host);
}

}  // namespace platform::live::firmware
