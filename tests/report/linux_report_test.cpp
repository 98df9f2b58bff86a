// A live Linux inventory in the report: the figures that may be unknown, the disk fullness,
// the prefix of a mask, and the shipped template in Linux terms.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "model_fixture.h"
#include "platform/files.h"
#include "report/shown_figures.h"
#include "util/utf.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(ShownFigures, PrefixOfAMaskOrALength) {
    const struct {
        const wchar_t* subnet;
        const wchar_t* prefix;
    } cases[] = {
        {L"255.255.255.0", L"/24"},
        {L"255.255.240.0", L"/20"},
        {L"255.255.255.255", L"/32"},
        {L"0.0.0.0", L"/0"},
        {L"128.0.0.0", L"/1"},
        {L"24", L"/24"},
        {L"/24", L"/24"},
        {L"64", L"/64"},
        {L"255.0.255.0", L""},
        {L"255.255.255.256", L""},
        {L"255.255.255", L""},
        {L"129", L""},
        {L"", L""},
        {L"ff::", L""},
        {L"255.255. 255.0", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PrefixText(c.subnet), c.prefix) << WideToUtf8(c.subnet);
    }
}

TEST(ShownFigures, DiskUsage) {
    const struct {
        const char* name;
        double size, available;
        std::optional<double> used;
        double expectedUsed, expectedPercent;
    } cases[] = {
        {"used is what is not available", 1000, 250, std::nullopt, 750, 75},
        {"rounded half up to two decimals", 3, 2, std::nullopt, 1, 33.33},
        {"more available than the size", 100, 150, std::nullopt, 0, 0},
        {"no size", 0, 0, std::nullopt, 0, 0},
        // 100 blocks, 5 reserved, 20 used, 75 available: df says 21.05 %.
        {"reserved blocks count neither way", 100, 75, 20, 20, 21.05},
        {"a used figure beyond the size is ignored", 100, 75, 200, 25, 25},
    };
    for (const auto& c : cases) {
        const DiskUsage usage = MeasureDisk(c.size, c.available, c.used);
        EXPECT_DOUBLE_EQ(usage.used, c.expectedUsed) << c.name;
        EXPECT_DOUBLE_EQ(usage.percentFull, c.expectedPercent) << c.name;
    }
}

TEST(ShownFigures, UnknownFiguresAreNotZero) {
    EXPECT_EQ(KnownHertzText(0), L"unknown");
    EXPECT_EQ(KnownHertzText(-1), L"unknown");
    EXPECT_EQ(KnownHertzText(2096005000), L"2.10GHz");
    EXPECT_EQ(KnownBytesText(0), L"unknown");
    EXPECT_EQ(KnownBytesText(1024), L"1.00kb");
}

class LinuxReportTest : public ModelTest {
  protected:
    // The shipped template filled from the session.
    std::string Render(const SessionData& session) {
        const std::wstring output = folder_.Slashed() + L"inventory.html";
        report().Open(Utf8ToWide(FENNOCK_GENERATED_RESOURCES_DIR "/inventory.html.tpl"), output,
                      false);
        report().RenderSections(session, {});
        EXPECT_TRUE(report().WriteReport());
        std::string bytes;
        EXPECT_TRUE(platform::ReadWholeFile(output, bytes));
        return bytes;
    }

