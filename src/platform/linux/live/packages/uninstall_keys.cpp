#include "platform/linux/live/packages/uninstall_keys.h"

#include <sys/stat.h>

#include <ctime>
#include <limits>
#include <map>
#include <optional>
#include <set>

#include "util/text.h"
#include "util/utf.h"

namespace platform::live {
namespace {

// The longest key name Windows accepts.
constexpr std::size_t kMaxKeyName = 255;

bool IsNative(const DpkgPackage& package, const std::string& native) {
    return package.architecture == native || package.architecture == "all" ||
           package.architecture.empty();
}

// dpkg names the file list "<name>:<arch>.list" for co-installable packages and "<name>.list"
// for the others, and writes it anew at each unpack: the day of the last install or upgrade,
// as Windows keeps the day of the last install.
std::optional<std::string> InstallDate(const SystemRoot& root, const DpkgPackage& package) {
    for (const std::string& file : {package.name + ":" + package.architecture, package.name}) {
        struct stat info;
        if (::stat(root.Path("/var/lib/dpkg/info/" + file + ".list").c_str(), &info) != 0)
            continue;
        std::tm local{};
        const std::time_t when = info.st_mtime;
        char text[16];
        if (!::localtime_r(&when, &local) || !std::strftime(text, sizeof text, "%Y%m%d", &local))
            return std::nullopt;
        return std::string(text);
    }
    return std::nullopt;
}

void PutText(MemoryRegistry& registry, const std::wstring& key, const wchar_t* name,
             const std::string& utf8) {
    if (!utf8.empty())
        registry.PutString(kLocalMachine, key, name, Utf8ToWide(utf8));
}

}  // namespace

std::string NativeArchitecture(const std::vector<DpkgPackage>& packages) {
    std::map<std::string, int> counts;
    for (const auto& package : packages) {
        if (package.name == "dpkg" && !package.architecture.empty())
            return package.architecture;
        if (package.architecture != "all" && !package.architecture.empty())
            ++counts[package.architecture];
    }
    std::string most;
    int highest = 0;
    for (const auto& [architecture, count] : counts)
        if (count > highest) {
            most = architecture;
            highest = count;
        }
    return most;
}

std::vector<UninstallEntry> PlacePackages(const std::vector<DpkgPackage>& packages,
                                          bool machineIs64Bit) {
    const std::string native = NativeArchitecture(packages);
    std::vector<UninstallEntry> entries;
    std::set<std::pair<bool, std::wstring>> subkeys;  // by view, letter case folded
    std::map<std::pair<bool, std::string>, int> names;
    for (const auto& package : packages) {
        const bool isNative = IsNative(package, native);
        UninstallEntry entry;
        entry.view32 = machineIs64Bit && !isNative;
        entry.subkey = isNative ? package.name : package.name + ":" + package.architecture;
        const std::wstring key = Utf8ToWide(entry.subkey);
        if (key.find(L'\\') != std::wstring::npos || key.size() > kMaxKeyName ||
            !subkeys.insert({entry.view32, ToLower(key)}).second)
            continue;
        entry.package = package;
        ++names[{entry.view32, package.name}];
        entries.push_back(std::move(entry));
    }
    for (auto& entry : entries)
        entry.displayName =
            names[{entry.view32, entry.package.name}] > 1 ? entry.subkey : entry.package.name;
    return entries;
}

void PutInstalledPackages(const SystemRoot& root, bool machineIs64Bit, MemoryRegistry& registry) {
    registry.PutKey(kLocalMachine, kUninstallPath);
    if (machineIs64Bit)
        registry.PutKey(kLocalMachine, kUninstallPath32);
    const auto status = root.ReadFile("/var/lib/dpkg/status");
    if (!status)
        return;
    for (const auto& entry : PlacePackages(InstalledPackages(*status), machineIs64Bit)) {
        const DpkgPackage& package = entry.package;
        const std::wstring key = std::wstring(entry.view32 ? kUninstallPath32 : kUninstallPath) +
                                 L"\\" + Utf8ToWide(entry.subkey);
        registry.PutKey(kLocalMachine, key);
        PutText(registry, key, L"DisplayName", entry.displayName);
        PutText(registry, key, L"DisplayVersion", package.version);
        PutText(registry, key, L"Publisher", package.maintainer);
        PutText(registry, key, L"Comments", package.synopsis);
        PutText(registry, key, L"URLInfoAbout", package.homepage);
        if (auto date = InstallDate(root, package))
            PutText(registry, key, L"InstallDate", *date);
        // A size beyond a DWORD is not shown rather than shown wrong.
        if (package.installedSizeKb &&
            *package.installedSizeKb <= std::numeric_limits<std::uint32_t>::max())
            registry.PutDword(kLocalMachine, key, L"EstimatedSize",
                              static_cast<std::uint32_t>(*package.installedSizeKb));
    }
}

}  // namespace platform::live
