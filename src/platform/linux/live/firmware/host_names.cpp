#include "platform/linux/live/firmware/host_names.h"

#include <vector>

#include "platform/linux/live/firmware/firmware_text.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live::firmware {
namespace {

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
    const auto name = root.Calls().HostName();
    return name ? Trimmed(*name) : std::nullopt;
}

std::optional<std::string> ReadDnsDomain(const SystemRoot& root, const std::string& host) {
    if (const auto canonical = root.Calls().CanonicalName(host))
        if (auto domain = DomainOf(*canonical))
            return domain;
    return DomainOf(host);
}

}  // namespace platform::live::firmware
