// The platform facts (firmware, Secure Boot, virtualization, init system) and the TPM, each
// read from a small tree of the files it looks at.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/firmware/platform_facts.h"
#include "platform/linux/live/live_wmi.h"
#include "temp_folder.h"
#include "tree_root.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;
using namespace platform::live::firmware;

namespace {

// Paths to contents; a path ending in "/" is an empty folder.
using Files = std::map<std::string, std::string>;

class Tree {
  public:
    explicit Tree(const Files& files) {
        for (const auto& [path, text] : files) {
            const auto full = folder_.path() / path.substr(1);
            if (path.ends_with('/')) {
                std::filesystem::create_directories(full);
                continue;
            }
            std::filesystem::create_directories(full.parent_path());
            std::ofstream(full, std::ios::binary) << text;
        }
    }
    SystemRoot Root() const { return TreeRoot(folder_.path().string()); }

  private:
    TempFolder folder_;
};

const std::string kEfiVars = "/sys/firmware/efi/efivars/";
const std::string kSecureBoot = kEfiVars + "SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c";

std::string Variable(char value) {
    return std::string("\x06\0\0\0", 4) + value;
}

TEST(PlatformFirmwareTest, FirmwareTypeAndSecureBoot) {
    struct Case {
        const char* name;
        Files files;
        bool x86;
        std::string firmware;
        std::string secureBoot;
    };
    const std::vector<Case> cases = {
        {"on", {{kSecureBoot, Variable(1)}}, true, "UEFI", "On"},
        {"off", {{kSecureBoot, Variable(0)}}, false, "UEFI", "Off"},
        {"no variable", {{kEfiVars + "Boot0000-x", "b"}}, true, "UEFI", "Not supported"},
        {"variables not mounted", {{kEfiVars, ""}}, true, "UEFI", ""},
        {"truncated variable", {{kSecureBoot, std::string("\x06\0\0\0", 4)}}, true, "UEFI", ""},
        {"old kernel",
         {{"/sys/firmware/efi/vars/SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c/data",
           std::string(1, '\1')}},
         true,
         "UEFI",
         "On"},
        {"pc without uefi", {{"/sys/firmware/acpi/", ""}}, true, "BIOS", "Not supported"},
        {"arm board without uefi", {{"/sys/firmware/devicetree/", ""}}, false, "", ""},
        {"firmware hidden", {{"/sys/firmware/", ""}}, true, "", ""},
    };
    for (const auto& c : cases) {
        const Tree tree(c.files);
        const std::string firmware = FirmwareType(tree.Root(), c.x86);
        EXPECT_EQ(c.firmware, firmware) << c.name;
        EXPECT_EQ(c.secureBoot, SecureBootState(tree.Root(), firmware)) << c.name;
    }
}

TEST(PlatformFirmwareTest, VirtualizationAsSystemdWouldSayIt) {
    const std::string kvmFlags = "processor\t: 0\nflags\t\t: fpu hypervisor sse\n";
    const std::string dmi = "/sys/class/dmi/id/";
    const std::string clock = "/sys/devices/system/clocksource/clocksource0/available_clocksource";
    struct Case {
        const char* name;
        Files files;
        std::optional<std::string> signature;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"bare metal", {{"/proc/cpuinfo", "flags : fpu sse\n"}}, std::nullopt, "none"},
        {"nothing readable", {}, std::nullopt, ""},
        {"docker", {{"/.dockerenv", ""}, {"/proc/cpuinfo", kvmFlags}}, "KVMKVMKVM", "docker"},
        {"podman", {{"/run/.containerenv", ""}}, std::nullopt, "podman"},
        {"nspawn",
         {{"/run/systemd/container", "systemd-nspawn\n"}},
         std::nullopt,
         "systemd-nspawn"},
        {"unknown manager",
         {{"/run/systemd/container", "mybox\n"}},
         std::nullopt,
         "container-other"},
        {"environment of pid 1",
         {{"/proc/1/environ", std::string("PATH=/bin\0container=lxc\0", 24)}},
         std::nullopt,
         "lxc"},
        {"wsl",
         {{"/proc/sys/kernel/osrelease", "5.15.90.1-microsoft-standard-WSL2\n"}},
         std::nullopt,
         "wsl"},
        {"qemu with kvm's clock",
         {{dmi + "sys_vendor", "QEMU\n"}, {clock, "kvm-clock tsc acpi_pm\n"}},
         "TCGTCGTCGTCG",
         "kvm"},
        {"qemu emulated", {{dmi + "sys_vendor", "QEMU\n"}}, std::nullopt, "qemu"},
        {"virtualbox offering kvm's clock",
         {{dmi + "product_name", "VirtualBox\n"}, {clock, "kvm-clock\n"}},
         "KVMKVMKVM",
         "oracle"},
        {"hyper-v",
         {{dmi + "sys_vendor", "Microsoft Corporation\n"},
          {dmi + "product_name", "Virtual Machine\n"}},
         std::nullopt,
         "microsoft"},
        {"a maker's own laptop",
         {{dmi + "sys_vendor", "Microsoft Corporation\n"},
          {dmi + "product_name", "Surface Laptop\n"},
          {"/proc/cpuinfo", "flags : fpu\n"}},
         std::nullopt,
         "none"},
        {"vmware", {{dmi + "sys_vendor", "VMware, Inc.\n"}}, std::nullopt, "vmware"},
        {"xen guest", {{"/sys/hypervisor/type", "xen\n"}}, std::nullopt, "xen"},
        {"xen control domain",
         {{"/sys/hypervisor/type", "xen\n"}, {"/proc/xen/capabilities", "control_d\n"}},
         std::nullopt,
         "none"},
        {"arm kvm guest",
         {{"/proc/device-tree/hypervisor/compatible", "linux,kvm"}},
         std::nullopt,
         "kvm"},
        {"arm qemu", {{"/proc/device-tree/fw-cfg@9020000/", ""}}, std::nullopt, "qemu"},
        // The processor's signature is believed only when nothing of the kernel's says more.
        {"kernel's clock over the signature", {{clock, "kvm-clock\n"}}, "bhyve bhyve ", "kvm"},
        {"signature alone", {{"/proc/cpuinfo", kvmFlags}}, "bhyve bhyve ", "bhyve"},
        {"unknown signature", {{"/proc/cpuinfo", kvmFlags}}, "NewVisorNewV", "vm-other"},
        {"hypervisor flag alone", {{"/proc/cpuinfo", kvmFlags}}, std::nullopt, "vm-other"},
    };
    for (const auto& c : cases) {
        const Tree tree(c.files);
        EXPECT_EQ(c.expected, Virtualization(tree.Root(), c.signature)) << c.name;
    }
}

