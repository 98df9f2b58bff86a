#include "platform/linux/live/packages/uninstall_keys.h"

#include <sys/stat.h>

#include <limits>
#include <map>
#include <optional>
#include <set>

#include "platform/linux/live/packages/apk_installed.h"
#include "platform/linux/live/packages/flatpak_apps.h"
#include "platform/linux/live/packages/installed_program.h"
#include "platform/linux/live/packages/pacman_local.h"
#include "platform/linux/live/packages/rpm_database.h"
#include "platform/linux/live/packages/snap_meta.h"
#include "platform/linux/live/system_calls.h"
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
        if (::stat(root.Path("/var/lib/dpkg/info/" + file + ".list").c_str(), &info) == 0)
            return LocalDay(info.st_mtime);
    }
    return std::nullopt;
}

void PutText(MemoryRegistry& registry, const std::wstring& key, const wchar_t* name,
             const std::string& utf8) {
    if (!utf8.empty())
        registry.PutString(kLocalMachine, key, name, Utf8ToWide(utf8));
}

bool IsKeyName(const std::wstring& name) {
    return !name.empty() && name.find(L'\\') == std::wstring::npos && name.size() <= kMaxKeyName;
}

void PutProgram(MemoryRegistry& registry, const std::wstring& key,
                const InstalledProgram& program) {
    registry.PutKey(kLocalMachine, key);
    PutText(registry, key, L"DisplayName", program.name);
    PutText(registry, key, L"DisplayVersion", program.version);
    PutText(registry, key, L"Publisher", program.publisher);
    PutText(registry, key, L"Comments", program.comments);
    PutText(registry, key, L"URLInfoAbout", program.url);
    PutText(registry, key, L"PackageSource", program.source);
    if (program.installDate)
        PutText(registry, key, L"InstallDate", *program.installDate);
    // A size beyond a DWORD is not shown rather than shown wrong.
    if (program.sizeKb && *program.sizeKb <= std::numeric_limits<std::uint32_t>::max())
        registry.PutDword(kLocalMachine, key, L"EstimatedSize",
                          static_cast<std::uint32_t>(*program.sizeKb));
}

std::vector<InstalledProgram> OtherPrograms(const SystemRoot& root) {
    std::vector<InstalledProgram> programs = RpmPrograms(root);
    for (auto&& more : {FlatpakPrograms(root, root.Calls().RunningSession().home),
                        SnapPrograms(root), PacmanPrograms(root), ApkPrograms(root)})
        programs.insert(programs.end(), more.begin(), more.end());
    return programs;
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

std::vector<UninstallEntry> PlacePackages(std::vector<DpkgPackage> packages, bool machineIs64Bit) {
    const std::string native = NativeArchitecture(packages);
    std::vector<UninstallEntry> entries;
    std::set<std::pair<bool, std::wstring>> subkeys;  // by view, letter case folded
    std::map<std::pair<bool, std::string>, int> names;
    for (auto& package : packages) {
        const bool isNative = IsNative(package, native);
        UninstallEntry entry;
        entry.view32 = machineIs64Bit && !isNative;
        entry.subkey = isNative ? package.name : package.name + ":" + package.architecture;
        const std::wstring key = Utf8ToWide(entry.subkey);
        if (!IsKeyName(key) || !subkeys.insert({entry.view32, ToLower(key)}).second)
            continue;
        entry.source = isNative ? "dpkg" : "dpkg (" + package.architecture + ")";
        ++names[{entry.view32, package.name}];
        entry.package = std::move(package);
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
    std::set<std::wstring> nativeSubkeys;  // letter case folded
    if (const auto status = root.ReadFile("/var/lib/dpkg/status"))
        for (const auto& entry : PlacePackages(InstalledPackages(*status), machineIs64Bit)) {
            const DpkgPackage& package = entry.package;
            const InstalledProgram program{.id = entry.subkey,
                                           .name = entry.displayName,
                                           .version = package.version,
                                           .publisher = package.maintainer,
                                           .comments = package.synopsis,
                                           .url = package.homepage,
                                           .source = entry.source,
                                           .sizeKb = package.installedSizeKb,
                                           .installDate = InstallDate(root, package)};
            const std::wstring subkey = Utf8ToWide(entry.subkey);
            if (!entry.view32)
                nativeSubkeys.insert(ToLower(subkey));
            PutProgram(
                registry,
                std::wstring(entry.view32 ? kUninstallPath32 : kUninstallPath) + L"\\" + subkey,
                program);
        }
    // Other package systems install for the machine itself; the source keeps their subkeys
    // apart from dpkg's and from each other's.
    for (const auto& program : OtherPrograms(root)) {
        const std::wstring subkey = Utf8ToWide(program.source + ":" + program.id);
        if (IsKeyName(subkey) && nativeSubkeys.insert(ToLower(subkey)).second)
            PutProgram(registry, std::wstring(kUninstallPath) + L"\\" + subkey, program);
    }
}

}  // namespace platform::live
