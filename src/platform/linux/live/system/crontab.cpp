#include "platform/linux/live/system/crontab.h"

#include <algorithm>

namespace platform::live {
namespace {

constexpr std::string_view kBlanks = " \t";

// The first word of the text, which is left holding what follows it (blanks skipped).
std::string_view TakeWord(std::string_view& text) {
    const std::size_t end = std::min(text.find_first_of(kBlanks), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    text.remove_prefix(std::min(text.find_first_not_of(kBlanks), text.size()));
    return word;
}

}  // namespace

std::vector<RebootJob> ParseRebootJobs(std::string_view text, bool withUserField) {
    std::vector<RebootJob> jobs;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        line.remove_prefix(std::min(line.find_first_not_of(kBlanks), line.size()));
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
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
