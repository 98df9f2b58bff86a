#include "platform/linux/live/firmware/host_names.h"

#include <vector>

#include "platform/linux/live/firmware/firmware_text.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live::firmware {

std::optional<std::string> DomainOf(std::string_view name) {
    if (!name.empty() && name.back() == '.')
        name.remove_suffix(1);
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    return Trimmed(name.substr(dot + 1));
}

std::optional<std::string> CanonicalNameInHosts(std::string_view hosts, std::string_view host) {
    for (const std::string_view line : Lines(hosts)) {
        const auto fields = SplitWords(line.substr(0, line.find('#')), " \t\r");
        // fields[0] is the address.
        for (std::size_t i = 1; i < fields.size(); ++i)
            if (EqualIgnoringCase(fields[i], host))
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
