#include "platform/linux/live/system/user_accounts.h"

#include <pwd.h>
#include <shadow.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>
#include <set>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/system/kernel_identity.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

// The C library's readers hand back the "+"/"-" lines of the compat name service as entries.
bool IsAccountName(const char* name) {
    return name && *name && *name != '+' && *name != '-';
}

// Each entry the C library's reader of the format finds in the text, as the name service
// reads the files; lines it cannot read are skipped.
template <class Entry, class Reader, class Use>
void ReadEntries(std::string_view text, Reader read, Use use) {
    if (text.empty())
        return;
    const std::unique_ptr<FILE, decltype(&std::fclose)> stream(
        fmemopen(const_cast<char*>(text.data()), text.size(), "r"), std::fclose);
    if (!stream)
        return;
    std::vector<char> buffer(4096);
    Entry entry{};
    Entry* found = nullptr;
    for (;;) {
        const int error = read(stream.get(), &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < (1u << 24)) {
            buffer.resize(buffer.size() * 2);  // the reader went back to the line's start
            continue;
        }
        if (error != 0 || !found)
            return;
        use(entry);
    }
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
    ReadEntries<passwd>(text, fgetpwent_r, [&](const passwd& entry) {
        if (IsAccountName(entry.pw_name))
            entries.push_back({entry.pw_name, entry.pw_uid, entry.pw_gecos ? entry.pw_gecos : ""});
    });
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
    ReadEntries<spwd>(text, fgetspent_r, [&](const spwd& entry) {
        if (!IsAccountName(entry.sp_namp))
            return;
        // An empty field reads as -1.
        std::optional<std::int64_t> day;
        if (entry.sp_expire >= 0)
            day = entry.sp_expire;
        expiry.emplace(entry.sp_namp, day);
    });
    return expiry;
}

bool AccountExpired(const std::optional<std::int64_t>& expiryDay, std::int64_t today) {
    return expiryDay && *expiryDay > 0 && today >= *expiryDay;
}

WmiObjectList UserAccounts(const SystemRoot& root) {
    // Local accounts belong to the computer, as Windows names the computer their domain.
    const std::optional<std::string> domain = ReadKernelIdentity(root).hostName;
    const auto passwdText = root.ReadFile("/etc/passwd");
    std::vector<PasswdEntry> entries =
        passwdText ? ParsePasswd(*passwdText) : std::vector<PasswdEntry>{};
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
