#pragma once
// The system's user accounts as Win32_UserAccount lists them: those of /etc/passwd, and on
// the live system the running user's account wherever the name service finds it.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::live {

struct PasswdEntry {
    std::string name;
    std::uint32_t uid = 0;
    std::string gecos;  // the comment field: "Full Name,Room,Work phone,Home phone,Other"
};

// The accounts of a passwd file in file order, read as the name service reads the file
// (fgetpwent): a line without a name, a numeric uid and gid is skipped, and so are the
// "+"/"-" lines of the compat name service; fields after the gid may be missing.
std::vector<PasswdEntry> ParsePasswd(std::string_view text);

// The first comma-separated field of the comment; nothing when it is empty.
std::optional<std::string> FullName(std::string_view gecos);

// The account expiry day (days since the epoch) of each account of a shadow file, read as
// the name service reads it (fgetspent: a line with a field it cannot read is no account);
// nothing for an account that never expires.
std::map<std::string, std::optional<std::int64_t>> ParseShadowExpiry(std::string_view text);

// An account is disabled once its expiry day has come; 0 means no expiry, as login does it.
bool AccountExpired(const std::optional<std::int64_t>& expiryDay, std::int64_t today);

}  // namespace platform::live
