#pragma once
// The dpkg status database (/var/lib/dpkg/status): one stanza of "Field: value" lines per
// package dpkg knows of, stanzas separated by blank lines. Most of them are installed; some
// only left their configuration files behind, or stopped halfway through an install.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::live {

struct ControlField {
    std::string name;
    // Continuation lines follow the first line after "\n", without their leading blank; a
    // lone "." (an empty line of a long description) becomes an empty line.
    std::string value;
};
using ControlStanza = std::vector<ControlField>;

// Stanzas in file order. Lines end with LF or CRLF; a last line without its line end counts;
// lines that are neither a field nor a continuation are ignored.
std::vector<ControlStanza> ParseControlStanzas(std::string_view text);
// The value of a field (names compare without letter case); nothing when absent.
std::optional<std::string_view> FieldValue(const ControlStanza& stanza, std::string_view name);

struct DpkgPackage {
    std::string name;
    std::string version;
    std::string architecture;  // "amd64", "i386", "all"...
    std::string maintainer;    // the person or team, without the mail address
    std::string synopsis;      // the first line of the description
    std::string homepage;
    std::optional<std::uint64_t> installedSizeKb;
};

// The packages whose Status says "installed", whatever the wanted action ("hold",
// "deinstall" until it runs) and the error flag: their files are on the machine. Packages
// that only keep their configuration files, or are half-installed, unpacked or
// half-configured, or that wait for triggers, are not counted, as dpkg-query does not.
std::vector<DpkgPackage> InstalledPackages(std::string_view statusText);

// "Jane Doe <jane@example.org>" -> "Jane Doe"; an address alone is kept, without its brackets.
std::string MaintainerName(std::string_view maintainer);

}  // namespace platform::live
