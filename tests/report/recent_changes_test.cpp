// Recent changes: which records the filtered list shows and how, the raw list, the counters
// that run on across queries, and the administrator notes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_under_test.h"

namespace {

using Records = std::vector<ChangeRecord>;

ChangeRecord New(const std::wstring& key) {
    return {kChangeNewItem, 1, key, L"", L"", L""};
}
ChangeRecord Removed(const std::wstring& key) {
    return {kChangeRemovedItem, 1, key, L"", L"", L""};
}
ChangeRecord Changed(const std::wstring& key, const std::wstring& field,
                     const std::wstring& oldValue, const std::wstring& newValue) {
    return {kChangeValue, 1, key, field, oldValue, newValue};
}

const std::wstring kAdd =
    L"<img src=\"inventory_files/add.gif\" title=\"new item\" border=\"0\">\n";
const std::wstring kDel =
    L"<img src=\"inventory_files/del.gif\" title=\"removed item\" border=\"0\">\n";
const std::wstring kRef =
    L"<img src=\"inventory_files/ref.gif\" title=\"changed item\" border=\"0\">\n";

const std::wstring kAdminBeforeNote =
    L"<span style=\"color:red\">NOTE: Some of the changes detected here are false readings "
    L"because the previous session was run as administrator while the latest session was not. "
    L"To get consistent results, you should run the tool using the same permission "
    L"levels.</span>";
const std::wstring kAdminNowNote =
    L"<span style=\"color:red\">NOTE: Some of the changes detected here are false readings "
    L"because the latest session was run as administrator while the previous session was not. "
    L"To get consistent results, you should run the tool using the same permission "
    L"levels.</span>";

std::wstring Label(const std::wstring& label, const std::wstring& value, int index) {
    return CInventoryReport::FormatLabelRow(label, value, index);
}

std::wstring RawHeading(const std::wstring& query, int records) {
    return L"<tr onclick='hideShowSubdetail(\"raw" + query +
           L"\"); return false;' class=\"detail_page_section_heading\"><td width=\"1%\">>&nbsp;"
           L"</td><td colspan=\"2\">" +
           query + L" (" + std::to_wstring(records) + L")</td></tr>\n";
}

std::wstring RawRow(const std::wstring& query, int number, const std::wstring& value) {
    return L"<tr id=\"raw" + query + L"/" + std::to_wstring(number) +
           L"\" style=\"display:none;\" class=\"" +
           (number % 2 == 1 ? L"rowHighlightData" : L"rowData") +
           L"\"><td width=\"1%\">&nbsp;&nbsp;</td><td colspan=\"2\">" + value + L"</td></tr>\n";
}

class RecentChanges : public ::testing::Test {
  protected:
    ReportUnderTest model_;
    CInventoryReport& report_ = model_.report;
};

TEST_F(RecentChanges, RowsAndCountersRunOnAcrossQueries) {
    RenderRecentChanges(report_,
                        {New(L"Alpha"), Removed(L"Beta"), Changed(L"Gamma", L"State", L"a", L"b")},
                        L"Services");
    RenderRecentChanges(report_, {New(L"Laser")}, L"Printer");

    EXPECT_EQ(report_.m_recentChangesList, Label(L"Services:", kAdd + L"Alpha", 0) +
                                               Label(L"", kDel + L"Beta", 1) +
                                               Label(L"", kRef + L"Gamma (State: a => b)", 2) +
                                               Label(L"Printer:", kAdd + L"Laser", 3));
    EXPECT_EQ(report_.m_recentChangesCount, L"4");

    EXPECT_EQ(report_.m_recentChangesRawList,
              RawHeading(L"Services", 3) + RawRow(L"Services", 1, kAdd + L"Alpha") +
                  RawRow(L"Services", 2, kDel + L"Beta") +
                  RawRow(L"Services", 3, kRef + L"Gamma (State: a => b)") +
                  RawHeading(L"Printer", 1) + RawRow(L"Printer", 1, kAdd + L"Laser"));
    EXPECT_EQ(report_.m_recentChangesRawCount, L"4");
    EXPECT_EQ(report_.m_falseChanges, L"");
}

TEST_F(RecentChanges, FilteredListKeepsWhatMeansSomethingToAReader) {
    struct Case {
        std::wstring query;
        ChangeRecord record;
        std::wstring shown;  // the filtered row's value; empty: raw list only
    };
    const Case cases[] = {
        {L"LogicalDisk", Changed(L"C:", L"FreeSpace", L"1000", L"800"), L""},
        {L"LogicalDisk", Changed(L"C:", L"FreeSpace", L"1000", L"750"), L""},
        {L"LogicalDisk", Changed(L"C:", L"FreeSpace", L"1000", L"700"),
         kRef + L"C: (Free Space decreased by > 25%: 1000 => 700)"},
        {L"LogicalDisk", Changed(L"C:", L"FreeSpace", L"1000", L"1300"),
         kRef + L"C: (Free Space increased by > 25%: 1000 => 1300)"},
        {L"LogicalDisk", Changed(L"C:", L"FreeSpace", L"0", L"500"),
         kRef + L"C: (Free Space increased by > 25%: 0 => 500)"},
        {L"LogicalDisk", Changed(L"C:", L"FreeSpace", L"0", L"0.0"), L""},
        {L"LogicalDisk", Changed(L"C:", L"VolumeName", L"a", L"b"), L""},
        {L"LogicalDisk", New(L"D:"), kAdd + L"D:"},
        {L"LogicalDisk", Removed(L"E:"), kDel + L"E:"},
        {L"OperatingSystem", Changed(L"Windows", L"TotalVisibleMemorySize", L"2096632", L"499"),
         kRef + L"Windows (TotalVisibleMemorySize: 2097MB => 0MB)"},
        {L"OperatingSystem", Changed(L"Windows", L"BuildNumber", L"2600", L"7601"),
         kRef + L"Windows (BuildNumber: 2600 => 7601)"},
        {L"OperatingSystem", Changed(L"Windows", L"Caption", L"a", L"b"), L""},
        {L"Registry", Changed(L"Registry", L"CurrentSize", L"30", L"31"),
         kRef + L"Registry (CurrentSize: 30MB => 31MB)"},
        {L"Registry", Changed(L"Registry", L"MaximumSize", L"", L"x"),
         kRef + L"Registry (MaximumSize: MB => xMB)"},
        {L"Registry", Changed(L"Registry", L"Status", L"a", L"b"), L""},
        {L"BIOS", Changed(L"Award", L"SerialNumber", L"123", L"456"), L""},
        {L"BIOS", Changed(L"Award", L"Version", L"1", L"2"), kRef + L"Award (Version: 1 => 2)"},
        {L"BIOS", Removed(L"Award"), kDel + L"Award"},
        {L"ComputerSystem", Changed(L"PC", L"Domain", L"a", L"b"), kRef + L"PC (Domain: a => b)"},
        {L"ComputerSystem", Changed(L"PC", L"Model", L"a", L"b"), L""},
        {L"Version", Changed(L"Fennock", L"AppVersion", L"1", L"2"), L""},
        {L"Process", New(L"a.exe"), L""},
        {L"MotherboardDevice", Changed(L"m", L"PrimaryBusType", L"a", L"b"), L""},
        {L"SoundDevice", New(L"s"), L""},
        {L"DesktopMonitor", Removed(L"d"), L""},
        {L"UserAccount", Changed(L"u", L"FullName", L"a", L"b"), L""},
        {L"PhysicalMemory", New(L"p"), L""},
        {L"PhysicalMemoryArray", New(L"p"), L""},
        {L"InstalledSoftware32", Changed(L"App", L"DisplayVersion", L"1499", L"1500"),
         kRef + L"App (DisplayVersion: 1499 => 1500)"},
        {L"Processor", Changed(L"CPU0", L"Name", L"a", L"b"), kRef + L"CPU0 (Name: a => b)"},
        {L"QuickFixEngineering", Removed(L"KB1"), kDel + L"KB1"},
        {L"Subcomponents", Changed(L"calc", L"Value", L"0", L"1"), kRef + L"calc (Value: 0 => 1)"},
        {L"DiskDrive", New(L"sdb"), kAdd + L"sdb"},
        {L"USBDevice", Removed(L"USB\\VID_1"), kDel + L"USB\\VID_1"},
        {L"Platform", Changed(L"Linux", L"SecureBoot", L"Off", L"On"),
         kRef + L"Linux (SecureBoot: Off => On)"},
        {L"Tpm", New(L"2.0"), kAdd + L"2.0"},
    };
    for (const Case& c : cases) {
        ReportUnderTest model;
        CInventoryReport& report = model.report;
        RenderRecentChanges(report, {c.record}, c.query);
        const std::wstring what = c.query + L" " + c.record.exportName + L" " + c.record.oldValue +
                                  L" => " + c.record.newValue;
        if (c.shown.empty()) {
            EXPECT_EQ(report.m_recentChangesList, L"") << what;
            EXPECT_EQ(report.m_recentChangesCount, L"0") << what;
        } else {
            EXPECT_EQ(report.m_recentChangesList, Label(c.query + L":", c.shown, 0)) << what;
            EXPECT_EQ(report.m_recentChangesCount, L"1") << what;
        }
        EXPECT_EQ(report.m_recentChangesRawCount, L"1") << what;
        EXPECT_NE(report.m_recentChangesRawList.find(L"id=\"raw" + c.query + L"/1\""),
                  std::wstring::npos)
            << what;
    }
}

TEST_F(RecentChanges, RawListShowsEveryRecordUnconverted) {
    RenderRecentChanges(report_,
                        {New(L"D:"), Changed(L"C:", L"FreeSpace", L"1000", L"800"),
                         Changed(L"C:", L"Size", L"1499", L"1500")},
                        L"LogicalDisk");
    RenderRecentChanges(report_, {Changed(L"Award", L"SerialNumber", L"1", L"2")}, L"BIOS");
    EXPECT_EQ(report_.m_recentChangesRawList,
              RawHeading(L"LogicalDisk", 3) + RawRow(L"LogicalDisk", 1, kAdd + L"D:") +
                  RawRow(L"LogicalDisk", 2, kRef + L"C: (FreeSpace: 1000 => 800)") +
                  RawRow(L"LogicalDisk", 3, kRef + L"C: (Size: 1499 => 1500)") +
                  RawHeading(L"BIOS", 1) +
                  RawRow(L"BIOS", 1, kRef + L"Award (SerialNumber: 1 => 2)"));
    EXPECT_EQ(report_.m_recentChangesRawCount, L"4");
    EXPECT_EQ(report_.m_recentChangesList, Label(L"LogicalDisk:", kAdd + L"D:", 0) +
                                               Label(L"", kRef + L"C: (Size: 0MB => 0MB)", 1));
    EXPECT_EQ(report_.m_recentChangesCount, L"2");
}

// Disk sizes are bytes, well beyond 32 bits, shown in megabytes of 2^20 bytes; memory sizes
// are kilobytes, shown in thousands.
TEST_F(RecentChanges, SizesAreReadIn64BitsAndShownInMegabytes) {
    struct Case {
        std::wstring query, field, value, shown;
    };
    const Case cases[] = {
        {L"LogicalDisk", L"Size", L"80026361856", L"76319MB"},
        {L"LogicalDisk", L"Size", L"2147483647", L"2048MB"},
        {L"LogicalDisk", L"Size", L"2147483648", L"2048MB"},
        {L"LogicalDisk", L"Size", L"4000787030016", L"3815448MB"},
        {L"LogicalDisk", L"Size", L"1048576", L"1MB"},
        {L"LogicalDisk", L"Size", L"524288", L"1MB"},
        {L"LogicalDisk", L"Size", L"524287", L"0MB"},
        {L"LogicalDisk", L"Size", L"9223372036854775807", L"8796093022208MB"},
        {L"LogicalDisk", L"Size", L"99999999999999999999", L"0MB"},
        {L"LogicalDisk", L"Size", L"", L"0MB"},
        {L"LogicalDisk", L"Size", L"n/a", L"0MB"},
        {L"OperatingSystem", L"TotalVisibleMemorySize", L"2096632", L"2097MB"},
        {L"OperatingSystem", L"TotalVisibleMemorySize", L"499", L"0MB"},
        {L"OperatingSystem", L"TotalVisibleMemorySize", L"500", L"1MB"},
        {L"OperatingSystem", L"TotalVisibleMemorySize", L"4294967296", L"4294967MB"},
        {L"OperatingSystem", L"TotalVisibleMemorySize", L"9223372036854775807",
         L"9223372036854776MB"},
    };
    for (const Case& c : cases) {
        ReportUnderTest model;
        CInventoryReport& report = model.report;
        RenderRecentChanges(report, {Changed(L"C:", c.field, L"1048576", c.value)}, c.query);
        const std::wstring before = c.query == L"LogicalDisk" ? L"1MB" : L"1049MB";
        EXPECT_EQ(report.m_recentChangesList,
                  Label(c.query + L":",
                        kRef + L"C: (" + c.field + L": " + before + L" => " + c.shown + L")", 0))
            << c.field << " " << c.value;
    }
}

TEST_F(RecentChanges, RunAsAdminMismatchLeavesANote) {
    struct Case {
        std::wstring before, after, note;
    };
    const Case cases[] = {
        {L"1", L"0", kAdminBeforeNote},
        {L"0", L"1", kAdminNowNote},
        {L"-1", L"0", kAdminBeforeNote},
        {L"1", L"-1", L""},
        {L"", L"0", L""},
        {L"4294967296", L"0", kAdminBeforeNote},
    };
    for (const Case& c : cases) {
        ReportUnderTest model;
        CInventoryReport& report = model.report;
        RenderRecentChanges(report, {Changed(L"Fennock", L"RunAsAdmin", c.before, c.after)},
                            L"Version");
        const std::wstring note = c.note.empty() ? L"" : CInventoryReport::FormatSpanRow(c.note, 0);
        EXPECT_EQ(report.m_falseChanges, note) << c.before << " => " << c.after;
        EXPECT_EQ(report.m_recentChangesList,
                  Label(L"Version:",
                        kRef + L"Fennock (RunAsAdmin: " + c.before + L" => " + c.after + L")", 0))
            << "the record is shown in every case";
    }
}

TEST_F(RecentChanges, UnknownRecordKindGivesAnEmptyValue) {
    RenderRecentChanges(report_, {ChangeRecord{7, 1, L"odd", L"", L"", L""}}, L"Services");
    EXPECT_EQ(report_.m_recentChangesList, Label(L"Services:", L"", 0));
    EXPECT_EQ(report_.m_recentChangesRawList,
              RawHeading(L"Services", 1) + RawRow(L"Services", 1, L""));
}

TEST_F(RecentChanges, HostileValuesLandAsText) {
    RenderRecentChanges(
        report_,
        {New(L"<script>alert(1)</script>"),
         Changed(L"App \"x\"", L"DisplayVersion", L"1'><b>", L"@@__m_productName__@@ & more")},
        L"InstalledSoftware32");
    const std::wstring added = kAdd + L"&lt;script&gt;alert(1)&lt;/script&gt;";
    const std::wstring changed = kRef +
                                 L"App &quot;x&quot; (DisplayVersion: 1&#39;&gt;&lt;b&gt; => "
                                 L"&#64;&#64;__m_productName__&#64;&#64; &amp; more)";
    EXPECT_EQ(report_.m_recentChangesList,
              Label(L"InstalledSoftware32:", added, 0) + Label(L"", changed, 1));
    EXPECT_EQ(report_.m_recentChangesRawList, RawHeading(L"InstalledSoftware32", 2) +
                                                  RawRow(L"InstalledSoftware32", 1, added) +
                                                  RawRow(L"InstalledSoftware32", 2, changed));
}

TEST_F(RecentChanges, RegistryAndMemoryNotesKeepEscapingOfOriginalTexts) {
    RenderRecentChanges(report_, {Changed(L"R", L"CurrentSize", L"<1", L"2")}, L"Registry");
    EXPECT_EQ(report_.m_recentChangesList,
              Label(L"Registry:", kRef + L"R (CurrentSize: &lt;1MB => 2MB)", 0));
}

}  // namespace
