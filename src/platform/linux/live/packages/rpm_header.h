#pragma once
// An RPM header as the package database keeps one per installed package: the index count
// and the data size (32-bit big-endian each), the index entries (tag, type, offset, count)
// and the data store they point into. The lead and the magic of a package file are absent.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::live {

struct RpmPackage {
    std::string name;
    std::string version;  // [epoch:]version[-release], as rpm prints the EVR
    std::string arch;     // "x86_64", "noarch"...; empty for the pseudo-packages of keys
    std::string vendor;
    std::string summary;
    std::string url;
    std::optional<std::uint32_t> installTime;  // seconds since 1970
    std::optional<std::uint32_t> sizeBytes;
};

// Nothing for a header that is cut short, points outside itself or names no package.
std::optional<RpmPackage> ParseRpmHeader(std::string_view blob);

}  // namespace platform::live
