#pragma once
// The running processes as Win32_Process lists them, from the numbered folders of /proc.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::live {

// The arguments of /proc/<pid>/cmdline joined by single spaces. Trailing NULs and blanks go
// (the kernel ends the last argument with a NUL; programs that rewrite their title pad
// it); nothing when no argument is left (kernel threads, zombies).
std::optional<std::string> ParseCommandLine(std::string_view cmdline);

struct ProcessStatus {
    std::optional<std::string> name;  // the kernel's name, 15 bytes at most
    std::optional<std::uint32_t> parentId;
};
// The Name and PPid lines of /proc/<pid>/status. The kernel writes a newline in the name as
// \n and a backslash as \\; both are undone.
ProcessStatus ParseProcessStatus(std::string_view status);

// The file name of an executable path: what follows the last slash.
std::string ExecutableName(std::string_view path);

}  // namespace platform::live