TEST(PlatformFirmwareTest, InitSystem) {
    const std::vector<std::pair<Files, std::string>> cases = {
        {{{"/run/systemd/system/", ""}, {"/proc/1/comm", "systemd\n"}}, "systemd"},
        {{{"/proc/1/comm", "init\n"}}, "sysvinit"},
        {{{"/proc/1/comm", "init\n"}, {"/run/openrc/softlevel", ""}}, "openrc"},
        {{{"/proc/1/comm", "openrc-init\n"}}, "openrc"},
        {{{"/proc/1/comm", "runit\n"}}, "runit"},
        {{}, ""},
    };
    for (const auto& [files, expected] : cases)
        EXPECT_EQ(expected, InitSystem(Tree(files).Root())) << expected;
}

TEST(PlatformTpmTest, OneObjectPerTpmInTheTpmNamespace) {
    const Tree tree({
        {"/sys/class/tpm/tpm0/tpm_version_major", "2\n"},
        // A 1.2 chip on an older kernel: its attributes under the parent device.
        {"/sys/class/tpm/tpm1/device/caps",
         "Manufacturer: 0x53544d20\nTCG version: 1.2\nFirmware version: 13.12\n"},
        {"/sys/class/tpm/tpm1/device/enabled", "1\n"},
        {"/sys/class/tpm/tpm1/device/active", "0\n"},
        // A 2.0 chip before the version attribute: only 2.0 gets a resource manager.
        {"/sys/class/tpm/tpm2/dev", "10:224\n"},
        {"/sys/class/tpmrm/tpmrm2/", ""},
        {"/sys/class/tpm/tpm3/dev", "10:225\n"},
        {"/sys/class/tpm/tpmx/", ""},
    });
    LiveWmi wmi(tree.Root());
    ASSERT_EQ(0, wmi.Connect());
    EXPECT_FALSE(wmi.ExecQuery(L"Select * from Win32_Tpm")->Next()) << "not in ROOT\\CIMV2";
    auto objects =
        wmi.ExecQueryIn(L"root\\cimv2\\security\\microsofttpm", L"Select * from Win32_Tpm");
    ASSERT_NE(nullptr, objects);
    std::vector<std::vector<std::string>> shown;
    const wchar_t* const kFields[] = {L"SpecVersion", L"IsEnabled_InitialValue",
                                      L"IsActivated_InitialValue", L"ManufacturerVersion"};
    const auto tpms = Tpms(tree.Root());
    for (const auto& tpm : tpms) {
        shown.emplace_back();
        for (const wchar_t* field : kFields)
            shown.back().push_back(ShownUtf8(tpm, field));
    }
    const std::vector<std::vector<std::string>> expected = {
        {"2.0", "-1", "-1", "(null)"},
        {"1.2", "-1", "0", "13.12"},
        {"2.0", "-1", "-1", "(null)"},
        {"(null)", "(null)", "(null)", "(null)"},
    };
    EXPECT_EQ(expected, shown);
    int count = 0;
    while (objects->Next())
        ++count;
    EXPECT_EQ(4, count);
    EXPECT_FALSE(wmi.ExecQueryIn(L"ROOT\\WMI", L"Select * from Win32_Tpm")->Next());
}

}  // namespace
