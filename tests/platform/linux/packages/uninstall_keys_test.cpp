// Installed packages as the registry's uninstall keys, read the way the registry providers
// read them: open the Uninstall key in a view, enumerate its subkeys, query their values.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/linux/live/packages/package_registry.h"
#include "platform/linux/live/packages/uninstall_keys.h"
#include "temp_folder.h"
#include "tree_root.h"

using namespace platform;
using namespace platform::live;

namespace {

const std::string kTree = std::string(FENNOCK_TREES_DIR) + "/packages-dpkg";
const wchar_t kUninstall[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

using Values = std::map<std::wstring, std::wstring>;
using View = std::map<std::wstring, Values>;

std::wstring ValueText(Registry& registry, RegKey key, const wchar_t* name) {
    std::uint32_t type = 0, bytes = 0;
    if (registry.QueryValue(key, name, &type, nullptr, &bytes) != kErrorSuccess)
        return L"<none>";
    std::vector<std::uint8_t> data(bytes);
    if (registry.QueryValue(key, name, &type, data.data(), &bytes) != kErrorSuccess)
        return L"<failed>";
    if (type == kRegDword && bytes == 4)
        return std::to_wstring(*reinterpret_cast<const std::uint32_t*>(data.data()));
    if (type == kRegSz)
        return std::wstring(reinterpret_cast<const wchar_t*>(data.data()));
    return L"<type " + std::to_wstring(type) + L">";
}

// Every subkey of the Uninstall key in one view, with the values an uninstall entry has.
View ReadView(Registry& registry, std::uint32_t view) {
    View result;
    RegKey key = 0;
    if (registry.OpenKey(kLocalMachine, kUninstall, kKeyRead | view, &key) != kErrorSuccess)
        return result;
    for (std::uint32_t index = 0;; ++index) {
        wchar_t name[1024];
        std::uint32_t length = 1024;
        const RegError rc = registry.EnumKey(key, index, name, &length);
        if (rc == kErrorNoMoreItems)
            break;
        EXPECT_EQ(kErrorSuccess, rc);
        RegKey subkey = 0;
        if (rc != kErrorSuccess ||
            registry.OpenKey(key, name, kKeyRead | view, &subkey) != kErrorSuccess)
            continue;
        Values& values = result[name];
        for (const wchar_t* value :
             {L"DisplayName", L"DisplayVersion", L"Publisher", L"Comments", L"URLInfoAbout",
              L"EstimatedSize", L"InstallDate", L"PackageSource"})
            values[value] = ValueText(registry, subkey, value);
        registry.CloseKey(subkey);
    }
    registry.CloseKey(key);
    return result;
}

std::vector<std::wstring> Subkeys(const View& view) {
    std::vector<std::wstring> names;
    for (const auto& [name, values] : view)
        names.push_back(name);
    return names;
}

TEST(UninstallKeys, SixtyFourBitMachineListsForeignPackagesInTheThirtyTwoBitView) {
    PackageRegistry registry{TreeRoot(kTree), true};
    const View wide = ReadView(registry, kKeyWow64_64);
    const View narrow = ReadView(registry, 0);
    EXPECT_EQ((std::vector<std::wstring>{L"dpkg", L"leaving", L"libc6", L"quirky", L"tzdata"}),
              Subkeys(wide));
    EXPECT_EQ((std::vector<std::wstring>{L"libc6:i386", L"wine32:i386"}), Subkeys(narrow));
    EXPECT_EQ(Subkeys(narrow), Subkeys(ReadView(registry, kKeyWow64_32)));

    const Values& libc = wide.at(L"libc6");
    EXPECT_EQ(L"libc6", libc.at(L"DisplayName"));
    EXPECT_EQ(L"2.36-9+deb12u4", libc.at(L"DisplayVersion"));
    EXPECT_EQ(L"GNU Libc Maintainers", libc.at(L"Publisher"));
    EXPECT_EQ(L"GNU C Library: Shared libraries", libc.at(L"Comments"));
    EXPECT_EQ(L"https://www.example.org/software/libc/", libc.at(L"URLInfoAbout"));
    EXPECT_EQ(L"12988", libc.at(L"EstimatedSize"));
    EXPECT_EQ(L"dpkg", libc.at(L"PackageSource"));
    EXPECT_EQ(L"dpkg", wide.at(L"tzdata").at(L"PackageSource")) << "architecture all";
    const Values& libc32 = narrow.at(L"libc6:i386");
    EXPECT_EQ(L"libc6", libc32.at(L"DisplayName")) << "the view tells the architecture";
    EXPECT_EQ(L"12474", libc32.at(L"EstimatedSize"));
    EXPECT_EQ(L"<none>", libc32.at(L"URLInfoAbout"));
    EXPECT_EQ(L"dpkg (i386)", libc32.at(L"PackageSource"));
}

TEST(UninstallKeys, ValuesPassHostileTextAndLeaveOutWhatIsNotKnown) {
    PackageRegistry registry{TreeRoot(kTree), true};
    const View wide = ReadView(registry, kKeyWow64_64);
    const Values& quirky = wide.at(L"quirky");
    EXPECT_EQ(L"O'Brien \uFFFD \"Team\"", quirky.at(L"Publisher"));
    EXPECT_EQ(L"1.0\"beta\"", quirky.at(L"DisplayVersion"));
    EXPECT_EQ(L"<script>alert('x')</script> back\\slash", quirky.at(L"Comments"));
    EXPECT_EQ(L"<none>", quirky.at(L"EstimatedSize"));
    const Values& leaving = wide.at(L"leaving");
    EXPECT_EQ(L"solo@example.org", leaving.at(L"Publisher"));
    EXPECT_EQ(L"4294967295", leaving.at(L"EstimatedSize"));
    EXPECT_EQ(L"<none>", leaving.at(L"Comments"));
    EXPECT_EQ(L"<none>", leaving.at(L"InstallDate")) << "no file list";
    // 4 TiB in KB does not fit the DWORD.
    EXPECT_EQ(L"<none>", ReadView(registry, 0).at(L"wine32:i386").at(L"EstimatedSize"));
}

TEST(UninstallKeys, PackagesReadAheadGiveTheSameViews) {
    PackageRegistry plain{TreeRoot(kTree), true};
    PackageRegistry ahead{TreeRoot(kTree), true};
    ahead.Prefetch();
    ahead.Prefetch();
    EXPECT_EQ(ReadView(ahead, kKeyWow64_64), ReadView(plain, kKeyWow64_64));
    EXPECT_EQ(ReadView(ahead, 0), ReadView(plain, 0));
    // Gone before the packages are read: it waits for them.
    PackageRegistry{TreeRoot(kTree), false}.Prefetch();
}

TEST(UninstallKeys, ThirtyTwoBitMachineHasOneViewForAll) {
    PackageRegistry registry{TreeRoot(kTree), false};
    const View view = ReadView(registry, 0);
    EXPECT_EQ((std::vector<std::wstring>{L"dpkg", L"leaving", L"libc6", L"libc6:i386", L"quirky",
                                         L"tzdata", L"wine32:i386"}),
              Subkeys(view));
    EXPECT_EQ(Subkeys(view), Subkeys(ReadView(registry, kKeyWow64_64)));
    EXPECT_EQ(L"libc6", view.at(L"libc6").at(L"DisplayName"));
    EXPECT_EQ(L"libc6:i386", view.at(L"libc6:i386").at(L"DisplayName")) << "two in one view";
    EXPECT_EQ(L"wine32", view.at(L"wine32:i386").at(L"DisplayName"));
}

void SetLocalTime(const std::filesystem::path& file, int year, int month, int day) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = 12;
    local.tm_isdst = -1;
    const timespec when[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, file.c_str(), when, 0)) << file;
}