    // A virtual machine without firmware tables nor a CPU clock, as a live run sees one.
    static SessionData Session(bool withPlatform) {
        SessionData session{
            {L"Version", {{{L"RunAsAdmin", L"0"}}}},
            {L"OperatingSystem",
             {{{L"Caption", L"Debian GNU/Linux 12 (bookworm)"},
               {L"Version", L"6.1.0-18-amd64"},
               {L"TotalVisibleMemorySize", L"4030000"}}}},
            {L"ComputerSystem", {{{L"Name", L"vm1"}, {L"Model", L""}, {L"Manufacturer", L"KVM"}}}},
            {L"Processor",
             {{{L"DeviceID", L"CPU0"},
               {L"Name", L"Virtual CPU"},
               {L"NumberOfCores", L"2"},
               {L"NumberOfLogicalProcessors", L"4"},
               {L"MaxClockSpeed", L""}}}},
            {L"LogicalDisk",
             {{{L"DeviceID", L"/"},
               {L"DriveType", L"3"},
               {L"FileSystem", L"ext4"},
               {L"Size", L"274877906944"},
               {L"FreeSpace", L"214748364800"}}}},
            {L"NetworkAdapterConfiguration",
             {{{L"Description", L"eth0"},
               {L"IPAddress", L"10.0.2.15\tfe80::1"},
               {L"IPSubnet", L"255.255.255.0\t64"},
               {L"DefaultIPGateway", L"10.0.2.2"},
               {L"DNSServerSearchOrder", L"10.0.2.3\t1.1.1.1"},
               {L"DHCPEnabled", L""}}}},
            {L"Services",
             {{{L"DisplayName", L"OpenSSH server"},
               {L"ServiceName", L"ssh.service"},
               {L"State", L"active"},
               {L"StartMode", L"enabled"}}}},
            {L"InstalledSoftware32",
             {{{L"DisplayName", L"htop"},
               {L"DisplayVersion", L"3.2"},
               {L"PackageSource", L"rpm"}}}},
            {L"DiskDrive",
             {{{L"DeviceID", L"vda"},
               {L"Model", L""},
               {L"Size", L"274877906944"},
               {L"InterfaceType", L"virtio"},
               {L"MediaType", L"HDD"}}}},
            {L"USBDevice", {{{L"Name", L"QEMU Tablet"}, {L"Manufacturer", L"QEMU"}}}},
        };
        if (withPlatform) {
            session[L"Platform"] = {{{L"OSFamily", L"Linux"},
                                     {L"FirmwareType", L"UEFI"},
                                     {L"SecureBoot", L"Off"},
                                     {L"Virtualization", L"kvm"},
                                     {L"InitSystem", L""}}};
        }
        return session;
    }
};

TEST_F(LinuxReportTest, ShowsLinuxFactsInsteadOfWindowsOnes) {
    const std::string page = Render(Session(true));
    for (const char* windowsOnly :
         {"Service Pack", "System Directory", "Registry Size", "Registry Max Size",
          "Installed Patches via Inventory", "Installed Windows Components/Features",
          "(Physical Disk)", "RAM Maximum Capacity", ">Model<", ">Manufacturer<", ">BIOS Name<",
          "administrator", "0.00Hz", "DHCP&nbsp;Disabled", "@@__"}) {
        EXPECT_THAT(page, Not(HasSubstr(windowsOnly))) << windowsOnly;
    }
    for (const char* shown : {
             "<body class=\"linuxReport\">",
             "Kernel</td><td>6.1.0-18-amd64<",
             "Init System</td><td>unknown<",
             "Virtualization</td><td>kvm<",
             "Firmware Type</td><td>UEFI<",
             "Secure Boot</td><td>Off<",
             "TPM</td><td>not present<",
             "Block Devices</td><td>vda: Size: 256.00GB Transport: virtio HDD<",
             "USB Devices</td><td>QEMU Tablet (QEMU)<",
             "Logical Processors: 4<br>",
             "[10.0.2.15/24]",
             "[DHCP&nbsp;unknown]&nbsp;[Gateway&nbsp;10.0.2.2]&nbsp;[DNS&nbsp;10.0.2.3, 1.1.1.1]",
             "OpenSSH server [ssh.service] active, enabled",
             "htop (3.2) [rpm]",
             "Mount / FileSystem: ext4 Used: 56.00GB Total: 256.00GB [ 21.88% Full ]",
             "yellow.gif\" width=\"18\" height=\"42\" title=\"CPU speed unknown&#13;\"",
             // Windows 11 from the same facts: the one light that is red, for the memory alone.
             "red.gif\" width=\"18\" height=\"42\" title=\"Processor width unknown&#13;CPU speed "
             "unknown&#13;Processor generation unknown&#13;4.00GB of RAM or higher "
             "required&#13;TPM 2.0 required (no TPM found)&#13;\" alt=\"red\"> <b>Windows 11</b>",
         }) {
        EXPECT_THAT(page, HasSubstr(shown)) << shown;
    }
    EXPECT_EQ(page.find("red.gif"), page.rfind("red.gif"));
}

TEST_F(LinuxReportTest, WindowsReportKeepsItsRowsAndGainsNoLinuxOnes) {
    const std::string page = Render(Session(false));
    for (const char* windows : {"<body>", "Service Pack", "System Directory", "(Physical Disk)",
                                "Installed Patches via Inventory", ">Model<"}) {
        EXPECT_THAT(page, HasSubstr(windows)) << windows;
    }
    for (const char* linuxOnly : {"Kernel", "Init System", "Block Devices", "Logical Processors",
                                  "Gateway", "[ssh.service]", "@@__"}) {
        EXPECT_THAT(page, Not(HasSubstr(linuxOnly))) << linuxOnly;
    }
}

}  // namespace
