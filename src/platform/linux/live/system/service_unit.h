#pragma once
// Unit files of the service manager, as far as a startup list needs them: the unit's
// description and the commands a service starts.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::live {

struct ServiceUnit {
    std::optional<std::string> description;  // [Unit] Description=
    std::vector<std::string> execStart;      // [Service] ExecStart=, in order
};

// Sections in brackets, Key=Value lines, comments starting with # or ;, and lines continued
// by a final backslash (joined with a blank). An empty ExecStart= clears the list, as in the
// unit files that override another.
ServiceUnit ParseServiceUnit(std::string_view text);

}  // namespace platform::live
