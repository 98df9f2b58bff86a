// The computer system, BIOS and motherboard from sysfs's DMI attributes, an ARM board's device
// tree, host names and the PCI bus; and the live machine's shape.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/firmware/computer_system.h"
#include "platform/linux/live/firmware/host_names.h"
#include "platform/linux/live/firmware/hypervisor.h"
#include "platform/linux/live/live_wmi.h"
#include "temp_folder.h"
#include "tree_root.h"
#include "util/utf.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;
using namespace platform::live::firmware;

namespace {

const std::string kTrees = FENNOCK_TREES_DIR;

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

TEST(FirmwareHostNamesTest, DomainsFromCanonicalNames) {
    const std::string hosts =
        "# 127.0.1.1 commented.example.com box\n"
        "127.0.0.1 localhost\n"
        "10.0.0.5\tBox.Corp.Example.COM  box box-alias # ours\n"
        "10.0.0.6 box.other.example\n";
    EXPECT_EQ(std::optional<std::string>("Box.Corp.Example.COM"),
              CanonicalNameInHosts(hosts, "BOX"));
    EXPECT_EQ(std::optional<std::string>("Box.Corp.Example.COM"),
              CanonicalNameInHosts(hosts, "box-alias"));
    EXPECT_EQ(std::nullopt, CanonicalNameInHosts(hosts, "commented.example.com"));
    EXPECT_EQ(std::nullopt, CanonicalNameInHosts(hosts, "10.0.0.5")) << "an address is no name";
    EXPECT_EQ(std::nullopt, CanonicalNameInHosts("", "box"));

    EXPECT_EQ(std::optional<std::string>("corp.example.com"), DomainOf("box.corp.example.com."));
    EXPECT_EQ(std::nullopt, DomainOf("box"));
    EXPECT_EQ(std::nullopt, DomainOf("box."));
    EXPECT_EQ(std::nullopt, DomainOf(""));
}

TEST(FirmwareHostNamesTest, HypervisorSignaturesNameTheirMakers) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {std::string("KVMKVMKVM\0\0\0", 12), "KVM"},
        {"Microsoft Hv", "Microsoft"},
        {"VMwareVMware", "VMware"},
        {"XenVMMXenVMM", "Xen"},
        {"TCGTCGTCGTCG", "QEMU"},
        {std::string("NewVisor\x01\0\0\0", 12), "NewVisor"},
        {std::string(12, '\0'), std::nullopt},
        {"            ", std::nullopt},
    };
    for (const auto& [signature, maker] : cases)
        EXPECT_EQ(maker, HypervisorVendor(signature)) << signature;
}

TEST(FirmwareHostNamesTest, DeviceTreeAndMemoryTexts) {
    EXPECT_EQ(std::optional<std::string>("Board X"), DeviceTreeModel(std::string("Board  X\0", 9)));
    EXPECT_EQ(std::nullopt, DeviceTreeModel(std::string("\0junk", 5)));
    EXPECT_EQ(std::optional<std::string>("fsl"),
              DeviceTreeVendor(std::string("fsl,imx8mq-evk\0fsl,imx8mq\0", 26)));
    EXPECT_EQ(std::nullopt, DeviceTreeVendor(std::string("generic\0acme,board\0", 19)));
    EXPECT_EQ(std::nullopt, DeviceTreeVendor(""));

    EXPECT_EQ(std::optional<std::uint64_t>(2048), MemTotalBytes("MemFree: 1 kB\nMemTotal: 2 kB\n"));
    EXPECT_EQ(std::nullopt, MemTotalBytes("MemFree: 1 kB\n"));
    EXPECT_EQ(std::nullopt, MemTotalBytes("MemTotal: 18014398509481984 kB\n")) << "2^64 bytes";
    EXPECT_EQ(std::nullopt, MemTotalBytes("MemTotal: 99999999999999999999999 kB\n"));
    EXPECT_EQ(std::nullopt, MemTotalBytes("MemTotal: -5 kB\n"));
}

TEST(FirmwareComputerSystemTest, FromDmiAttributesAndTheHostsFile) {
    const SystemRoot root = TreeRoot(kTrees + "/firmware-pc");
    const auto systems = ComputerSystems(root);
    ASSERT_EQ(1u, systems.size());
    const auto& system = systems[0];
    EXPECT_EQ("Contoso Systems Inc.", ShownUtf8(system, L"Manufacturer"));
    EXPECT_EQ("Fennock Tower 7 \"Pro\" <b>", ShownUtf8(system, L"Model"));
    EXPECT_EQ("tower7", ShownUtf8(system, L"Name"));
    EXPECT_EQ("lab.example.org", ShownUtf8(system, L"Domain"));
    EXPECT_EQ("2", ShownUtf8(system, L"NumberOfProcessors"));
    EXPECT_EQ("6", ShownUtf8(system, L"NumberOfLogicalProcessors"));
    EXPECT_EQ("33554432000", ShownUtf8(system, L"TotalPhysicalMemory"));
}

