#include "platform/linux/live/system/user_accounts.h"

#include <ctime>
#include <set>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/decimal.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/system/kernel_identity.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t colon = line.find(':');
        fields.push_back(line.substr(0, colon));
        if (colon == std::string_view::npos)
            return fields;
        line.remove_prefix(colon + 1);
    }
}

template <class Each>
void ForEachLine(std::string_view text, Each each) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        each(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
}

bool IsAccountName(std::string_view name) {
    return !name.empty() && name.front() != '+' && name.front() != '-' && name.front() != '#';
}

WmiObject Account(const PasswdEntry& entry, const std::optional<std::string>& domain,
                  std::optional<bool> local, std::optional<bool> disabled) {
    const auto text = [](const std::string& value) { return Text(value); };
    WmiObject account;
    account.Set(L"Name", Text(entry.name));
    account.Set(L"FullName", OrNull(FullName(entry.gecos), text));
    account.Set(L"Domain", OrNull(domain, text));
    account.Set(L"LocalAccount", OrNull(local, Boolean));
    account.Set(L"Disabled", OrNull(disabled, Boolean));
    account.Set(L"SID", WmiValue::Null());  // accounts have numeric ids, no security ids
    return account;
}

}  // namespace

std::vector<PasswdEntry> ParsePasswd(std::string_view text) {
    std::vector<PasswdEntry> entries;
    ForEachLine(text, [&](std::string_view line) {
        const auto fields = Fields(line);
        if (fields.size() < 3 || !IsAccountName(fields[0]))
            return;
        const auto uid = ParseDecimal<std::uint32_t>(fields[2]);
        if (!uid)
            return;
        entries.push_back({std::string(fields[0]), *uid,
                           fields.size() > 4 ? std::string(fields[4]) : std::string()});
    });
    return entries;
}

std::optional<std::string> FullName(std::string_view gecos) {
    std::string_view first = gecos.substr(0, gecos.find(','));
    while (!first.empty() && first.back() == ' ')
        first.remove_suffix(1);
    while (!first.empty() && first.front() == ' ')
        first.remove_prefix(1);
    if (first.empty())
        return std::nullopt;
    return std::string(first);
}

std::map<std::string, std::optional<std::int64_t>> ParseShadowExpiry(std::string_view text) {
    std::map<std::string, std::optional<std::int64_t>> expiry;
    ForEachLine(text, [&](std::string_view line) {
        const auto fields = Fields(line);
        if (fields.size() < 2 || !IsAccountName(fields[0]))
            return;
        std::optional<std::int64_t> day;
        if (fields.size() > 7)
            day = ParseDecimal<std::int64_t>(fields[7]);
        expiry.emplace(std::string(fields[0]), day);
    });
    return expiry;
}

bool AccountExpired(const std::optional<std::int64_t>& expiryDay, std::int64_t today) {
    return expiryDay && *expiryDay > 0 && today >= *expiryDay;
}

WmiObjectList UserAccounts(const SystemRoot& root) {
    // Local accounts belong to the computer, as Windows names the computer their domain.
    const std::optional<std::string> domain = ReadKernelIdentity(root).hostName;
    const auto passwd = root.ReadFile("/etc/passwd");
    std::vector<PasswdEntry> entries = passwd ? ParsePasswd(*passwd) : std::vector<PasswdEntry>{};
    // Readable by root only: others learn nothing about expiry.
    const auto shadowText = root.ReadFile("/etc/shadow");
    const auto shadow = shadowText ? ParseShadowExpiry(*shadowText)
                                   : std::map<std::string, std::optional<std::int64_t>>{};
    const std::int64_t today = static_cast<std::int64_t>(std::time(nullptr)) / 86400;

    WmiObjectList accounts;
    std::set<std::string> names;
    for (const PasswdEntry& entry : entries) {
        if (!names.insert(entry.name).second)
            continue;  // the name service answers with the first line of a name
        std::optional<bool> disabled;
        if (auto found = shadow.find(entry.name); found != shadow.end())
            disabled = AccountExpired(found->second, today);
        accounts.push_back(Account(entry, domain, true, disabled));
    }
    if (auto running = root.Calls().RunningAccount(); running && !names.count(running->name))
        // Not in the files: where the account lives (and so its domain) is not known.
        accounts.push_back(Account(*running, std::nullopt, std::nullopt, std::nullopt));
    return accounts;
}

}  // namespace platform::live
