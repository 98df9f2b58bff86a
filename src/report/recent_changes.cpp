// The recent changes of one query, as rows of the filtered and of the raw list.
#include <cmath>
#include <limits>
#include <string>

#include "report/html_text.h"
#include "report/int64_text.h"
#include "report/inventory_report.h"
#include "util/numbers.h"
#include "util/text.h"

namespace {

// A free-space ratio over a previous value of 0 relies on IEEE division (infinity or NaN).
static_assert(std::numeric_limits<double>::is_iec559);

const wchar_t kNewItemIcon[] = L"add.gif\" title=\"new item\" border=\"0\">\n";
const wchar_t kRemovedItemIcon[] = L"del.gif\" title=\"removed item\" border=\"0\">\n";
const wchar_t kChangedItemIcon[] = L"ref.gif\" title=\"changed item\" border=\"0\">\n";

const wchar_t kAdminBeforeNote[] =
    L"<span style=\"color:red\">NOTE: Some of the changes detected here are false readings "
    L"because the previous session was run as administrator while the latest session was not. "
    L"To get consistent results, you should run the tool using the same permission "
    L"levels.</span>";
const wchar_t kAdminNowNote[] =
    L"<span style=\"color:red\">NOTE: Some of the changes detected here are false readings "
    L"because the latest session was run as administrator while the previous session was not. "
    L"To get consistent results, you should run the tool using the same permission "
    L"levels.</span>";

// Queries whose every change means something to a reader.
bool IsListQuery(const std::wstring& query) {
    static const wchar_t* const kListQueries[] = {
        L"InstalledSoftware32",
        L"InstalledSoftware64",
        L"InstalledSoftwareUser",
        L"QuickFixEngineering",
        L"StartupCommand",
        L"Services",
        L"OptionalFeature",
        L"ServerFeature",
        L"Subcomponents",
        L"Processor",
        L"NetworkAdapterConfiguration",
        L"CDROMDrive",
        L"VideoController",
        L"Printer",
        L"DiskDrive",
        L"USBDevice",
        L"Platform",
        L"Tpm",
    };
    for (const wchar_t* name : kListQueries) {
        if (query == name)
            return true;
    }
    return false;
}

// How a record shows in the filtered list; the texts are already HTML.
struct FilteredView {
    bool shown = false;
    std::wstring oldText;
    std::wstring newText;
    std::wstring note;
};

// The number of whole units, rounded half up, without the overflow of adding half a unit.
long long RoundedUnits(long long value, long long unit) {
    return value / unit + (value % unit >= unit - unit / 2 ? 1 : 0);
}

// Memory sizes are kilobytes, shown in thousands as megabytes.
std::wstring MemoryMegabyteText(const std::wstring& kilobytes) {
    return std::to_wstring(RoundedUnits(TextToInt64(kilobytes), 1000)) + L"MB";
}

// Disk sizes are bytes, beyond 32 bits for any disk above 2 GiB; shown in megabytes of 2^20
// bytes. A size beyond 2^63 bytes is no disk and reads as 0.
std::wstring DiskMegabyteText(const std::wstring& bytes) {
    return std::to_wstring(RoundedUnits(TextToInt64(bytes), 1024 * 1024)) + L"MB";
}

FilteredView Filter(CInventoryReport& report, const std::wstring& query,
                    const ChangeRecord& record) {
    FilteredView view{false, HtmlText(record.oldValue), HtmlText(record.newValue), {}};
    const std::wstring& field = record.exportName;
    const bool itemChange = record.kind == kChangeNewItem || record.kind == kChangeRemovedItem;
    const bool valueChange = record.kind == kChangeValue;
    auto show = [&view] {
        view.shown = true;
        return view;
    };

    if (IsListQuery(query))
        return show();
    if (query == L"BIOS" &&
        (itemChange || (valueChange && (field == L"Version" || field == L"Name"))))
        return show();
    if (query == L"OperatingSystem" &&
        (itemChange || (valueChange && (field == L"BuildNumber" || field == L"Version"))))
        return show();
    if (query == L"ComputerSystem" &&
        (itemChange || (valueChange && (field == L"Name" || field == L"Domain"))))
        return show();
    if (query == L"LogicalDisk" && itemChange)
        return show();
    if (query == L"LogicalDisk" && field == L"Size") {
        view.oldText = DiskMegabyteText(record.oldValue);
        view.newText = DiskMegabyteText(record.newValue);
        return show();
    }
    if (query == L"OperatingSystem" && field == L"TotalVisibleMemorySize") {
        view.oldText = MemoryMegabyteText(record.oldValue);
        view.newText = MemoryMegabyteText(record.newValue);
        return show();
    }
    if (query == L"Registry" && (field == L"CurrentSize" || field == L"MaximumSize")) {
        view.oldText += L"MB";
        view.newText += L"MB";
        return show();
    }
    if (query == L"LogicalDisk" && field == L"FreeSpace") {
        const double before = TextToDouble(record.oldValue);
        const double after = TextToDouble(record.newValue);
        if (std::fabs(before - after) / before > 0.25) {
            view.note = after < before ? L"Free Space decreased by > 25%"
                                       : L"Free Space increased by > 25%";
            return show();
        }
    }
    if (query == L"Version" && field == L"RunAsAdmin" && !report.m_linuxMode) {
        // 64 bits, so that no value beyond 32 bits reads as "not administrator".
        const long long before = TextToInt64(record.oldValue);
        const long long after = TextToInt64(record.newValue);
        if (before != 0 && after == 0)
            report.m_falseChanges = CInventoryReport::FormatSpanRow(kAdminBeforeNote, 0);
        else if (before == 0 && after != 0)
            report.m_falseChanges = CInventoryReport::FormatSpanRow(kAdminNowNote, 0);
        return show();
    }
    return view;
}

// The icon and key of a record; a record of an unknown kind has no item text.
std::wstring ItemText(const CInventoryReport& report, const ChangeRecord& record) {
    const wchar_t* icon = nullptr;
    switch (record.kind) {
        case kChangeNewItem:
            icon = kNewItemIcon;
            break;
        case kChangeRemovedItem:
            icon = kRemovedItemIcon;
            break;
        case kChangeValue:
            icon = kChangedItemIcon;
            break;
        default:
            return std::wstring();
    }
    return L"<img src=\"" + report.m_inventoryFilesPath + icon + HtmlText(record.keyValue);
}

std::wstring ValueText(const std::wstring& label, const std::wstring& oldText,
                       const std::wstring& newText) {
    return L" (" + label + L": " + oldText + L" => " + newText + L")";
}

}  // namespace