TEST(FirmwareComputerSystemTest, ArmBoardFromItsDeviceTree) {
    const auto systems = ComputerSystems(TreeRoot(kTrees + "/firmware-arm-board"));
    ASSERT_EQ(1u, systems.size());
    EXPECT_EQ("raspberrypi", ShownUtf8(systems[0], L"Manufacturer"));
    EXPECT_EQ("Raspberry Pi 4 Model B Rev 1.4", ShownUtf8(systems[0], L"Model"));
    EXPECT_EQ("pi.home.arpa", ShownUtf8(systems[0], L"Name"));
    EXPECT_EQ("home.arpa", ShownUtf8(systems[0], L"Domain")) << "from the host name itself";
    EXPECT_EQ("1", ShownUtf8(systems[0], L"NumberOfProcessors"));
}

TEST(FirmwareComputerSystemTest, NothingKnownGivesNullsNotInventions) {
    TempFolder folder;
    WriteFile(folder.path() / "proc/sys/kernel/hostname", "solo\n");
    const auto systems = ComputerSystems(TreeRoot(folder.path().string()));
    ASSERT_EQ(1u, systems.size());
    for (const wchar_t* name :
         {L"Manufacturer", L"Model", L"Domain", L"NumberOfProcessors", L"TotalPhysicalMemory"})
        EXPECT_EQ("(null)", ShownUtf8(systems[0], name)) << WideToUtf8(name);
    EXPECT_EQ("solo", ShownUtf8(systems[0], L"Name"));
}

TEST(FirmwareBiosTest, FromDmiAttributes) {
    const auto bioses = Bioses(TreeRoot(kTrees + "/firmware-pc"));
    ASSERT_EQ(1u, bioses.size());
    const auto& bios = bioses[0];
    EXPECT_EQ("2.14.0", ShownUtf8(bios, L"Name"));
    EXPECT_EQ("2.14.0", ShownUtf8(bios, L"Description"));
    EXPECT_EQ("(null)", ShownUtf8(bios, L"Version")) << "no ACPI table readable";
    EXPECT_EQ("Northwind BIOS Ltd.", ShownUtf8(bios, L"Manufacturer"));
    EXPECT_EQ("(null)", ShownUtf8(bios, L"IdentificationCode"));
    EXPECT_EQ("(null)", ShownUtf8(bios, L"SerialNumber")) << "a blank serial is no serial";
    EXPECT_EQ("20040622000000.000000", ShownUtf8(bios, L"ReleaseDate").substr(0, 21));

    EXPECT_TRUE(Bioses(TreeRoot(kTrees + "/firmware-arm-board")).empty());
}

TEST(FirmwareMotherboardTest, BusesFromThePciDevices) {
    const auto boards = MotherboardDevices(TreeRoot(kTrees + "/firmware-pc"));
    ASSERT_EQ(1u, boards.size());
    EXPECT_EQ("PCI", ShownUtf8(boards[0], L"PrimaryBusType"));
    EXPECT_EQ("ISA", ShownUtf8(boards[0], L"SecondaryBusType"));

    TempFolder folder;
    WriteFile(folder.path() / "sys/bus/pci/devices/0000:00:00.0/class", "0x060000\n");
    WriteFile(folder.path() / "sys/bus/pci/devices/0000:00:02.0/class", "garbage\n");
    const auto hostBridgeOnly = MotherboardDevices(TreeRoot(folder.path().string()));
    ASSERT_EQ(1u, hostBridgeOnly.size());
    EXPECT_EQ("(null)", ShownUtf8(hostBridgeOnly[0], L"SecondaryBusType"));

    EXPECT_TRUE(MotherboardDevices(TreeRoot(kTrees + "/firmware-arm-board")).empty());
}

TEST(FirmwareLiveTest, StatementsReachTheProviders) {
    LiveWmi wmi(TreeRoot(kTrees + "/firmware-pc"));
    ASSERT_EQ(0, wmi.Connect());
    auto objects = wmi.ExecQuery(L"Select * from Win32_Processor");
    ASSERT_NE(nullptr, objects);
    int count = 0;
    while (objects->Next())
        ++count;
    EXPECT_EQ(2, count);
}

std::string HostnameCommand() {
    std::string output;
    if (FILE* pipe = ::popen("timeout 20 hostname 2>/dev/null", "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        ::pclose(pipe);
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == ' '))
        output.pop_back();
    return output;
}

TEST(FirmwareLiveTest, ComputerSystemIsNamedAsHostnameSays) {
    const auto systems = ComputerSystems(SystemRoot());
    ASSERT_EQ(1u, systems.size());
    const auto& system = systems[0];
    for (const wchar_t* name : {L"Manufacturer", L"Model", L"Name", L"Domain"}) {
        const WmiValue* value = system.Find(name);
        ASSERT_NE(nullptr, value) << WideToUtf8(name);
        EXPECT_TRUE(value->kind == WmiValue::Kind::Null ||
                    (value->kind == WmiValue::Kind::String && !value->text.empty()))
            << WideToUtf8(name);
    }
    const std::string expected = HostnameCommand();
    ASSERT_FALSE(expected.empty()) << "hostname answered nothing";
    EXPECT_EQ(expected, ShownUtf8(system, L"Name"));
    for (const auto& bios : Bioses(SystemRoot()))
        EXPECT_NE(nullptr, bios.Find(L"SerialNumber"));
}

}  // namespace
