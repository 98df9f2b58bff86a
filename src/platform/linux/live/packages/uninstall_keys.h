#pragma once
// The installed packages as Windows lists installed programs: one subkey per package under
// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall, in the view of the package's
// bitness. A 64-bit machine answers like 64-bit Windows read by a 32-bit program: packages
// of the machine's own architecture (and the architecture-free "all" ones) are the 64-bit
// programs, those of a foreign architecture (i386 on amd64, say) sit in the 32-bit view,
// under Wow6432Node. A 32-bit machine has one view for all. Each package is listed once.
#include <string>
#include <vector>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/packages/dpkg_status.h"
#include "platform/memory_registry.h"

namespace platform::live {

inline constexpr wchar_t kUninstallPath[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr wchar_t kUninstallPath32[] =
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The architecture dpkg itself reports as the machine's: that of the installed "dpkg"
// package, which is always built for it. Without one (a damaged database), the architecture
// most packages have, leaving "all" aside; empty when nothing tells.
std::string NativeArchitecture(const std::vector<DpkgPackage>& packages);

struct UninstallEntry {
    DpkgPackage package;
    bool view32 = false;      // under Wow6432Node
    std::string subkey;       // the name, with ":arch" for a foreign package; unique in its view
    std::string displayName;  // the name; with ":arch" only where the view holds it twice
    std::string source;       // "dpkg", with the architecture of a foreign package
};

// Where each package goes. Packages whose name cannot be a key name (empty, holding a
// backslash, longer than the registry allows) and repeats of a subkey are left out.
std::vector<UninstallEntry> PlacePackages(std::vector<DpkgPackage> packages, bool machineIs64Bit);

// Reads /var/lib/dpkg/status under the root and writes its installed packages into the
// registry (which has the layout of the machine), then the programs of the other package
// systems (RPM, Flatpak, Snap, pacman, apk) into the machine's own view, each once, tagged
// with where it came from; the Uninstall keys exist even when there is nothing to list.
void PutInstalledPackages(const SystemRoot& root, bool machineIs64Bit, MemoryRegistry& registry);

}  // namespace platform::live
