#pragma once
// The "@reboot" jobs of crontab files: what cron starts once when it starts with the system.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::live {

struct RebootJob {
    std::optional<std::string> user;  // the system crontabs' user field
    std::string command;
};

// Comments, blank lines, variable settings and jobs on other schedules are skipped. The
// system crontabs (/etc/crontab, /etc/cron.d) name the user before the command; a user's own
// crontab does not. A job without a command is no job.
std::vector<RebootJob> ParseRebootJobs(std::string_view text, bool withUserField);

}  // namespace platform::live
