#include <ctime>
#include <exception>
#include <iterator>
#include <string>
#include <string_view>

#include "config/common_config.h"
#include "platform/files.h"
#include "report/html_text.h"
#include "report/inventory_report.h"
#include "report/web_addresses.h"
#include "util/datetime.h"
#include "util/numbers.h"
#include "util/text.h"
#include "util/utf.h"

namespace {

using TextField = std::wstring CInventoryReport::*;

struct Substitution {
    const wchar_t* placeholder;
    TextField field;
};

#define FENNOCK_STEP(name) \
    { L"@@__" #name "__@@", &CInventoryReport::name }

// The substitution steps run in this order: a field text may hold a later step's
// placeholder and is then expanded by that step.
const Substitution kSubstitutions[] = {
    FENNOCK_STEP(m_inventoryFilesPath),
    FENNOCK_STEP(m_timeSinceLastScan),
    FENNOCK_STEP(m_productName),
    FENNOCK_STEP(m_currentTime),
    FENNOCK_STEP(m_appVersion),
    FENNOCK_STEP(m_IPAddress),
    FENNOCK_STEP(m_MACAddress),
    FENNOCK_STEP(m_processList),
    FENNOCK_STEP(m_processCount),
    FENNOCK_STEP(m_installedProgramsList),
    FENNOCK_STEP(m_installedProgramsCount),
    FENNOCK_STEP(m_biosName),
    FENNOCK_STEP(m_biosVersion),
    FENNOCK_STEP(m_biosManufacturer),
    FENNOCK_STEP(m_biosDescription),
    FENNOCK_STEP(m_biosIdentificationCode),
    FENNOCK_STEP(m_biosSerialNumber),
    FENNOCK_STEP(m_operatingSystemInstallDate),
    FENNOCK_STEP(m_operatingSystemLastBootupTime),
    FENNOCK_STEP(m_operatingSystemUptime),
    FENNOCK_STEP(m_operatingSystemTotalVisibleMemorySize),
    FENNOCK_STEP(m_operatingSystemFreePhysicalMemory),
    FENNOCK_STEP(m_operatingSystemUsedPhysicalMemory),
    FENNOCK_STEP(m_operatingSystemCaption),
    FENNOCK_STEP(m_operatingSystemVersion),
    FENNOCK_STEP(m_operatingSystemBuildNumber),
    FENNOCK_STEP(m_operatingSystemCsdVersion),
    FENNOCK_STEP(m_operatingSystemWindowsDirectory),
    FENNOCK_STEP(m_operatingSystemDescription),
    FENNOCK_STEP(m_operatingSystemOSArchitecture),
    FENNOCK_STEP(m_physicalMemoryTotalSize),
    FENNOCK_STEP(m_physicalMemoryList),
    FENNOCK_STEP(m_physicalMemoryArrayMaxCapacity),
    FENNOCK_STEP(m_physicalMemoryArrayMemoryDevices),
    FENNOCK_STEP(m_computerSystemManufacturer),
    FENNOCK_STEP(m_computerSystemModel),
    FENNOCK_STEP(m_computerSystemName),
    FENNOCK_STEP(m_computerSystemDomain),
    FENNOCK_STEP(m_computerSystemStatus),
    FENNOCK_STEP(m_motherboardDevicePrimaryBusType),
    FENNOCK_STEP(m_motherboardDeviceSecondaryBusType),
    FENNOCK_STEP(m_soundDeviceDescription),
    FENNOCK_STEP(m_CDROMDeviceName),
    FENNOCK_STEP(m_videoControllerName),
    FENNOCK_STEP(m_desktopMonitorName),
    FENNOCK_STEP(m_desktopMonitorDescription),
    FENNOCK_STEP(m_desktopMonitorDeviceID),
    FENNOCK_STEP(m_desktopMonitorMonitorManufacturer),
    FENNOCK_STEP(m_desktopMonitorMonitorType),
    FENNOCK_STEP(m_registryCurrentSize),
    FENNOCK_STEP(m_registryMaximumSize),
    FENNOCK_STEP(m_logicalDiskDriveList),
    FENNOCK_STEP(m_networkAdapterConfigurationCount),
    FENNOCK_STEP(m_networkAdapterConfigurationList),
    FENNOCK_STEP(m_printerCount),
    FENNOCK_STEP(m_printerList),
    FENNOCK_STEP(m_startupProgramsCount),
    FENNOCK_STEP(m_startupProgramsList),
    FENNOCK_STEP(m_patchCount),
    FENNOCK_STEP(m_patchList),
    FENNOCK_STEP(m_servicesCount),
    FENNOCK_STEP(m_servicesList),
    FENNOCK_STEP(m_componentsCount),
    FENNOCK_STEP(m_componentsList),
    FENNOCK_STEP(m_componentsDisableStart),
    FENNOCK_STEP(m_componentsDisableEnd),
    FENNOCK_STEP(m_userAccountName),
    FENNOCK_STEP(m_userAccountFullName),
    FENNOCK_STEP(m_userAccountDomain),
    FENNOCK_STEP(m_processorCoreCount),
    FENNOCK_STEP(m_processorCount),
    FENNOCK_STEP(m_processorList),
    FENNOCK_STEP(m_recentChangesCount),
    FENNOCK_STEP(m_recentChangesList),
    FENNOCK_STEP(m_recentChangesRawCount),
    FENNOCK_STEP(m_recentChangesRawList),
    FENNOCK_STEP(m_recentChangesDisableStart),
    FENNOCK_STEP(m_recentChangesDisableEnd),
    FENNOCK_STEP(m_compatWin7Color),
    FENNOCK_STEP(m_compatWin7Status),
    FENNOCK_STEP(m_compatWin7CpuActual),
    FENNOCK_STEP(m_compatWin7CpuRecommended),
    FENNOCK_STEP(m_compatWin7CpuRequired),
    FENNOCK_STEP(m_compatWin7RamActual),
    FENNOCK_STEP(m_compatWin7RamRecommended),
    FENNOCK_STEP(m_compatWin7RamRequired),
    FENNOCK_STEP(m_compatWin7DiskActual),
    FENNOCK_STEP(m_compatWin7DiskRecommended),
    FENNOCK_STEP(m_compatWin7DiskRequired),
    FENNOCK_STEP(m_compatVistaColor),
    FENNOCK_STEP(m_compatVistaStatus),
    FENNOCK_STEP(m_compatVistaCpuActual),
    FENNOCK_STEP(m_compatVistaCpuRecommended),
    FENNOCK_STEP(m_compatVistaCpuRequired),
    FENNOCK_STEP(m_compatVistaRamActual),
    FENNOCK_STEP(m_compatVistaRamRecommended),
    FENNOCK_STEP(m_compatVistaRamRequired),
    FENNOCK_STEP(m_compatVistaDiskActual),
    FENNOCK_STEP(m_compatVistaDiskRecommended),
    FENNOCK_STEP(m_compatVistaDiskRequired),
    FENNOCK_STEP(m_compatWinxpColor),
    FENNOCK_STEP(m_compatWinxpStatus),
    FENNOCK_STEP(m_compatWinxpCpuActual),
    FENNOCK_STEP(m_compatWinxpCpuRecommended),
    FENNOCK_STEP(m_compatWinxpCpuRequired),
    FENNOCK_STEP(m_compatWinxpRamActual),
    FENNOCK_STEP(m_compatWinxpRamRecommended),
    FENNOCK_STEP(m_compatWinxpRamRequired),
    FENNOCK_STEP(m_compatWinxpDiskActual),
    FENNOCK_STEP(m_compatWinxpDiskRecommended),
    FENNOCK_STEP(m_compatWinxpDiskRequired),
    FENNOCK_STEP(m_insufficientAccess),
    FENNOCK_STEP(m_falseChanges),
    FENNOCK_STEP(m_processorLogicalCount),
    FENNOCK_STEP(m_platformFirmwareType),
    FENNOCK_STEP(m_platformSecureBoot),
    FENNOCK_STEP(m_platformVirtualization),
    FENNOCK_STEP(m_platformInitSystem),
    FENNOCK_STEP(m_tpmText),
    FENNOCK_STEP(m_diskDriveNames),
    FENNOCK_STEP(m_usbDeviceNames),
    FENNOCK_STEP(m_compatWin10Color),
    FENNOCK_STEP(m_compatWin10Status),
    FENNOCK_STEP(m_compatWin10List),
    FENNOCK_STEP(m_compatWin11Color),
    FENNOCK_STEP(m_compatWin11Status),
    FENNOCK_STEP(m_compatWin11List),
};

#undef FENNOCK_STEP

static_assert(std::size(kSubstitutions) == 127);

const wchar_t kPlaceholderMark[] = L"@@__";

// Marks at the start of a template line: the line belongs to the Windows report only, to the
// Linux report only, or (in a Linux report) is left out when every value on it is empty.
const wchar_t kWindowsLine[] = L"@@__windows__@@";
const wchar_t kLinuxLine[] = L"@@__linux__@@";
const wchar_t kFilledLine[] = L"@@__ifFilled__@@";

bool TakeMark(std::wstring& line, std::wstring_view mark) {
    if (line.compare(0, mark.size(), mark) != 0) {
        return false;
    }
    line.erase(0, mark.size());
    return true;
}

// The current instant as a UTC record. Built from the epoch by day and second so that no
// shared runtime record (gmtime's) is touched; the date helpers normalise the fields.
std::tm CurrentUtcTime() {
    const long long now = static_cast<long long>(std::time(nullptr));
    std::tm utc{};
    utc.tm_year = 70;
    utc.tm_mday = 1 + static_cast<int>(now / 86400);
    utc.tm_sec = static_cast<int>(now % 86400);
    return utc;
}

// An address as the value of a double-quoted attribute.
std::wstring AttributeUrl(std::wstring url) {
    ReplaceAll(url, L"&", L"&amp;");
    return url;
}

// A line of the report with CR LF after it; a line feed inside inserted text ends a line
// too. One pass: replacing line feeds in place would move the rest of the line each time,
// and a list of many thousand rows is one line of the template.
void AppendReportLine(std::string& report, std::string_view line) {
    for (std::size_t start = 0;;) {
        const std::size_t feed = line.find('\n', start);
        report.append(line.substr(start, feed == std::string_view::npos ? feed : feed - start));
        report += "\r\n";
        if (feed == std::string_view::npos) {
            return;
        }
        start = feed + 1;
    }
}

const wchar_t* RowStart(int index) {
    return index % 2 == 0 ? L"<tr class=\"rowHighlightData\">" : L"<tr class=\"rowData\">";
}

}  // namespace

CInventoryReport::CInventoryReport(CCommonConfig& config) : m_config(config) {
    for (std::wstring* count :
         {&m_processCount, &m_installedProgramsCount, &m_networkAdapterConfigurationCount,
          &m_printerCount, &m_startupProgramsCount, &m_patchCount, &m_servicesCount,
          &m_componentsCount, &m_processorCount, &m_recentChangesCount, &m_recentChangesRawCount}) {
        *count = L"0";
    }
    m_processList = FormatSpanRow(L"No processes detected.", 0);
    m_installedProgramsList = FormatSpanRow(L"No installed programs detected.", 0);
    m_logicalDiskDriveList = FormatSpanRow(L"No logical disk drives detected.", 0);
    m_networkAdapterConfigurationList = FormatSpanRow(L"No network adapters detected.", 0);
    m_printerList = FormatSpanRow(L"No printers detected.", 0);
    m_startupProgramsList = FormatSpanRow(L"No startup programs detected.", 0);
    m_patchList = FormatSpanRow(L"No installed patches detected.", 0);
    m_servicesList = FormatSpanRow(L"No services detected.", 0);
    m_componentsList = FormatSpanRow(L"No components/features detected.", 0);
    m_processorList = L"No processors detected.";

    m_totalPhysicalMemory = 0;
    m_processorSpeed = 0;
    m_totalDiskSize = 0;
    m_lastSessionTime.tm_year = 0;
    BuildComponentNames();
}

void CInventoryReport::Open(const std::wstring& templatePath, const std::wstring& outputPath,
                            bool portable) {
    // Nothing is opened yet: the report replaces the previous one only once it is complete.
    m_templatePath = templatePath;
    m_outputPath = outputPath;
    m_open = true;

    m_inventoryFilesPath = portable ? std::wstring(kPortableBaseUrl) : L"inventory_files/";
    m_productName = L"Fennock";
    m_currentTime = FormatLocalTime(CurrentUtcTime());
    m_appVersion = IntToText(m_config.GetFileVersionMajor()) + L"." +
                   IntToText(m_config.GetFileVersionMinor()) + L"." +
                   IntToText(m_config.GetFileVersionRevision());
}

std::wstring CInventoryReport::FormatSpanRow(const std::wstring& text, int index) {
    std::wstring row;
    AppendSpanRow(row, text, index);
    return row;
}

void CInventoryReport::AppendSpanRow(std::wstring& list, std::wstring_view text, int index) {
    list += RowStart(index);
    list += L"<td width=\"1%\">&nbsp;&nbsp;</td><td colspan=\"2\">";
    list += text;
    list += L"</td></tr>\n";
}

std::wstring CInventoryReport::FormatLabelRow(const std::wstring& label, const std::wstring& value,
                                              int index) {
    return std::wstring(RowStart(index)) +
           L"<td width=\"1%\">&nbsp;&nbsp;</td><td style=\"width: 150px; min-width: 100px;\">" +
           label + L"</td><td>" + value + L"</td></tr>\n";
}

bool CInventoryReport::WriteReport() {
    if (!m_open) {
        return false;
    }
    m_open = false;
    AssessCompatibility();

    // The serial number field already holds escaped text (the BIOS renderer escapes it), so
    // it is safe inside the attribute as it is.
    if (ToLower(m_computerSystemManufacturer).find(L"varn") != std::wstring::npos &&
        !m_biosSerialNumber.empty()) {
        m_computerSystemModel +=
            L"<form target=\"_zephVarnWindow\" name=\"frmServiceTagSelect\" method=\"post\"";
        m_computerSystemModel += L"\n";
        m_computerSystemModel += L"action=\"" + AttributeUrl(kSupportFormUrl) + L"\">";
        m_computerSystemModel += L"\n";
        m_computerSystemModel += L"<input name=\"ServiceTag\" id=\"ServiceTag\" value=\"";
        m_computerSystemModel += m_biosSerialNumber;
        m_computerSystemModel += L"\" type=\"hidden\" maxlength=\"7\" size=\"8\" />";
        m_computerSystemModel += L"\n";
        m_computerSystemModel += std::wstring(kSupportHost) + L" ";
        m_computerSystemModel += L"<input type=\"image\" src=\"";
        m_computerSystemModel += m_inventoryFilesPath;
        m_computerSystemModel += L"blue_arrow.gif\"/>";
        m_computerSystemModel += L"\n";
        m_computerSystemModel += L"</form>";
    }

    const std::wstring processors = ToUpper(m_processorList);
    if ((processors.find(L"PENTIUM(R) III") != std::wstring::npos ||
         processors.find(L"PENTIUM III") != std::wstring::npos) &&
        (m_operatingSystemCaption.find(L"XP") != std::wstring::npos ||
         m_operatingSystemCaption.find(L"2003") != std::wstring::npos)) {
        m_processorList +=
            L"<br><span style=\"color:red\">NOTE: The type of processor(s) may have been "
            L"reported incorrectly by Windows. You should download and install <a href=\"" +
            AttributeUrl(std::wstring(kKnowledgeBaseArticleUrl) + L"953955") +
            L"\" target=\"_blank\">Hotfix KB953955</a> from Microsoft.</span>";
    }

    if (m_recentChangesList.empty()) {
        m_recentChangesList = FormatSpanRow(L"No changes detected.", 0);
    }
    if (m_recentChangesRawList.empty()) {
        m_recentChangesRawList = FormatSpanRow(L"No changes detected.", 0);
    }

    // Without its template there is no report to replace the previous one with, nor when
    // the report does not fit in memory. A folder is no template: reading one throws.
    std::string report;
    try {
        std::string templateBytes;
        if (platform::IsDirectory(m_templatePath) ||
            !platform::ReadWholeFile(m_templatePath, templateBytes)) {
            return false;
        }
        report = FillTemplate(templateBytes);
    } catch (const std::exception&) {
        return false;
    }
    return platform::WriteFileReplacing(m_outputPath, report);
}

std::string CInventoryReport::FillTemplate(std::string_view templateBytes) const {
    std::string report;
    for (std::size_t start = 0; start < templateBytes.size();) {
        std::size_t end = templateBytes.find('\n', start);
        if (end == std::string_view::npos) {
            end = templateBytes.size();
        }
        std::string_view raw = templateBytes.substr(start, end - start);
        start = end + 1;
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        std::wstring line = Utf8ToWide(raw);
        const bool windowsOnly = TakeMark(line, kWindowsLine);
        const bool linuxOnly = TakeMark(line, kLinuxLine);
        const bool onlyIfFilled = TakeMark(line, kFilledLine) && m_linuxMode;
        if ((windowsOnly && m_linuxMode) || (linuxOnly && !m_linuxMode)) {
            continue;
        }
        bool filled = false;
        // Once no mark is left, no later step can find its placeholder: the steps stop there
        // instead of each searching a list of many thousand rows.
        for (const Substitution& step : kSubstitutions) {
            if (line.find(kPlaceholderMark) == std::wstring::npos) {
                break;
            }
            if (onlyIfFilled && !(this->*step.field).empty() &&
                line.find(step.placeholder) != std::wstring::npos) {
                filled = true;
            }
            ReplaceAll(line, step.placeholder, this->*step.field);
        }
        if (onlyIfFilled && !filled) {
            continue;
        }
        AppendReportLine(report, WideToUtf8(line));
    }
    return report;
}
