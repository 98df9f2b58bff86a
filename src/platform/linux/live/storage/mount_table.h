#pragma once
// The mounts of a system as /proc/self/mountinfo lists them, read by libmount: one line per
// mount, fields separated by blanks, with blanks, tabs, line ends and backslashes in paths
// written as octal escapes (\040 \011 \012 \134).
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

struct MountEntry {
    std::string device;      // "major:minor" of the mounted file system
    std::string root;        // the folder of the file system mounted there ("/" unless a bind)
    std::string mountPoint;  // decoded
    std::string fsType;      // "ext4", "nfs4", "fuse.sshfs"...
    std::string source;      // "/dev/sda1", "server:/export", "//server/share", "none"...
};

// The well-formed lines of the text, in order; a line libmount cannot read, or a mount on
// a path that is not absolute, is left out.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// The mounts of the process reading, as the system under `root` lists them.
std::vector<MountEntry> ReadMountTable(const SystemRoot& root);

}  // namespace platform::live
