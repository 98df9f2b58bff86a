#include "platform/linux/live/system/user_accounts.h"

#include <ctime>
#include <set>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/system/kernel_identity.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

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
    for (const std::string_view line : Lines(text, Lines::Ends::kNewlineOrCrLf)) {
        const auto fields = SplitFields(line, ':');
        if (fields.size() < 3 || !IsAccountName(fields[0]))
            continue;
        const auto uid = ParseUnsigned<std::uint32_t>(fields[2]);
        if (!uid)
            continue;
        entries.push_back({std::string(fields[0]), *uid,
                           fields.size() > 4 ? std::string(fields[4]) : std::string()});
    }
    return entries;
}

std::optional<std::string> FullName(std::string_view gecos) {
    const std::string_view first = Trim(gecos.substr(0, gecos.find(',')), " ");
    if (first.empty())
        return std::nullopt;
    return std::string(first);
}

std::map<std::string, std::optional<std::int64_t>> ParseShadowExpiry(std::string_view text) {
    std::map<std::string, std::optional<std::int64_t>> expiry;
    for (const std::string_view line : Lines(text, Lines::Ends::kNewlineOrCrLf)) {
        const auto fields = SplitFields(line, ':');
        if (fields.size() < 2 || !IsAccountName(fields[0]))
            continue;
        std::optional<std::int64_t> day;
        if (fields.size() > 7)
            day = ParseUnsigned<std::int64_t>(fields[7]);
        expiry.emplace(std::string(fields[0]), day);
    }
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