TEST(UninstallKeys, InstallDateIsTheDayTheFileListWasWritten) {
    TempFolder temp;
    std::filesystem::copy(kTree, temp.path(), std::filesystem::copy_options::recursive);
    const auto info = temp.path() / "var/lib/dpkg/info";
    SetLocalTime(info / "libc6:amd64.list", 2023, 5, 17);
    SetLocalTime(info / "libc6:i386.list", 2024, 2, 29);
    SetLocalTime(info / "tzdata.list", 2021, 1, 2);
    SetLocalTime(info / "wine32.list", 1999, 12, 31);
    std::filesystem::remove(info / "dpkg.list");

    PackageRegistry registry{TreeRoot(temp.path().string()), true};
    const View wide = ReadView(registry, kKeyWow64_64);
    const View narrow = ReadView(registry, 0);
    EXPECT_EQ(L"20230517", wide.at(L"libc6").at(L"InstallDate"));
    EXPECT_EQ(L"20240229", narrow.at(L"libc6:i386").at(L"InstallDate"));
    EXPECT_EQ(L"20210102", wide.at(L"tzdata").at(L"InstallDate"));
    EXPECT_EQ(L"19991231", narrow.at(L"wine32:i386").at(L"InstallDate"));
    EXPECT_EQ(L"<none>", wide.at(L"dpkg").at(L"InstallDate"));
}

