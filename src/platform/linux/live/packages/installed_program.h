#pragma once
// A program as the uninstall keys list it, whatever package system installed it.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace platform::live {

struct InstalledProgram {
    // Unique among the programs of its package system; the subkey adds the system's prefix.
    std::string id;
    std::string name;
    std::string version;
    std::string publisher;
    std::string comments;
    std::string url;
    std::string source;  // "dpkg", "dpkg (i386)", "rpm", "flatpak (system)", "snap"...
    std::optional<std::uint64_t> sizeKb;
    std::optional<std::string> installDate;  // YYYYMMDD, local time
};

// Kilobytes as the uninstall keys count an estimated size, a started one counted whole.
inline std::uint64_t KilobytesOf(std::uint64_t bytes) {
    return bytes / 1024 + (bytes % 1024 != 0);
}

// The local day of a moment as the uninstall keys write it ("20240229").
std::optional<std::string> LocalDay(std::time_t when);

}  // namespace platform::live
