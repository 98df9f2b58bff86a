#pragma once
// What uname tells about the running kernel. The live system asks uname itself (it answers
// even without /proc); a fake root holds the same facts in /proc/sys/kernel.
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

struct KernelIdentity {
    std::optional<std::string> osType;    // "Linux"
    std::optional<std::string> release;   // "6.1.0-18-amd64"
    std::optional<std::string> machine;   // "x86_64"
    std::optional<std::string> hostName;  // the kernel's node name, else /etc/hostname
};

KernelIdentity ReadKernelIdentity(const SystemRoot& root);

// The host name of an /etc/hostname file: its first line that is not a comment, trimmed.
std::optional<std::string> ParseHostnameFile(std::string_view text);

}  // namespace platform::live