void WriteStatus(const std::filesystem::path& root, const std::string& text) {
    std::filesystem::create_directories(root / "var/lib/dpkg");
    std::ofstream(root / "var/lib/dpkg/status", std::ios::binary) << text;
}

TEST(UninstallKeys, PackagesAreReadOnTheFirstUseOfTheMachineKeyAndOnlyThen) {
    TempFolder temp;
    PackageRegistry registry{TreeRoot(temp.path().string()), true};
    RegKey user = 0;
    ASSERT_EQ(kErrorSuccess, registry.CreateKey(kCurrentUser, L"Software\\Zeph",
                                                kKeyRead | kKeyWrite, &user, nullptr));
    registry.CloseKey(user);
    WriteStatus(temp.path(), "Package: first\nStatus: install ok installed\nArchitecture: all\n");
    EXPECT_EQ(std::vector<std::wstring>{L"first"}, Subkeys(ReadView(registry, kKeyWow64_64)));
    WriteStatus(temp.path(), "Package: second\nStatus: install ok installed\nArchitecture: all\n");
    EXPECT_EQ(std::vector<std::wstring>{L"first"}, Subkeys(ReadView(registry, kKeyWow64_64)));
}

TEST(UninstallKeys, MissingOrUnreadableDatabaseGivesEmptyKeys) {
    TempFolder temp;
    std::filesystem::create_directories(temp.path() / "folder/var/lib/dpkg/status");
    const char garbage[] = "\0\xff\n\n:\n \x01Package\n:::Status: install ok installed";
    WriteStatus(temp.path() / "garbage", std::string(garbage, sizeof garbage - 1));
    for (const char* root : {"missing", "folder", "garbage"}) {
        PackageRegistry registry{TreeRoot((temp.path() / root).string()), true};
        for (std::uint32_t view : {0u, kKeyWow64_64}) {
            RegKey key = 0;
            ASSERT_EQ(kErrorSuccess,
                      registry.OpenKey(kLocalMachine, kUninstall, kKeyRead | view, &key))
                << root;
            wchar_t name[64];
            std::uint32_t length = 64;
            EXPECT_EQ(kErrorNoMoreItems, registry.EnumKey(key, 0, name, &length)) << root;
            registry.CloseKey(key);
        }
    }
}

DpkgPackage Package(std::string name, std::string architecture) {
    DpkgPackage package;
    package.name = std::move(name);
    package.architecture = std::move(architecture);
    return package;
}

TEST(UninstallKeys, NativeArchitectureIsDpkgsElseTheCommonestOne) {
    EXPECT_EQ("arm64", NativeArchitecture(
                           {Package("a", "i386"), Package("b", "i386"), Package("dpkg", "arm64")}));
    EXPECT_EQ("i386",
              NativeArchitecture({Package("a", "i386"), Package("b", "all"), Package("c", "all"),
                                  Package("d", "amd64"), Package("e", "i386")}));
    EXPECT_EQ("", NativeArchitecture({Package("a", "all")}));
    EXPECT_EQ("", NativeArchitecture({}));
}

