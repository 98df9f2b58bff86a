#pragma once
// Volume labels as udev publishes them: /dev/disk/by-label/<label> links to the device, the
// label written with \xHH escapes for blanks, slashes and other unsafe bytes.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/live/common/system_root.h"

namespace platform::live {

// "My\x20Disk" -> "My Disk"; a malformed escape stays as it is.
std::string DecodeLabelName(std::string_view name);

// Label by kernel device name ("sdb1" -> "BACKUP"); nothing when udev keeps no /dev/disk
// (then no label is known, where a device missing from the map has none).
std::optional<std::map<std::string, std::string>> ReadVolumeLabels(const SystemRoot& root);

}  // namespace platform::live
