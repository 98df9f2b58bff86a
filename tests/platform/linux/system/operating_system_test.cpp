// The operating system: os-release's shell quoting, memory, boot and install times, the
// kernel's build and word size, read from text, from fake trees and from this machine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/utsname.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/system/operating_system.h"
#include "platform/linux/live/system/shell_assignments.h"
#include "temp_folder.h"
#include "tree_root.h"
#include "util/utf.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;

namespace {

TEST(SystemOperatingSystemTest, AssignmentsAreReadAsTheShellReadsThem) {
    const struct {
        const char* text;
        std::optional<std::string> value;  // of A
    } cases[] = {
        {"A=plain", "plain"},
        {"A=\"double \\\"quoted\\\" \\$x \\\\ \\`\"", "double \"quoted\" $x \\ `"},
        {"A=\"unknown \\q escape\"", "unknown \\q escape"},
        {"A='single \\n \"raw\"'", "single \\n \"raw\""},
        {"A=escaped\\ blank", "escaped blank"},
        {"A=x\"y\"'z'", "xyz"},
        {"A=\"two\nlines\"\nB=1", "two\nlines"},
        {"A=\"joined \\\nline\"", "joined line"},
        {"A=trailing  \r\n", "trailing"},
        {"A=", ""},
        {"A=\"unterminated", "unterminated"},
        {"A=1\nA=2", "2"},
        {"# A=comment", std::nullopt},
        {"  A=indented", "indented"},
        {"A = spaced", std::nullopt},  // not an assignment to the shell
        {"export A=1", std::nullopt},
        {"AB=1\n9A=2", std::nullopt},
        {"A=caf\xc3\xa9 <b>", "caf\xc3\xa9 <b>"},
    };
    for (const auto& c : cases) {
        const auto values = ParseShellAssignments(c.text);
        const auto found = values.find("A");
        EXPECT_EQ(c.value, found == values.end() ? std::nullopt : std::optional(found->second))
            << c.text;
    }
    EXPECT_EQ(1u, ParseShellAssignments("lower_case=1").count("lower_case"));
}

TEST(SystemOperatingSystemTest, CaptionPrefersThePrettyName) {
    using Values = std::map<std::string, std::string>;
    EXPECT_EQ("Pretty", OsCaption(Values{{"PRETTY_NAME", "Pretty"}, {"NAME", "N"}}));
    EXPECT_EQ("N 2", OsCaption(Values{{"PRETTY_NAME", ""}, {"NAME", "N"}, {"VERSION", "2"}}));
    EXPECT_EQ("N", OsCaption(Values{{"NAME", "N"}}));
    EXPECT_EQ("2", OsCaption(Values{{"VERSION", "2"}}));
    EXPECT_EQ(std::nullopt, OsCaption(Values{{"ID", "x"}}));
}

TEST(SystemOperatingSystemTest, MemoryIsReadInKilobytes) {
    const struct {
        const char* meminfo;
        std::optional<std::uint64_t> total;
        std::optional<std::uint64_t> available;
    } cases[] = {
        {"MemTotal:  2048 kB\nMemFree:  100 kB\nMemAvailable:  900 kB\n", 2048, 900},
        {"MemTotal:  2048 kB\nMemFree:  100 kB\n", 2048, 100},  // kernels before 3.14
        {"MemTotal:18446744073709551615 kB", 18446744073709551615u, std::nullopt},
        {"MemTotal: 18446744073709551616 kB\nMemAvailable: -5 kB", std::nullopt, std::nullopt},
        {"MemTotal: lots kB\nXMemFree: 5 kB", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const MemorySizes sizes = ParseMeminfo(c.meminfo);
        EXPECT_EQ(c.total, sizes.totalKb) << c.meminfo;
        EXPECT_EQ(c.available, sizes.availableKb) << c.meminfo;
    }
}

TEST(SystemOperatingSystemTest, BootTimeComesFromTheBtimeLine) {
    EXPECT_EQ(1700000000, ParseBootTime("cpu  1 2 3\nintr 5\nbtime 1700000000\nprocesses 9\n"));
    EXPECT_EQ(std::nullopt, ParseBootTime("cpu  1 2 3\nbtimex 5\n"));
    EXPECT_EQ(std::nullopt, ParseBootTime("btime soon\n"));
    EXPECT_EQ(std::nullopt, ParseBootTime("btime 99999999999999999999999\n"));
    EXPECT_EQ(std::nullopt, ParseBootTime(""));
}

TEST(SystemOperatingSystemTest, BuildIsWhatFollowsTheUpstreamVersion) {
    const struct {
        const char* release;
        std::optional<std::string> build;
    } cases[] = {
        {"6.1.0-18-amd64", "18-amd64"},
        {"5.15.0-91-generic", "91-generic"},
        {"6.6.9-arch1-1", "arch1-1"},
        {"5.15.133.1-microsoft-standard-WSL2", "microsoft-standard-WSL2"},
        {"6.5.0-rc3", "rc3"},
        {"6.8.1", std::nullopt},
        {"4.4.0+", std::nullopt},
        {"custom", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.build, KernelBuild(c.release)) << c.release;
}

TEST(SystemOperatingSystemTest, ArchitectureFromTheMachineName) {
    for (const char* machine :
         {"x86_64", "aarch64", "ppc64le", "s390x", "riscv64", "mips64", "loongarch64", "alpha"})
        EXPECT_EQ("64-bit", Architecture(machine)) << machine;
    for (const char* machine : {"i686", "i386", "armv7l", "armv8l", "ppc", "s390", "riscv32"})
        EXPECT_EQ("32-bit", Architecture(machine)) << machine;
    for (const char* machine : {"", "unknown", "x86_6"})
        EXPECT_EQ(std::nullopt, Architecture(machine)) << machine;
}

void SetModified(const std::filesystem::path& path, std::time_t when) {
    const timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW)) << path;
}

TEST(SystemOperatingSystemTest, InstallTimeIsTheOldestTrace) {
    TempFolder root;
    EXPECT_EQ(std::nullopt, InstallTime(TreeRoot(root.path().string())));
    std::filesystem::create_directories(root.path() / "var/log/installer");
    std::filesystem::create_directories(root.path() / "lost+found");
    std::filesystem::create_directories(root.path() / "etc");
    std::ofstream(root.path() / "etc/machine-id") << "0123456789abcdef\n";
    SetModified(root.path() / "var/log/installer", 1600000000);
    SetModified(root.path() / "etc/machine-id", 1500000000);
    SetModified(root.path() / "lost+found", 0);  // an image built with times zeroed
    EXPECT_EQ(1500000000, InstallTime(TreeRoot(root.path().string())));
}

TEST(SystemOperatingSystemTest, OneObjectFromAFakeSystem) {
    const WmiObjectList systems = OperatingSystems(TreeRoot(FENNOCK_TREES_DIR "/system-os"));
    ASSERT_EQ(1u, systems.size());
    const WmiObject& system = systems[0];
    EXPECT_EQ(L"(null)", Shown(system, L"InstallDate"));  // the tree keeps no install traces
    EXPECT_EQ(DateTimeText(1700000000), Shown(system, L"LastBootupTime"));
    EXPECT_EQ(L"16318908", Shown(system, L"TotalVisibleMemorySize"));
    EXPECT_EQ(L"8123456", Shown(system, L"FreePhysicalMemory"));
    EXPECT_EQ(L"Fennock \"Test\" Linux 3 $HOME (Larch)", Shown(system, L"Caption"));
    EXPECT_EQ(L"6.1.0-18-amd64", Shown(system, L"Version"));
    EXPECT_EQ(L"18-amd64", Shown(system, L"BuildNumber"));
    EXPECT_EQ(L"(null)", Shown(system, L"CsdVersion"));
    EXPECT_EQ(L"(null)", Shown(system, L"WindowsDirectory"));
    EXPECT_EQ(L"Alice's <b>desk</b>", Shown(system, L"Description"));
    EXPECT_EQ(L"64-bit", Shown(system, L"OSArchitecture"));
}

TEST(SystemOperatingSystemTest, MissingSourcesGiveNulls) {
    // Only the vendor's os-release, without a pretty name.
    const WmiObjectList vendor = OperatingSystems(TreeRoot(FENNOCK_TREES_DIR "/system-os-vendor"));
    ASSERT_EQ(1u, vendor.size());
    EXPECT_EQ(L"Vendor OS 2024.1", Shown(vendor[0], L"Caption"));

    const WmiObjectList nothing = OperatingSystems(TreeRoot(FENNOCK_TREES_DIR "/no-such-tree"));
    ASSERT_EQ(1u, nothing.size());
    for (const wchar_t* name :
         {L"InstallDate", L"LastBootupTime", L"TotalVisibleMemorySize", L"FreePhysicalMemory",
          L"Caption", L"Version", L"BuildNumber", L"CsdVersion", L"WindowsDirectory",
          L"Description", L"OSArchitecture"})
        EXPECT_EQ(L"(null)", Shown(nothing[0], name)) << name;
}

TEST(SystemOperatingSystemTest, LiveSystemMatchesTheKernel) {
    const WmiObjectList systems = OperatingSystems(SystemRoot());
    ASSERT_EQ(1u, systems.size());
    const WmiObject& system = systems[0];

    std::ifstream meminfo("/proc/meminfo");
    std::string field, total;
    while (meminfo >> field >> total && field != "MemTotal:") {
        std::getline(meminfo, field);
    }
    EXPECT_EQ(Utf8ToWide(total), Shown(system, L"TotalVisibleMemorySize"));
    utsname names{};
    ASSERT_EQ(0, ::uname(&names));
    EXPECT_EQ(Utf8ToWide(names.release), Shown(system, L"Version"));
    EXPECT_NE(L"(null)", Shown(system, L"Caption"));
    EXPECT_NE(L"(null)", Shown(system, L"FreePhysicalMemory"));
    EXPECT_EQ(25u, Shown(system, L"LastBootupTime").size());
    const std::wstring bits = Shown(system, L"OSArchitecture");
    EXPECT_TRUE(bits == L"64-bit" || bits == L"32-bit" || bits == L"(null)") << bits;
}

}  // namespace