TEST(UninstallKeys, PlacementKeepsSubkeysUniqueAndValid) {
    const auto entries = PlacePackages(
        {Package("dpkg", "amd64"), Package("libx", "i386"), Package("libx", "armhf"),
         Package("LIBX", "i386"), Package("dpkg", "amd64"), Package("bad\\name", "amd64"),
         Package(std::string(256, 'n'), "amd64"), Package(std::string(255, 'n'), "amd64")},
        true);
    ASSERT_EQ(4u, entries.size());
    EXPECT_EQ("dpkg", entries[0].subkey);
    EXPECT_FALSE(entries[0].view32);
    EXPECT_EQ("libx:i386", entries[1].subkey);
    EXPECT_EQ("libx:i386", entries[1].displayName) << "two libx in the 32-bit view";
    EXPECT_TRUE(entries[1].view32);
    EXPECT_EQ("libx:armhf", entries[2].displayName);
    EXPECT_EQ(std::string(255, 'n'), entries[3].subkey);
}

TEST(UninstallKeys, OtherPackageSystemsJoinTheMachinesViewTaggedWithTheirSource) {
    TempFolder temp;
    std::filesystem::copy(std::string(FENNOCK_TREES_DIR) + "/packages-other", temp.path(),
                          std::filesystem::copy_options::recursive);
    // A dpkg package of the same name as a snap keeps its own key.
    WriteStatus(temp.path(), "Package: hello\nStatus: install ok installed\nArchitecture: all\n");
    for (const bool machineIs64Bit : {true, false}) {
        PackageRegistry registry{TreeRoot(temp.path().string()), machineIs64Bit};
        const View wide = ReadView(registry, kKeyWow64_64);
        std::map<std::wstring, std::wstring> sources;
        for (const auto& [subkey, values] : wide)
            sources[subkey] = values.at(L"DisplayName") + L" / " + values.at(L"PackageSource");
        EXPECT_EQ(
            (std::map<std::wstring, std::wstring>{
                {L"apk:busybox", L"busybox / apk"},
                {L"apk:musl", L"musl / apk"},
                {L"flatpak (system):org.example.Bare", L"org.example.Bare / flatpak (system)"},
                {L"flatpak (system):org.example.Paint", L"Example Paint / flatpak (system)"},
                {L"hello", L"hello / dpkg"},
                {L"pacman:tool", L"tool / pacman"},
                {L"snap:hello", L"hello / snap"},
            }),
            sources);
        if (machineIs64Bit) {
            EXPECT_TRUE(ReadView(registry, 0).empty()) << "each program is listed once";
        }
    }
}

// The number of packages dpkg-query calls installed.
std::optional<std::size_t> InstalledCount() {
    FILE* pipe = ::popen("timeout 60 dpkg-query -W -f='${db:Status-Status}\\n' 2>/dev/null", "r");
    if (!pipe)
        return std::nullopt;
    std::size_t count = 0;
    char line[256];
    while (std::fgets(line, sizeof line, pipe))
        count += std::string(line) == "installed\n";
    return ::pclose(pipe) == 0 ? std::optional(count) : std::nullopt;
}

TEST(UninstallKeysLive, BothViewsTogetherHoldEveryInstalledPackage) {
    const auto expected = InstalledCount();
    if (!expected || *expected == 0)
        GTEST_SKIP() << "no dpkg database here";
    PackageRegistry registry{SystemRoot(), true};
    const View wide = ReadView(registry, kKeyWow64_64);
    const View narrow = ReadView(registry, 0);
    std::size_t fromDpkg = 0;
    for (const View* view : {&wide, &narrow})
        for (const auto& [name, values] : *view) {
            fromDpkg += values.at(L"PackageSource").starts_with(L"dpkg");
            EXPECT_NE(L"<none>", values.at(L"DisplayName")) << name;
            EXPECT_NE(L"<none>", values.at(L"DisplayVersion")) << name;
        }
    EXPECT_EQ(*expected, fromDpkg);
}

}  // namespace
