#include "platform/linux/live/system/crontab.h"
#include "platform/linux/live/common/text_views.h"

#include <algorithm>

namespace platform::live {
namespace {

// The first word of the text, which is left holding what follows it (blanks skipped).
std::string_view TakeWord(std::string_view& text) {
    const std::size_t end = std::min(text.find_first_of(kBlanks), text.size());
    const std::string_view word = text.substr(0, end);
    text = TrimStart(text.substr(end));
    return word;
}

}  // namespace

std::vector<RebootJob> ParseRebootJobs(std::string_view text, bool withUserField) {
    std::vector<RebootJob> jobs;
    for (std::string_view line : Lines(text)) {
        line = TrimEnd(TrimStart(line), " \t\r");
        if (TakeWord(line) != "@reboot")
            continue;  // also comments and "NAME=value" settings
        RebootJob job;
        if (withUserField) {
            const std::string_view user = TakeWord(line);
            if (user.empty())
                continue;
            job.user = std::string(user);
        }
        if (line.empty())
            continue;
        job.command = std::string(line);
        jobs.push_back(std::move(job));
    }
    return jobs;
}

}  // namespace platform::live
