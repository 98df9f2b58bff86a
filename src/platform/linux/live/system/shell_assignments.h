#pragma once
// Files of shell-style variable assignments that are read without a shell: os-release and
// machine-info. Values may be quoted with ' or " and carry backslash escapes; a value may run
// over several lines inside quotes. Lines starting with # are comments.
#include <map>
#include <string>
#include <string_view>

namespace platform::live {

// The assignments by name, as the shell would see the values (quotes removed, escapes
// resolved). Lines that are not assignments are skipped; a later assignment wins.
std::map<std::string, std::string> ParseShellAssignments(std::string_view text);

}  // namespace platform::live
