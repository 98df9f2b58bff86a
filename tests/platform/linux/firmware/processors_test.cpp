// Processors from /proc/cpuinfo and the CPU topology: x86 and ARM samples, two packages with
// SMT siblings, a package without cpufreq, and the live machine's shape.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/firmware/cpuinfo.h"
#include "temp_folder.h"
#include "tree_root.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;
using namespace platform::live::firmware;

namespace {

const std::string kTrees = FENNOCK_TREES_DIR;

std::vector<std::string> Row(const WmiObject& processor) {
    std::vector<std::string> row;
    for (const wchar_t* name : {L"DeviceID", L"Name", L"NumberOfCores", L"MaxClockSpeed",
                                L"NumberOfLogicalProcessors", L"Manufacturer"})
        row.push_back(ShownUtf8(processor, name));
    return row;
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

TEST(FirmwareCpuInfoTest, NamesAndMakersFromEachArchitecture) {
    struct Case {
        const char* what;
        const char* text;
        unsigned processor;
        std::optional<std::string> name, vendor;
    };
    const std::vector<Case> cases = {
        {"x86",
         "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel name\t: Intel(R)  Core(TM)   i7\n", 0,
         "Intel(R) Core(TM) i7", "GenuineIntel"},
        {"arm64 decoded", "processor\t: 3\nCPU implementer\t: 0x41\nCPU part\t: 0xd03\n", 3,
         "ARM Cortex-A53", "ARM"},
        {"arm64 part of another maker",
         "processor\t: 0\nCPU implementer\t: 0x51\nCPU part\t: 0x801\n", 0, std::nullopt,
         "Qualcomm"},
        {"arm64 unknown implementer",
         "processor\t: 0\nCPU implementer\t: 0x99\nCPU part\t: 0xd03\n", 0, std::nullopt,
         std::nullopt},
        {"arm32 shared name and trailing block",
         "Processor\t: ARMv7 Processor rev 4 (v7l)\nprocessor\t: 0\nBogoMIPS\t: 38.40\n\n"
         "processor\t: 1\nBogoMIPS\t: 38.40\n\nCPU implementer\t: 0x41\nCPU part\t: 0xc07\n"
         "Hardware\t: BCM2709\n",
         1, "ARMv7 Processor rev 4 (v7l)", "ARM"},
        {"powerpc", "processor\t: 0\ncpu\t\t: POWER9 (architected), altivec supported\n", 0,
         "POWER9 (architected), altivec supported", std::nullopt},
        {"garbage", "\x01\x02:\n:::\nprocessor : x\n\n\n", 0, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const CpuInfo info = ParseCpuInfo(c.text);
        EXPECT_EQ(c.name, CpuName(info, c.processor)) << c.what;
        EXPECT_EQ(c.vendor, CpuVendor(info, c.processor)) << c.what;
    }
    const CpuInfo arm32 = ParseCpuInfo(cases[4].text);
    EXPECT_EQ(2u, arm32.processors.size());
    EXPECT_EQ(std::optional<std::string>("BCM2709"), arm32.Value(0, "Hardware"));
}

TEST(FirmwareCpuInfoTest, WindowsCaptionArchitectureAndWidth) {
    const std::string intel =
        "processor : 0\nvendor_id : GenuineIntel\ncpu family : 6\nmodel : 158\nstepping : 10\n"
        "flags : fpu lm sse\n";
    const std::string amd =
        "processor : 0\nvendor_id : AuthenticAMD\ncpu family : 23\nmodel : 113\nstepping : 0\n"
        "flags : fpu lmx lm\n";
    const std::string oldIntel =
        "processor : 0\nvendor_id : GenuineIntel\ncpu family : 6\nmodel : 13\nstepping : 8\n"
        "flags : fpu pae sse2\n";
    const std::string arm = "processor : 0\nCPU implementer : 0x41\nCPU part : 0xd08\n";
    struct Case {
        const char* what;
        std::string text;
        const char* machine;
        std::optional<std::string> caption;
        std::optional<std::uint32_t> architecture, width;
    };
    const Case cases[] = {
        {"Intel, 64-bit kernel", intel, "x86_64", "Intel64 Family 6 Model 158 Stepping 10", 9, 64},
        {"AMD, 64-bit kernel", amd, "x86_64", "AMD64 Family 23 Model 113 Stepping 0", 9, 64},
        {"64-bit processor, 32-bit kernel", intel, "i686", "x86 Family 6 Model 158 Stepping 10", 0,
         64},
        {"32-bit processor", oldIntel, "i686", "x86 Family 6 Model 13 Stepping 8", 0, 32},
        {"ARM64", arm, "aarch64", std::nullopt, 12, 64},
        {"ARM", arm, "armv7l", std::nullopt, 5, std::nullopt},
        {"unknown machine", oldIntel, "", std::nullopt, std::nullopt, std::nullopt},
        {"stepping unknown",
         "processor : 0\nvendor_id : GenuineIntel\ncpu family : 6\nmodel : 1\n"
         "stepping : unknown\n",
         "x86_64", std::nullopt, 9, 64},
    };
    for (const auto& c : cases) {
        const CpuInfo info = ParseCpuInfo(c.text);
        EXPECT_EQ(c.caption, CpuCaption(info, 0, c.machine)) << c.what;
        EXPECT_EQ(c.architecture, ArchitectureCode(c.machine)) << c.what;
        EXPECT_EQ(c.width, CpuDataWidth(info, 0, c.machine)) << c.what;
    }
}

TEST(FirmwareProcessorsTest, TwoPackagesWithSiblingsAndOneWithoutCpufreq) {
    const auto processors = Processors(TreeRoot(kTrees + "/firmware-pc"));
    ASSERT_EQ(2u, processors.size());
    // cpu6 is offline; the siblings of a core count once; the package's fastest CPU answers.
    EXPECT_EQ((std::vector<std::string>{"CPU0", "Intel(R) Xeon(R) CPU E5-2670 0 @ 2.60GHz", "2",
                                        "5000", "4", "GenuineIntel"}),
              Row(processors[0]));
    EXPECT_EQ((std::vector<std::string>{"CPU1", "Intel(R) Xeon(R) Gold 6130", "2", "2096", "2",
                                        "GenuineIntel"}),
              Row(processors[1]))
        << "without cpufreq, cpuinfo's speed of the package's first CPU, rounded";
}

TEST(FirmwareProcessorsTest, ArmBoardWithCoreIdsOnly) {
    const auto processors = Processors(TreeRoot(kTrees + "/firmware-arm-board"));
    ASSERT_EQ(1u, processors.size());
    EXPECT_EQ((std::vector<std::string>{"CPU0", "ARM Cortex-A72", "4", "(null)", "4", "ARM"}),
              Row(processors[0]));
}

TEST(FirmwareProcessorsTest, CpuInfoAloneWhenSysfsIsMissing) {
    TempFolder folder;
    // Packages 0 and 3 (ids need not be contiguous); the second has no core information.
    WriteFile(folder.path() / "proc/cpuinfo",
              "processor\t: 0\nphysical id\t: 3\ncore id\t: 0\nmodel name\t: B\n"
              "cpu MHz\t\t: 0.000\n\n"
              "processor\t: 1\nphysical id\t: 3\ncore id\t: 0\nmodel name\t: B\n\n"
              "processor\t: 2\nphysical id\t: 0\ncpu cores\t: 6\nmodel name\t: A\n"
              "cpu MHz\t\t: 2096.005\n\n"
              "processor\t: 3\nphysical id\t: 0\nmodel name\t: A\n\n");
    const auto processors = Processors(TreeRoot(folder.path().string()));
    ASSERT_EQ(2u, processors.size());
    EXPECT_EQ((std::vector<std::string>{"CPU0", "A", "6", "2096", "2", "(null)"}),
              Row(processors[0]));
    EXPECT_EQ((std::vector<std::string>{"CPU1", "B", "1", "(null)", "2", "(null)"}),
              Row(processors[1]));

    WriteFile(folder.path() / "proc/cpuinfo", "processor : 0\n\nprocessor : 1\n");
    const auto bare = Processors(TreeRoot(folder.path().string()));
    ASSERT_EQ(1u, bare.size());
    EXPECT_EQ((std::vector<std::string>{"CPU0", "(null)", "2", "(null)", "2", "(null)"}),
              Row(bare[0]))
        << "the logical processors are the last answer for cores";

    EXPECT_TRUE(Processors(TreeRoot((folder.path() / "missing").string())).empty());
}

TEST(FirmwareProcessorsTest, LiveProcessorsFitTheOnlineCpus) {
    const auto processors = Processors(SystemRoot());
    ASSERT_FALSE(processors.empty());
    const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
    long cores = 0;
    std::set<std::string> ids;
    for (const auto& processor : processors) {
        for (const wchar_t* name : {L"Name", L"NumberOfCores", L"DeviceID", L"MaxClockSpeed"})
            EXPECT_NE(nullptr, processor.Find(name));
        const WmiValue* count = processor.Find(L"NumberOfCores");
        ASSERT_EQ(WmiValue::Kind::UInt32, count->kind);
        EXPECT_GT(count->number, 0);
        cores += count->number;
        ids.insert(ShownUtf8(processor, L"DeviceID"));
        const WmiValue* clock = processor.Find(L"MaxClockSpeed");
        EXPECT_TRUE(clock->kind == WmiValue::Kind::Null || clock->kind == WmiValue::Kind::UInt32);
    }
    EXPECT_LE(cores, online);
    EXPECT_EQ(processors.size(), ids.size());
    EXPECT_EQ(1u, ids.count("CPU0"));
}

}  // namespace
