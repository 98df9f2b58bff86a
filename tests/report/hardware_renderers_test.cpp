// The dispatcher and the renderers of the summary, hardware and operating-system sections.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "model_fixture.h"
#include "util/datetime.h"
#include "util/utf.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

using Items = std::vector<SessionItem>;

// A WMI date-time of the instant, written in a zone `offsetMinutes` east of UTC.
std::wstring WmiTime(std::time_t instant, int offsetMinutes) {
    const std::time_t shifted = instant + offsetMinutes * 60;
    const std::tm t = *std::gmtime(&shifted);
    char text[80];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d.000000%c%03d", t.tm_year + 1900,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                  offsetMinutes < 0 ? '-' : '+',
                  offsetMinutes < 0 ? -offsetMinutes : offsetMinutes);
    return Utf8ToWide(text);
}

std::tm UtcRecord(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

class HardwareTest : public ModelTest {
  protected:
    void Renew() { report_ = std::make_unique<CInventoryReport>(*config_); }

    // Uptime of a machine booted `seconds` ago; repeated until the clock did not tick during
    // the render, so that the expected text is exact.
    std::wstring UptimeAfter(long long seconds, int offsetMinutes = 0) {
        for (;;) {
            const std::time_t before = std::time(nullptr);
            Renew();
            report().RenderOperatingSystem(
                {{{L"LastBootupTime", WmiTime(before - seconds, offsetMinutes)}}});
            if (std::time(nullptr) == before) {
                return report().m_operatingSystemUptime;
            }
        }
    }

    // The query names of the raw recent-changes headings, in page order.
    std::vector<std::wstring> RawHeadings() const {
        std::vector<std::wstring> names;
        const std::wregex heading(LR"re(hideShowSubdetail\("raw([A-Za-z0-9]+)"\))re");
        const std::wstring& raw = report_->m_recentChangesRawList;
        for (std::wsregex_iterator it(raw.begin(), raw.end(), heading), end; it != end; ++it) {
            names.push_back((*it)[1].str());
        }
        return names;
    }
};

TEST_F(HardwareTest, FirstItemRenderersCopyPresentFieldsEscaped) {
    CInventoryReport& r = report();
    r.m_biosDescription = L"kept";
    r.RenderBIOS({{{L"Name", L"<script>alert(1)</script>"},
                   {L"Version", L"A & B"},
                   {L"Manufacturer", L"O'Neil \"Co\""},
                   {L"IdentificationCode", L""},
                   {L"SerialNumber", L"SN1"}},
                  {{L"Name", L"second item"}}});
    EXPECT_EQ(r.m_biosName, L"&lt;script&gt;alert(1)&lt;/script&gt;");
    EXPECT_EQ(r.m_biosVersion, L"A &amp; B");
    EXPECT_EQ(r.m_biosManufacturer, L"O&#39;Neil &quot;Co&quot;");
    EXPECT_EQ(r.m_biosDescription, L"kept") << "an absent field leaves the model field";
    EXPECT_EQ(r.m_biosIdentificationCode, L"");
    EXPECT_EQ(r.m_biosSerialNumber, L"SN1");

    r.RenderComputerSystem({{{L"Manufacturer", L"Maker"},
                             {L"Model", L"M<1>"},
                             {L"Name", L"PC"},
                             {L"Domain", L"WORKGROUP"}}});
    EXPECT_EQ(r.m_computerSystemManufacturer, L"Maker");
    EXPECT_EQ(r.m_computerSystemModel, L"M&lt;1&gt;");
    EXPECT_EQ(r.m_computerSystemName, L"PC");
    EXPECT_EQ(r.m_computerSystemDomain, L"WORKGROUP");

    r.RenderMotherboardDevice({{{L"PrimaryBusType", L"PCI"}, {L"SecondaryBusType", L"ISA"}}});
    EXPECT_EQ(r.m_motherboardDevicePrimaryBusType, L"PCI");
    EXPECT_EQ(r.m_motherboardDeviceSecondaryBusType, L"ISA");

    r.RenderDesktopMonitor({{{L"Name", L"N"},
                             {L"Description", L"D"},
                             {L"DeviceID", L"DesktopMonitor1"},
                             {L"MonitorManufacturer", L"M&M"},
                             {L"MonitorType", L"T"}}});
    EXPECT_EQ(r.m_desktopMonitorName, L"N");
    EXPECT_EQ(r.m_desktopMonitorDescription, L"D");
    EXPECT_EQ(r.m_desktopMonitorDeviceID, L"DesktopMonitor1");
    EXPECT_EQ(r.m_desktopMonitorMonitorManufacturer, L"M&amp;M");
    EXPECT_EQ(r.m_desktopMonitorMonitorType, L"T");

    r.RenderRegistry({{{L"CurrentSize", L"53"}}});
    EXPECT_EQ(r.m_registryCurrentSize, L"53MB");
    EXPECT_EQ(r.m_registryMaximumSize, L"");

    // Empty lists change nothing.
    r.RenderBIOS({});
    r.RenderComputerSystem({});
    r.RenderRegistry({});
    EXPECT_EQ(r.m_biosVersion, L"A &amp; B");
    EXPECT_EQ(r.m_computerSystemName, L"PC");
    EXPECT_EQ(r.m_registryCurrentSize, L"53MB");
}

TEST_F(HardwareTest, OnlyRunAsAdminZeroAddsThePermissionNote) {
    struct Case {
        Items items;
        bool note;
    };
    const Case cases[] = {
        {{{{L"RunAsAdmin", L"1"}}}, false},
        {{{{L"RunAsAdmin", L"0"}}}, true},
        {{{{L"Version", L"1.0"}}}, false},
        {{{{L"RunAsAdmin", L"x"}}}, true},
        {{}, false},
    };
    for (const auto& c : cases) {
        Renew();
        report().RenderVersion(c.items);
        if (c.note) {
            EXPECT_EQ(report().m_insufficientAccess,
                      CInventoryReport::FormatSpanRow(
                          L"<span style=\"color:red\">NOTE: Some data could not be retrieved for "
                          L"this item due to user permission limitations. Please be sure to run "
                          L"this tool as administrator to return maximum details about your "
                          L"system.</span>",
                          0));
        } else {
            EXPECT_EQ(report().m_insufficientAccess, L"");
        }
    }
}

TEST_F(HardwareTest, CaptionGetsThePlatformTagUnlessItNamesIt) {
    struct Case {
        bool wow64;
        std::wstring caption;
        std::wstring expected;
    };
    const Case cases[] = {
        {true, L"Microsoft Windows 7 Professional", L"Microsoft Windows 7 Professional x64"},
        {true, L"Microsoft Windows XP Professional x64 Edition",
         L"Microsoft Windows XP Professional x64 Edition"},
        {false, L"Microsoft Windows XP Professional", L"Microsoft Windows XP Professional x86"},
        {false, L"Windows X86 Edition", L"Windows X86 Edition"},
        {false, L"Windows x64 Edition", L"Windows x64 Edition x86"},
        {false, L"Win <b>&", L"Win &lt;b&gt;&amp; x86"},
        // Escaping must not create the tag: "@" becomes "&#64;".
        {true, L"x@", L"x&#64; x64"},
    };
    for (const auto& c : cases) {
        host_.wow64 = c.wow64;
        Renew();
        report().RenderOperatingSystem({{{L"Caption", c.caption}}});
        EXPECT_EQ(report().m_operatingSystemCaption, c.expected);
    }
}

TEST_F(HardwareTest, ServicePackVersionAndArchitecture) {
    struct Case {
        Items items;
        bool wow64;
        std::wstring servicePack;
        std::wstring architecture;
    };
    const Case cases[] = {
        {{{}}, false, L"None", L"32-bit"},
        {{{{L"CsdVersion", L""}, {L"OSArchitecture", L""}}}, true, L"None", L"64-bit"},
        {{{{L"CsdVersion", L"Service Pack 3"}, {L"OSArchitecture", L"64-bit"}}},
         false,
         L"Service Pack 3",
         L"64-bit"},
        {{{{L"CsdVersion", L"SERVICE PACK 3"}}}, false, L"SERVICE PACK 3", L"32-bit"},
        {{{{L"CsdVersion", L"3"}}}, false, L"Service Pack 3", L"32-bit"},
        {{{{L"CsdVersion", L"<i>2</i>"}, {L"OSArchitecture", L"<b>"}}},
         false,
         L"Service Pack &lt;i&gt;2&lt;/i&gt;",
         L"&lt;b&gt;"},
    };
    for (const auto& c : cases) {
        host_.wow64 = c.wow64;
        Renew();
        report().RenderOperatingSystem(c.items);
        EXPECT_EQ(report().m_operatingSystemCsdVersion, c.servicePack);
        EXPECT_EQ(report().m_operatingSystemOSArchitecture, c.architecture);
    }

    Renew();
    report().RenderOperatingSystem({{{L"Version", L"6.1.7601"},
                                     {L"BuildNumber", L"7601"},
                                     {L"WindowsDirectory", L"C:\\Windows"},
                                     {L"Description", L"Jo's PC"}}});
    EXPECT_EQ(report().m_operatingSystemVersion, L"6.1.7601");
    EXPECT_EQ(report().m_operatingSystemBuildNumber, L"7601");
    EXPECT_EQ(report().m_operatingSystemWindowsDirectory, L"C:\\Windows");
    EXPECT_EQ(report().m_operatingSystemDescription, L"Jo&#39;s PC");

    Renew();
    report().RenderOperatingSystem({});
    EXPECT_EQ(report().m_operatingSystemCsdVersion, L"") << "an empty list changes nothing";
}

TEST_F(HardwareTest, VisibleMemoryIsClampedAndShownInMegabytes) {
    struct Case {
        Items items;
        std::wstring total, free, used;
    };
    const Case cases[] = {
        {{{{L"TotalVisibleMemorySize", L"2096632"}, {L"FreePhysicalMemory", L"1048576"}}},
         L"2047MB",
         L"1024MB",
         L"1023MB"},
        {{{{L"TotalVisibleMemorySize", L"2096632"}, {L"FreePhysicalMemory", L"3000000"}}},
         L"2047MB",
         L"2047MB",
         L"0MB"},
        {{{{L"TotalVisibleMemorySize", L"2096632"}, {L"FreePhysicalMemory", L"-5"}}},
         L"2047MB",
         L"0MB",
         L"2047MB"},
        {{{{L"TotalVisibleMemorySize", L"1048576"}}}, L"1024MB", L"0MB", L"1024MB"},
        // Kilobytes beyond 32 bits: 6 TiB of memory, 5 TiB of it free.
        {{{{L"TotalVisibleMemorySize", L"6442450944"}, {L"FreePhysicalMemory", L"5368709120"}}},
         L"6291456MB",
         L"5242880MB",
         L"1048576MB"},
        {{{{L"TotalVisibleMemorySize", L"0"}, {L"FreePhysicalMemory", L"10"}}}, L"", L"", L""},
        {{{{L"FreePhysicalMemory", L"1048576"}}}, L"", L"", L""},
    };
    for (const auto& c : cases) {
        Renew();
        report().RenderOperatingSystem(c.items);
        EXPECT_EQ(report().m_operatingSystemTotalVisibleMemorySize, c.total);
        EXPECT_EQ(report().m_operatingSystemFreePhysicalMemory, c.free);
        EXPECT_EQ(report().m_operatingSystemUsedPhysicalMemory, c.used);
    }
}

TEST_F(HardwareTest, UptimeTexts) {
    struct Case {
        long long seconds;
        int offsetMinutes;
        std::wstring expected;
    };
    const Case cases[] = {
        {59, 0, L"0 minutes"},
        {300, 0, L"5 minutes"},
        {3600, 0, L"1 hours, 0 minutes"},
        {86400, 0, L"1 days, 0 minutes"},
        {3 * 86400 + 4 * 3600 + 12 * 60, 0, L"3 days, 4 hours, 12 minutes"},
        {2 * 86400 + 59, 0, L"2 days, 0 minutes"},
        // The boot time's zone offset is taken off: the same instant read in other zones.
        {3600, 60, L"1 hours, 0 minutes"},
        {3600, -300, L"1 hours, 0 minutes"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UptimeAfter(c.seconds, c.offsetMinutes), c.expected)
            << c.seconds << " s at offset " << c.offsetMinutes;
    }
}

TEST_F(HardwareTest, NoUptimeWithoutARecognisedBootTime) {
    report().RenderOperatingSystem({{{L"Caption", L"Windows"}}});
    EXPECT_EQ(report().m_operatingSystemUptime, L"");
    EXPECT_EQ(report().m_operatingSystemLastBootupTime, L"");

    for (const wchar_t* boot : {L"yesterday", L"00000000000000.000000+000"}) {
        Renew();
        report().RenderOperatingSystem({{{L"LastBootupTime", boot}}});
        EXPECT_EQ(report().m_operatingSystemUptime, L"") << boot;
    }
}

// WMI writes an unknown date as zeros; an XP machine may have no InstallDate at all, and the
// provider stores an empty text for it. None of them is a day of 1899 or of the year -1.
TEST_F(HardwareTest, MissingOrUnreadableDatesAreShownEmpty) {
    for (const wchar_t* date :
         {L"", L"00000000000000.000000+000", L"yesterday", L"20261315000000.000000+000",
          L"2026**15000000.000000+000", L"0000-00-00 00:00:00"}) {
        Renew();
        report().m_operatingSystemInstallDate = L"stale";
        report().m_operatingSystemLastBootupTime = L"stale";
        report().RenderOperatingSystem({{{L"InstallDate", date}, {L"LastBootupTime", date}}});
        EXPECT_EQ(report().m_operatingSystemInstallDate, L"") << date;
        EXPECT_EQ(report().m_operatingSystemLastBootupTime, L"") << date;
        EXPECT_EQ(report().m_operatingSystemUptime, L"") << date;
    }
}

TEST_F(HardwareTest, InstallAndBootTimesAreShownInLocalTime) {
    report().RenderOperatingSystem({{{L"InstallDate", L"20260315123000.000000+060"},
                                     {L"LastBootupTime", L"20260401000000.000000-000"}}});
    EXPECT_EQ(report().m_operatingSystemInstallDate,
              FormatLocalTime(UtcRecord(2026, 3, 15, 11, 30, 0)));
    EXPECT_EQ(report().m_operatingSystemLastBootupTime,
              FormatLocalTime(UtcRecord(2026, 4, 1, 0, 0, 0)));
}

TEST_F(HardwareTest, DeviceListsJoinTheirTextsWithLineFeeds) {
    CInventoryReport& r = report();
    r.RenderSoundDevice({{{L"Description", L"Speaker"}},
                         {{L"Name", L"no description"}},
                         {{L"Description", L""}},
                         {{L"Description", L"Mic & Line"}}});
    EXPECT_EQ(r.m_soundDeviceDescription, L"Speaker\n\nMic &amp; Line\n");
    r.RenderCDROMDrive({{{L"Name", L"DVD"}}, {{L"Name", L"CD"}}});
    EXPECT_EQ(r.m_CDROMDeviceName, L"DVD\nCD\n");
    r.RenderVideoController({{{L"Name", L"GPU"}}});
    EXPECT_EQ(r.m_videoControllerName, L"GPU\n");
    // Memory beyond 32 bits, memory nobody could read, and a controller without the figure.
    r.RenderVideoController({{{L"Name", L"RTX"}, {L"AdapterRAM", L"8589934592"}},
                             {{L"Name", L"VGA"}, {L"AdapterRAM", L""}},
                             {{L"Name", L"Old"}}});
    EXPECT_EQ(r.m_videoControllerName, L"RTX (Memory: 8.00GB)\nVGA (Memory: unknown)\nOld\n");

    r.RenderVideoController({});
    EXPECT_EQ(r.m_videoControllerName, L"") << "an empty list replaces the field too";
}

TEST_F(HardwareTest, LogicalDiskRows) {
    report().m_totalDiskSize = 0;
    report().RenderLogicalDisk({
        {{L"DriveType", L"3"},
         {L"DeviceID", L"C:"},
         {L"FileSystem", L"NTFS"},
         {L"Size", L"80026361856"},
         {L"FreeSpace", L"31490371856"}},
        {{L"DriveType", L"5"}, {L"DeviceID", L"D:"}, {L"Size", L"700000000"}},
        {{L"DeviceID", L"X:"}, {L"Size", L"1000"}},
        {{L"DriveType", L"4"}, {L"DeviceID", L"Z:"}, {L"Size", L"1000"}, {L"FreeSpace", L"945"}},
        {{L"DriveType", L"4"},
         {L"DeviceID", L"Y:"},
         {L"ProviderName", L"\\\\server\\<share>"},
         {L"FileSystem", L"NTFS"},
         {L"Size", L"2048"}},
        {{L"DriveType", L"3"}, {L"DeviceID", L"F:"}, {L"Size", L"100"}, {L"FreeSpace", L"500"}},
        {{L"DriveType", L"3"}, {L"DeviceID", L"G:"}, {L"Size", L"0"}, {L"FileSystem", L""}},
        {{L"DriveType", L"3"}, {L"Size", L"1024"}},
    });
    const std::wstring expected =
        CInventoryReport::FormatLabelRow(L"Disk #1:",
                                         L"Drive C: (Physical Disk) FileSystem: NTFS Used: "
                                         L"45.20GB Total: 74.53GB [ 60.65% Full ]",
                                         0) +
        CInventoryReport::FormatLabelRow(L"Disk #2:",
                                         L" Used: 55.00b Total: 1000.00b [ 5.5% Full ]", 1) +
        CInventoryReport::FormatLabelRow(L"Disk #3:",
                                         L"Drive Y: (\\\\server\\&lt;share&gt;) FileSystem: NTFS "
                                         L"Used: 2.00kb Total: 2.00kb [ 100% Full ]",
                                         2) +
        CInventoryReport::FormatLabelRow(
            L"Disk #4:", L"Drive F: (Physical Disk)  Used: 0.00b Total: 100.00b [ 0% Full ]", 3) +
        CInventoryReport::FormatLabelRow(
            L"Disk #5:", L"Drive G: (Physical Disk)  Used: 0.00b Total: 0.00b [ 0% Full ]", 4) +
        CInventoryReport::FormatLabelRow(L"Disk #6:", L"", 5);
    EXPECT_EQ(report().m_logicalDiskDriveList, expected);
    // Local disks only: C:, F:, G: and the one without a DeviceID.
    EXPECT_EQ(report().m_totalDiskSize, 80026361856.0 + 100 + 0 + 1024);

    report().RenderLogicalDisk({{{L"DriveType", L"5"}, {L"DeviceID", L"D:"}}});
    EXPECT_EQ(report().m_logicalDiskDriveList, L"") << "no disk of type 3 or 4: an empty list";
}

TEST_F(HardwareTest, FullnessIsRoundedHalfUpToTwoDecimals) {
    struct Case {
        const wchar_t* size;
        const wchar_t* free;
        std::wstring percent;
    };
    const Case cases[] = {
        {L"10000", L"3334", L"66.66"}, {L"10000", L"3333.5", L"66.67"},
        {L"3", L"2", L"33.33"},        {L"3", L"1", L"66.67"},
        {L"1000", L"1000", L"0"},      {L"1000", L"999.9", L"0.01"},
        {L"1000", L"0", L"100"},       {L"big", L"0", L"0"},
        {L"1e15", L"1e14", L"90"},
    };
    for (const auto& c : cases) {
        Renew();
        report().RenderLogicalDisk({{{L"DriveType", L"4"},
                                     {L"DeviceID", L"Z:"},
                                     {L"Size", c.size},
                                     {L"FreeSpace", c.free}}});
        EXPECT_THAT(report().m_logicalDiskDriveList, HasSubstr(L"[ " + c.percent + L"% Full ]"))
            << c.size << " " << c.free;
    }
}

TEST_F(HardwareTest, ProcessorsListCoresAndTheFirstClock) {
    report().RenderProcessor({{{L"DeviceID", L"CPU0"},
                               {L"Name", L"Intel(R) Core(TM)2 Duo CPU E8400"},
                               {L"NumberOfCores", L"2"},
                               {L"MaxClockSpeed", L"2400"}},
                              {{L"DeviceID", L"CPU1"},
                               {L"Name", L"Intel(R) Core(TM)2 Duo CPU E8400"},
                               {L"MaxClockSpeed", L"3000"}}});
    EXPECT_EQ(report().m_processorList,
              L"CPU0: Intel(R) Core(TM)2 Duo CPU E8400 (2 cores)<br>\n"
              L"CPU1: Intel(R) Core(TM)2 Duo CPU E8400 (1 core)");
    EXPECT_EQ(report().m_processorCount, L"2");
    EXPECT_EQ(report().m_processorCoreCount, L"3");
    EXPECT_EQ(report().m_processorSpeed, 2400000000.0);

    // Windows XP before SP3 has no NumberOfCores: the provider stores empty text.
    Renew();
    report().RenderProcessor({{{L"DeviceID", L"<CPU0>"}, {L"NumberOfCores", L""}},
                              {{L"Name", L""}, {L"NumberOfCores", L"4"}}});
    EXPECT_EQ(report().m_processorList, L"&lt;CPU0&gt;:  (1 core)<br>\n:  (4 cores)");
    EXPECT_EQ(report().m_processorCoreCount, L"5");
    EXPECT_EQ(report().m_processorSpeed, 0);

    Renew();
    report().RenderProcessor({});
    EXPECT_EQ(report().m_processorList, L"") << "the default text is replaced";
    EXPECT_EQ(report().m_processorCount, L"0");
    EXPECT_EQ(report().m_processorCoreCount, L"0");
}

TEST_F(HardwareTest, CoreCountsThatAreNoCountMeanOneCore) {
    struct Case {
        std::wstring cores;
        std::wstring shown;
    };
    const Case cases[] = {
        {L"", L"1 core"},
        {L" ", L"1 core"},
        {L"0", L"1 core"},
        {L"-2", L"1 core"},
        {L"many", L"1 core"},
        {L"4294967296", L"1 core"},
        {L"8", L"8 cores"},
        {L"4294967295", L"4294967295 cores"},
        {L"2147483648", L"2147483648 cores"},
    };
    for (const auto& c : cases) {
        Renew();
        report().RenderProcessor({{{L"DeviceID", L"CPU0"}, {L"NumberOfCores", c.cores}}});
        EXPECT_EQ(report().m_processorList, L"CPU0:  (" + c.shown + L")") << c.cores;
    }
    // The machine's total goes beyond 32 bits without overflowing.
    Renew();
    report().RenderProcessor(
        {{{L"NumberOfCores", L"4294967295"}}, {{L"NumberOfCores", L"4294967295"}}, {{}}});
    EXPECT_EQ(report().m_processorCoreCount, L"8589934591");
}

TEST_F(HardwareTest, PhysicalMemoryModulesAndArrays) {
    CInventoryReport& r = report();
    r.RenderPhysicalMemory({{{L"Tag", L"Physical Memory 0"}, {L"Capacity", L"1073741824"}},
                            {{L"Tag", L"Physical Memory 1"}, {L"Capacity", L"1073741824"}},
                            {{L"Tag", L"<slot>"}}});
    EXPECT_EQ(r.m_physicalMemoryList,
              L"Physical Memory 0: 1.00GB<br>Physical Memory 1: 1.00GB<br>&lt;slot&gt;: ");
    EXPECT_EQ(r.m_physicalMemoryTotalSize, L"2.00GB");
    EXPECT_EQ(r.m_totalPhysicalMemory, 2147483648.0);

    Renew();
    report().RenderPhysicalMemory({});
    EXPECT_EQ(report().m_physicalMemoryList, L"");
    EXPECT_EQ(report().m_physicalMemoryTotalSize, L"0.00b");
    EXPECT_EQ(report().m_totalPhysicalMemory, 0);

    report().RenderPhysicalMemoryArray({{{L"MemoryDevices", L"4"}, {L"MaxCapacity", L"8388608"}},
                                        {{L"MemoryDevices", L"2"}, {L"MaxCapacity", L"x"}},
                                        {{L"MaxCapacity", L"4194304"}}});
    EXPECT_EQ(report().m_physicalMemoryArrayMemoryDevices, L"6");
    EXPECT_EQ(report().m_physicalMemoryArrayMaxCapacity, L"12.00GB");

    report().RenderPhysicalMemoryArray({});
    EXPECT_EQ(report().m_physicalMemoryArrayMemoryDevices, L"0");
    EXPECT_EQ(report().m_physicalMemoryArrayMaxCapacity, L"0.00b");

    // Counts that each fit 32 bits add up beyond them.
    report().RenderPhysicalMemoryArray(
        {{{L"MemoryDevices", L"2147483647"}}, {{L"MemoryDevices", L"2147483647"}}});
    EXPECT_EQ(report().m_physicalMemoryArrayMemoryDevices, L"4294967294");
}

// A session without memory modules (no readable firmware table) takes the memory the
// operating system sees as its total; modules, when listed, win.
TEST_F(HardwareTest, RamTotalFallsBackToVisibleMemory) {
    const SessionItem os{{L"Caption", L"Linux"}, {L"TotalVisibleMemorySize", L"24683772"}};
    report().RenderSections({{L"OperatingSystem", {os}}}, {});
    EXPECT_EQ(report().m_physicalMemoryTotalSize, L"23.54GB");
    EXPECT_EQ(report().m_totalPhysicalMemory, 24683772.0 * 1024);

    Renew();
    report().RenderSections(
        {{L"OperatingSystem", {os}},
         {L"PhysicalMemory", {{{L"Tag", L"Physical Memory 0"}, {L"Capacity", L"34359738368"}}}}},
        {});
    EXPECT_EQ(report().m_physicalMemoryTotalSize, L"32.00GB");

    Renew();
    report().RenderSections({{L"OperatingSystem", {{{L"Caption", L"Linux"}}}}}, {});
    EXPECT_EQ(report().m_physicalMemoryTotalSize, L"unknown");
}

TEST_F(HardwareTest, LastInventoryLine) {
    report().SetLastSessionTime(std::tm{});
    EXPECT_EQ(report().m_timeSinceLastScan, L"No previous scans detected");
    EXPECT_EQ(report().m_lastSessionTime.tm_year, 0);

    const std::tm last = UtcRecord(2026, 12, 6, 18, 30, 0);
    report().SetLastSessionTime(last);
    EXPECT_EQ(report().m_timeSinceLastScan, FormatLocalTime(last));
    EXPECT_EQ(report().m_lastSessionTime.tm_mday, 6);
}

// A session in which every query of the dispatcher has one change.
ChangeData ChangesForEveryQuery() {
    ChangeData changes;
    for (const wchar_t* query : {L"Version",
                                 L"Process",
                                 L"BIOS",
                                 L"OperatingSystem",
                                 L"ComputerSystem",
                                 L"MotherboardDevice",
                                 L"SoundDevice",
                                 L"CDROMDrive",
                                 L"VideoController",
                                 L"DesktopMonitor",
                                 L"Registry",
                                 L"LogicalDisk",
                                 L"NetworkAdapterConfiguration",
                                 L"Printer",
                                 L"StartupCommand",
                                 L"UserAccount",
                                 L"Processor",
                                 L"PhysicalMemory",
                                 L"PhysicalMemoryArray",
                                 L"QuickFixEngineering",
                                 L"InstalledSoftware32",
                                 L"InstalledSoftware64",
                                 L"Services",
                                 L"OptionalFeature",
                                 L"ServerFeature",
                                 L"Subcomponents",
                                 L"DiskDrive",
                                 L"USBDevice",
                                 L"Platform",
                                 L"Tpm",
                                 L"InstalledSoftwareUser",
                                 L"NotInTheDispatcher"}) {
        ChangeRecord record;
        record.kind = kChangeNewItem;
        record.keyValue = L"key";
        changes[query].push_back(record);
    }
    return changes;
}

TEST_F(HardwareTest, FirstRunRendersSectionsButHidesRecentChanges) {
    report().SetLastSessionTime(std::tm{});
    report().RenderSections({{L"BIOS", {{{L"Name", L"B1"}}}}, {L"Processor", {{}}}},
                            ChangesForEveryQuery());
    EXPECT_EQ(report().m_biosName, L"B1");
    EXPECT_EQ(report().m_processorCount, L"1");
    EXPECT_EQ(report().m_recentChangesRawList, L"");
    EXPECT_EQ(report().m_recentChangesList, L"");
    EXPECT_EQ(report().m_recentChangesCount, L"0");
    EXPECT_EQ(report().m_recentChangesDisableStart,
              L"<!-- Disable recent changes as no previous session exists");
    EXPECT_EQ(report().m_recentChangesDisableEnd, L"-->");
}

TEST_F(HardwareTest, RecentChangesFollowTheDispatcherOrder) {
    report().SetLastSessionTime(UtcRecord(2026, 1, 2, 3, 4, 5));
    // One component makes the first component source the last one consulted.
    report().RenderSections({{L"OptionalFeature", {{{L"Name", L"Feature"}}}}},
                            ChangesForEveryQuery());
    EXPECT_THAT(
        RawHeadings(),
        ElementsAre(L"Version", L"Process", L"BIOS", L"OperatingSystem", L"ComputerSystem",
                    L"MotherboardDevice", L"SoundDevice", L"CDROMDrive", L"VideoController",
                    L"DesktopMonitor", L"Registry", L"LogicalDisk", L"NetworkAdapterConfiguration",
                    L"Printer", L"StartupCommand", L"UserAccount", L"Processor", L"PhysicalMemory",
                    L"PhysicalMemoryArray", L"QuickFixEngineering", L"InstalledSoftware32",
                    L"InstalledSoftware64", L"InstalledSoftwareUser", L"Services",
                    L"OptionalFeature", L"DiskDrive", L"USBDevice", L"Platform", L"Tpm"));
    EXPECT_EQ(report().m_componentsCount, L"1");
    EXPECT_EQ(report().m_recentChangesDisableStart, L"");
    EXPECT_EQ(report().m_recentChangesDisableEnd, L"");
}

TEST_F(HardwareTest, ComponentSourcesAreTriedUntilOneFindsComponents) {
    struct Case {
        const char* name;
        SessionData session;
        std::vector<std::wstring> consulted;
        std::wstring count;
    };
    const Case cases[] = {
        {"features found", {{L"OptionalFeature", {{{L"Name", L"A"}}}}}, {L"OptionalFeature"}, L"1"},
        {"no features, server features found",
         {{L"OptionalFeature", {}}, {L"ServerFeature", {{{L"Name", L"A"}}, {{L"Name", L"B"}}}}},
         {L"OptionalFeature", L"ServerFeature"},
         L"2"},
        {"nothing found", {}, {L"OptionalFeature", L"ServerFeature", L"Subcomponents"}, L"0"},
    };
    for (const auto& c : cases) {
        Renew();
        report().SetLastSessionTime(UtcRecord(2026, 1, 2, 3, 4, 5));
        ChangeData changes;
        for (const wchar_t* query : {L"OptionalFeature", L"ServerFeature", L"Subcomponents"}) {
            ChangeRecord removed;
            removed.kind = kChangeRemovedItem;
            removed.keyValue = L"gone";
            changes[query].push_back(removed);
        }
        report().RenderSections(c.session, changes);
        EXPECT_THAT(RawHeadings(), ElementsAreArray(c.consulted)) << c.name;
        EXPECT_EQ(report().m_componentsCount, c.count) << c.name;
    }
}

TEST_F(HardwareTest, InstalledProgramsMergeBothViewsOnlyOn64BitWindows) {
    struct Case {
        const char* name;
        bool wow64;
        SessionData session;
        std::wstring count;
    };
    const Items programs32 = {{{L"DisplayName", L"Prog32"}}};
    const Items programs64 = {{{L"DisplayName", L"Prog64"}}, {{L"DisplayName", L"Other64"}}};
    const Case cases[] = {
        {"both on 64-bit",
         true,
         {{L"InstalledSoftware32", programs32}, {L"InstalledSoftware64", programs64}},
         L"3"},
        {"both on 32-bit",
         false,
         {{L"InstalledSoftware32", programs32}, {L"InstalledSoftware64", programs64}},
         L"1"},
        {"32-bit list only", true, {{L"InstalledSoftware32", programs32}}, L"1"},
        {"users' programs alone", false, {{L"InstalledSoftwareUser", programs64}}, L"2"},
        {"64-bit list only", true, {{L"InstalledSoftware64", programs64}}, L"0"},
    };
    for (const auto& c : cases) {
        host_.wow64 = c.wow64;
        Renew();
        report().SetLastSessionTime(std::tm{});
        report().RenderSections(c.session, {});
        EXPECT_EQ(report().m_installedProgramsCount, c.count) << c.name;
    }
    EXPECT_THAT(report().m_installedProgramsList, HasSubstr(L"No installed programs detected."));
}

TEST_F(HardwareTest, InstalledProgramsOfBothViewsShowOnceAndUsersProgramsNameTheirUser) {
    const SessionItem firefox = {
        {L"DisplayName", L"Firefox"}, {L"DisplayVersion", L"120.0"}, {L"Publisher", L"Mozilla"}};
    SessionItem otherVersion = firefox;
    otherVersion[L"DisplayVersion"] = L"115.0";
    SessionItem otherPublisher = firefox;
    otherPublisher[L"Publisher"] = L"Someone";
    SessionItem ofUser = firefox;
    ofUser[L"UserName"] = L"soconnell";
    SessionItem ofOtherUser = firefox;
    ofOtherUser[L"UserName"] = L"<admin>";
    host_.wow64 = true;
    Renew();
    report().SetLastSessionTime(std::tm{});
    report().RenderSections({{L"InstalledSoftware32", {firefox, otherVersion}},
                             {L"InstalledSoftware64", {firefox, otherPublisher}},
                             {L"InstalledSoftwareUser", {ofUser, ofUser, ofOtherUser}}},
                            {});
    EXPECT_EQ(report().m_installedProgramsCount, L"5");
    const std::wstring& list = report().m_installedProgramsList;
    const auto count = [&list](const std::wstring& text) {
        std::size_t n = 0;
        for (auto at = list.find(text); at != std::wstring::npos; at = list.find(text, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count(L">Firefox (120.0)<a"), 2u) << "both views' copy once, other publisher once";
    EXPECT_EQ(count(L">Firefox (120.0) [for user soconnell]<a"), 1u);
    EXPECT_EQ(count(L">Firefox (120.0) [for user &lt;admin&gt;]<a"), 1u);
}

}  // namespace