void RenderRecentChanges(CInventoryReport& report, const std::vector<ChangeRecord>& records,
                         const std::wstring& queryName) {
    const int firstRow = TextToInt(report.m_recentChangesCount);
    int row = firstRow;
    std::wstring filtered;
    for (const ChangeRecord& record : records) {
        const FilteredView view = Filter(report, queryName, record);
        if (!view.shown)
            continue;
        const std::wstring label = row == firstRow ? queryName + L":" : std::wstring();
        std::wstring value = ItemText(report, record);
        if (record.kind == kChangeValue) {
            value += ValueText(view.note.empty() ? HtmlText(record.exportName) : view.note,
                               view.oldText, view.newText);
        }
        filtered += CInventoryReport::FormatLabelRow(label, value, row);
        ++row;
    }
    report.m_recentChangesList += filtered;
    report.m_recentChangesCount = IntToText(row);

    std::wstring raw = L"<tr onclick='hideShowSubdetail(\"raw" + queryName +
                       L"\"); return false;' class=\"detail_page_section_heading\">"
                       L"<td width=\"1%\">>&nbsp;</td><td colspan=\"2\">" +
                       queryName + L" (" + IntToText(static_cast<int>(records.size())) +
                       L")</td></tr>\n";
    int rawRow = TextToInt(report.m_recentChangesRawCount);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ChangeRecord& record = records[i];
        raw += L"<tr id=\"raw" + queryName + L"/" + IntToText(static_cast<int>(i + 1)) +
               L"\" style=\"display:none;\" " +
               (i % 2 == 0 ? L"class=\"rowHighlightData\">" : L"class=\"rowData\">") +
               L"<td width=\"1%\">&nbsp;&nbsp;</td><td colspan=\"2\">" + ItemText(report, record);
        if (record.kind == kChangeValue) {
            raw += ValueText(HtmlText(record.exportName), HtmlText(record.oldValue),
                             HtmlText(record.newValue));
        }
        raw += L"</td></tr>\n";
        ++rawRow;
    }
    report.m_recentChangesRawList += raw;
    report.m_recentChangesRawCount = IntToText(rawRow);
}
