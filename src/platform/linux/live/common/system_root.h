#pragma once
// Where the live providers read the system from: "/" for the machine the program runs on, a
// folder holding a small /proc, /sys, /etc and /var tree in tests. Every reader goes through
// it, so a parser never needs the real machine to be tested.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::live {

class SystemCalls;

class SystemRoot {
  public:
    // The machine the program runs on.
    SystemRoot();
    // A tree of files, and what stands in for the kernel and the daemons beside it.
    SystemRoot(std::string folder, std::shared_ptr<const SystemCalls> calls);

    // The path of an absolute system path ("/proc/cpuinfo") under this root.
    std::string Path(std::string_view absolute) const;
    // The file's bytes; nothing when it is missing or unreadable. Files under /proc and /sys
    // report no size, so the read goes to the end (or to the limit).
    std::optional<std::string> ReadFile(std::string_view absolute,
                                        std::size_t limit = 64u << 20) const;
    // The first line of a small file without its line end (sysfs attributes).
    std::optional<std::string> ReadLine(std::string_view absolute) const;
    // The names in a folder, sorted; empty when it is missing.
    std::vector<std::string> ListFolder(std::string_view absolute) const;
    // The target of a symbolic link, as stored.
    std::optional<std::string> ReadLink(std::string_view absolute) const;
    bool Exists(std::string_view absolute) const;
    // What only the running system answers (statvfs, getifaddrs, the system bus...).
    const SystemCalls& Calls() const { return *calls_; }

  private:
    std::string folder_;
    std::shared_ptr<const SystemCalls> calls_;
};

}  // namespace platform::live
