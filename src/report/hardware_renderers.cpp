#include <ctime>
#include <initializer_list>
#include <locale>
#include <optional>
#include <sstream>
#include <string>

#include "config/common_config.h"
#include "report/html_text.h"
#include "report/int64_text.h"
#include "report/inventory_report.h"
#include "report/linux_texts.h"
#include "report/session_fields.h"
#include "report/shown_date.h"
#include "util/datetime.h"
#include "util/numbers.h"
#include "util/text.h"

namespace {

using Renderer = void (CInventoryReport::*)(const std::vector<SessionItem>&);

struct Section {
    const wchar_t* query;
    Renderer render;  // null: the query only has recent changes
};

// Rows 1 to 20 of the dispatcher; installed programs, services and components follow in
// RenderSections because their rows have conditions of their own.
const Section kSections[] = {
    {L"Version", &CInventoryReport::RenderVersion},
    {L"Process", &CInventoryReport::RenderProcess},
    {L"BIOS", &CInventoryReport::RenderBIOS},
    {L"OperatingSystem", &CInventoryReport::RenderOperatingSystem},
    {L"ComputerSystem", &CInventoryReport::RenderComputerSystem},
    {L"MotherboardDevice", &CInventoryReport::RenderMotherboardDevice},
    {L"SoundDevice", &CInventoryReport::RenderSoundDevice},
    {L"CDROMDrive", &CInventoryReport::RenderCDROMDrive},
    {L"VideoController", &CInventoryReport::RenderVideoController},
    {L"DesktopMonitor", &CInventoryReport::RenderDesktopMonitor},
    {L"Registry", &CInventoryReport::RenderRegistry},
    {L"LogicalDisk", &CInventoryReport::RenderLogicalDisk},
    {L"NetworkAdapterConfiguration", &CInventoryReport::RenderNetworkAdapterConfiguration},
    {L"Printer", &CInventoryReport::RenderPrinter},
    {L"StartupCommand", &CInventoryReport::RenderStartupCommand},
    {L"UserAccount", nullptr},
    {L"Processor", &CInventoryReport::RenderProcessor},
    {L"PhysicalMemory", &CInventoryReport::RenderPhysicalMemory},
    {L"PhysicalMemoryArray", &CInventoryReport::RenderPhysicalMemoryArray},
    {L"QuickFixEngineering", &CInventoryReport::RenderQuickFixEngineering},
};

// Tried in order until one leaves a non-zero component count.
const Section kComponentSections[] = {
    {L"OptionalFeature", &CInventoryReport::RenderComponents},
    {L"ServerFeature", &CInventoryReport::RenderComponents},
    {L"Subcomponents", &CInventoryReport::RenderSubcomponents},
};

// The queries data build 17 added, after every earlier one.
const Section kLaterSections[] = {
    {L"DiskDrive", &CInventoryReport::RenderDiskDrive},
    {L"USBDevice", &CInventoryReport::RenderUSBDevice},
    {L"Platform", &CInventoryReport::RenderPlatform},
    {L"Tpm", &CInventoryReport::RenderTpm},
};

// Copies a present field, escaped, into its model field; an absent one leaves it unchanged.
void CopyField(const SessionItem& item, const wchar_t* name, std::wstring& field) {
    if (const std::wstring* text = FindField(item, name)) {
        field = HtmlText(*text);
    }
}

struct FieldCopy {
    const wchar_t* name;
    std::wstring* field;
};

// The sections of one object (a machine has one BIOS): the first item's fields, as CopyField.
void CopyFirstItemFields(const std::vector<SessionItem>& items,
                         std::initializer_list<FieldCopy> copies) {
    if (items.empty()) {
        return;
    }
    for (const FieldCopy& copy : copies) {
        CopyField(items.front(), copy.name, *copy.field);
    }
}

bool Contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

// Every present field, escaped and followed by a line feed.
std::wstring JoinFieldLines(const std::vector<SessionItem>& items, const wchar_t* name) {
    std::wstring joined;
    for (const SessionItem& item : items) {
        if (const std::wstring* text = FindField(item, name)) {
            joined += HtmlText(*text) + L"\n";
        }
    }
    return joined;
}

// At most six significant digits without trailing zeros: 60.65, 5.5, 100, 0.
std::wstring FormatPercent(double value) {
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

std::wstring UptimeText(long long seconds) {
    const DayClock clock = SplitSeconds(seconds);
    std::wstring text;
    if (clock.days > 0) {
        text += IntToText(clock.days) + L" days, ";
    }
    if (clock.hours > 0) {
        text += IntToText(clock.hours) + L" hours, ";
    }
    return text + IntToText(clock.minutes) + L" minutes";
}

// Seconds since 1970 of a boot time, or -1 when there is none to count from: a boot time
// that does not fit time_t (after 2038 on the 32-bit Windows runtime) or lies before 1970.
long long BootInstant(const std::tm& boot) {
    const long long instant = static_cast<long long>(UtcToTime(boot));
    return instant < 0 ? -1 : instant;
}

// A processor's cores. Windows XP before SP3 has no NumberOfCores, which the WMI provider
// stores as empty text: that, like any text that is no count of WMI's unsigned 32-bit type,
// means one core. The bound also keeps the machine's sum from overflowing.
long long CoreCount(const SessionItem& item) {
    constexpr long long kMaxCount = 4294967295LL;
    const long long cores = TextToInt64(FieldText(item, L"NumberOfCores"));
    return cores > 0 && cores <= kMaxCount ? cores : 1;
}

}  // namespace

void CInventoryReport::RenderSections(const SessionData& session, const ChangeData& changes) {
    m_linuxMode = IsLinuxSession(session);
    const auto bios = session.find(L"BIOS");
    m_firmwareTables = bios != session.end() && !bios->second.empty();
    const bool previousSession = m_lastSessionTime.tm_year != 0;
    const auto renderChanges = [&](const std::wstring& query) {
        if (!previousSession) {
            return;
        }
        const auto found = changes.find(query);
        if (found != changes.end()) {
            RenderRecentChanges(*this, found->second, query);
        }
    };
    const auto renderSection = [&](const Section& section) {
        const auto found = session.find(section.query);
        if (found != session.end() && section.render != nullptr) {
            (this->*section.render)(found->second);
        }
        renderChanges(section.query);
    };

    for (const Section& section : kSections) {
        renderSection(section);
    }
    // Without a word on the memory modules (no firmware table readable, or a WMI that lists
    // none), the memory the operating system sees is the best total there is; a blank total
    // would also fail every memory requirement of the compatibility assessment.
    const auto modules = session.find(L"PhysicalMemory");
    if ((modules == session.end() || modules->second.empty()) && m_visibleMemoryKilobytes > 0) {
        m_totalPhysicalMemory = static_cast<double>(m_visibleMemoryKilobytes) * 1024.0;
        m_physicalMemoryTotalSize = FormatBytes(m_totalPhysicalMemory);
    }
    if (!IsKnownFigure(m_totalPhysicalMemory)) {
        m_physicalMemoryTotalSize = kUnknownFigure;
    }

    const auto programs32 = session.find(L"InstalledSoftware32");
    const auto programsOfUsers = session.find(L"InstalledSoftwareUser");
    const std::vector<SessionItem> none;
    const std::vector<SessionItem>& ofUsers =
        programsOfUsers == session.end() ? none : programsOfUsers->second;
    if (programs32 != session.end() || !ofUsers.empty()) {
        const auto programs64 = session.find(L"InstalledSoftware64");
        RenderInstalledPrograms(
            programs32 == session.end() ? none : programs32->second,
            m_config.IsWow64() && programs64 != session.end() ? programs64->second : none, ofUsers);
    }
    renderChanges(L"InstalledSoftware32");
    renderChanges(L"InstalledSoftware64");
    renderChanges(L"InstalledSoftwareUser");

    renderSection({L"Services", &CInventoryReport::RenderServices});

    for (const Section& section : kComponentSections) {
        if (TextToInt(m_componentsCount) != 0) {
            break;
        }
        renderSection(section);
    }
    for (const Section& section : kLaterSections) {
        renderSection(section);
    }

    if (!previousSession) {
        m_recentChangesDisableStart = L"<!-- Disable recent changes as no previous session exists";
        m_recentChangesDisableEnd = L"-->";
    }
}

void CInventoryReport::SetLastSessionTime(const std::tm& lastSession) {
    m_lastSessionTime = lastSession;
    m_timeSinceLastScan = m_lastSessionTime.tm_year != 0 ? FormatLocalTime(m_lastSessionTime)
                                                         : L"No previous scans detected";
}

void CInventoryReport::RenderVersion(const std::vector<SessionItem>& items) {
    // A Linux run as root or not reads the figures the report shows alike.
    if (items.empty() || m_linuxMode) {
        return;
    }
    const std::wstring* runAsAdmin = FindField(items.front(), L"RunAsAdmin");
    if (runAsAdmin != nullptr && TextToInt(*runAsAdmin) == 0) {
        m_runAsAdmin = false;
        m_insufficientAccess = FormatSpanRow(
            L"<span style=\"color:red\">NOTE: Some data could not be retrieved for this item due "
            L"to user permission limitations. Please be sure to run this tool as administrator "
            L"to return maximum details about your system.</span>",
            0);
    }
}

void CInventoryReport::RenderBIOS(const std::vector<SessionItem>& items) {
    CopyFirstItemFields(items, {{L"Name", &m_biosName},
                                {L"Version", &m_biosVersion},
                                {L"Manufacturer", &m_biosManufacturer},
                                {L"Description", &m_biosDescription},
                                {L"IdentificationCode", &m_biosIdentificationCode},
                                {L"SerialNumber", &m_biosSerialNumber}});
}

void CInventoryReport::RenderOperatingSystem(const std::vector<SessionItem>& items) {
    if (items.empty()) {
        return;
    }
    const SessionItem& item = items.front();

    // A date that is missing or unreadable is shown empty, like the uptime it would give.
    if (const std::wstring* installed = FindField(item, L"InstallDate")) {
        m_operatingSystemInstallDate = ShownDateText(*installed);
    }
    std::optional<std::tm> bootTime;
    if (const std::wstring* booted = FindField(item, L"LastBootupTime")) {
        bootTime = ReadShownDate(*booted);
        m_operatingSystemLastBootupTime = bootTime ? FormatLocalTime(*bootTime) : std::wstring();
    }
    m_operatingSystemUptime.clear();
    const long long booted = bootTime ? BootInstant(*bootTime) : -1;
    if (booted >= 0) {
        m_operatingSystemUptime = UptimeText(static_cast<long long>(std::time(nullptr)) - booted);
    }

    if (const std::wstring* caption = FindField(item, L"Caption")) {
        const std::wstring tag = m_config.IsWow64() ? L"x64" : L"x86";
        m_operatingSystemCaption = HtmlText(*caption);
        if (!Contains(ToLower(*caption), tag)) {
            m_operatingSystemCaption += L" " + tag;
        }
    }
    CopyField(item, L"Version", m_operatingSystemVersion);
    CopyField(item, L"BuildNumber", m_operatingSystemBuildNumber);

    const std::wstring servicePack = FieldText(item, L"CsdVersion");
    if (servicePack.empty()) {
        m_operatingSystemCsdVersion = L"None";
    } else if (!Contains(ToLower(servicePack), L"service pack")) {
        m_operatingSystemCsdVersion = L"Service Pack " + HtmlText(servicePack);
    } else {
        m_operatingSystemCsdVersion = HtmlText(servicePack);
    }

    m_systemDrive = FieldText(item, L"SystemDrive");
    CopyField(item, L"WindowsDirectory", m_operatingSystemWindowsDirectory);
    CopyField(item, L"Description", m_operatingSystemDescription);
    CopyField(item, L"OSArchitecture", m_operatingSystemOSArchitecture);
    if (m_operatingSystemOSArchitecture.empty()) {
        m_operatingSystemOSArchitecture = m_config.IsWow64() ? L"64-bit" : L"32-bit";
    }

    // Kilobytes: more than 2 TiB of memory does not fit 32 bits.
    const long long total = TextToInt64(FieldText(item, L"TotalVisibleMemorySize"));
    m_visibleMemoryKilobytes = total > 0 ? total : 0;
    long long free = TextToInt64(FieldText(item, L"FreePhysicalMemory"));
    if (total > 0) {
        free = free < 0 ? 0 : (free > total ? total : free);
        m_operatingSystemTotalVisibleMemorySize = std::to_wstring(total / 1024) + L"MB";
        m_operatingSystemFreePhysicalMemory = std::to_wstring(free / 1024) + L"MB";
        m_operatingSystemUsedPhysicalMemory = std::to_wstring((total - free) / 1024) + L"MB";
    }
}

void CInventoryReport::RenderComputerSystem(const std::vector<SessionItem>& items) {
    CopyFirstItemFields(items, {{L"Manufacturer", &m_computerSystemManufacturer},
                                {L"Model", &m_computerSystemModel},
                                {L"Name", &m_computerSystemName},
                                {L"Domain", &m_computerSystemDomain}});
    if (m_linuxMode && !m_firmwareTables) {
        m_computerSystemManufacturer.clear();
    }
}

void CInventoryReport::RenderMotherboardDevice(const std::vector<SessionItem>& items) {
    CopyFirstItemFields(items, {{L"PrimaryBusType", &m_motherboardDevicePrimaryBusType},
                                {L"SecondaryBusType", &m_motherboardDeviceSecondaryBusType}});
}

void CInventoryReport::RenderSoundDevice(const std::vector<SessionItem>& items) {
    m_soundDeviceDescription = JoinFieldLines(items, L"Description");
}

void CInventoryReport::RenderCDROMDrive(const std::vector<SessionItem>& items) {
    m_CDROMDeviceName = JoinFieldLines(items, L"Name");
}

void CInventoryReport::RenderVideoController(const std::vector<SessionItem>& items) {
    m_videoControllerName.clear();
    for (const SessionItem& item : items) {
        const std::wstring* name = FindField(item, L"Name");
        if (name == nullptr) {
            continue;
        }
        m_videoControllerName += HtmlText(*name);
        if (const std::wstring* memory = FindField(item, L"AdapterRAM")) {
            m_videoControllerName += L" (Memory: " + KnownBytesText(TextToDouble(*memory)) + L")";
        }
        m_videoControllerName += L"\n";
    }
}

void CInventoryReport::RenderDesktopMonitor(const std::vector<SessionItem>& items) {
    CopyFirstItemFields(items, {{L"Name", &m_desktopMonitorName},
                                {L"Description", &m_desktopMonitorDescription},
                                {L"DeviceID", &m_desktopMonitorDeviceID},
                                {L"MonitorManufacturer", &m_desktopMonitorMonitorManufacturer},
                                {L"MonitorType", &m_desktopMonitorMonitorType}});
}

void CInventoryReport::RenderRegistry(const std::vector<SessionItem>& items) {
    if (items.empty()) {
        return;
    }
    const SessionItem& item = items.front();
    if (const std::wstring* size = FindField(item, L"CurrentSize")) {
        m_registryCurrentSize = HtmlText(*size) + L"MB";
    }
    if (const std::wstring* size = FindField(item, L"MaximumSize")) {
        m_registryMaximumSize = HtmlText(*size) + L"MB";
    }
}

void CInventoryReport::RenderLogicalDisk(const std::vector<SessionItem>& items) {
    constexpr int kLocalDisk = 3;
    constexpr int kNetworkDrive = 4;
    std::wstring rows;
    int disk = 0;
    m_driveSizes.clear();
    for (const SessionItem& item : items) {
        if (HasText(item, L"DeviceID")) {
            m_driveSizes.emplace_back(FieldText(item, L"DeviceID"),
                                      TextToDouble(FieldText(item, L"Size")));
        }
        const std::wstring* driveTypeText = FindField(item, L"DriveType");
        if (driveTypeText == nullptr) {
            continue;
        }
        const int driveType = TextToInt(*driveTypeText);
        if (driveType != kLocalDisk && driveType != kNetworkDrive) {
            continue;
        }
        ++disk;
        const std::wstring label = L"Disk #" + IntToText(disk) + L":";

        const double size = TextToDouble(FieldText(item, L"Size"));
        const std::wstring used = FieldText(item, L"UsedSpace");
        const DiskUsage usage =
            MeasureDisk(size, TextToDouble(FieldText(item, L"FreeSpace")),
                        used.empty() ? std::nullopt : std::optional<double>(TextToDouble(used)));
        if (driveType == kLocalDisk) {
            m_totalDiskSize += size;
        }

        const std::wstring fileSystem = FieldText(item, L"FileSystem");
        const std::wstring fileSystemText =
            fileSystem.empty() ? std::wstring() : L"FileSystem: " + HtmlText(fileSystem);
        const std::wstring deviceId = HtmlText(FieldText(item, L"DeviceID"));
        const std::wstring provider = HtmlText(FieldText(item, L"ProviderName"));

        std::wstring value;
        if (!deviceId.empty()) {
            if (m_linuxMode) {
                value = L"Mount " + deviceId +
                        (provider.empty() ? std::wstring() : L" (" + provider + L")") + L" ";
            } else if (driveType == kLocalDisk) {
                value = L"Drive " + deviceId + L" (Physical Disk) ";
            } else if (!provider.empty()) {
                value = L"Drive " + deviceId + L" (" + provider + L") ";
            }
            value += fileSystemText + L" Used: " + FormatBytes(usage.used) + L" Total: " +
                     FormatBytes(size) + L" [ " + FormatPercent(usage.percentFull) + L"% Full ]";
        }
        rows += FormatLabelRow(label, value, disk - 1);
    }
    m_logicalDiskDriveList = rows;
}

void CInventoryReport::RenderProcessor(const std::vector<SessionItem>& items) {
    long long totalCores = 0;
    // Windows 11 asks for cores: one processor that does not say leaves the count unknown.
    long long knownCores = 0;
    std::wstring list;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const SessionItem& item = items[i];
        const long long cores = CoreCount(item);
        totalCores += cores;
        knownCores = knownCores < 0 || !HasText(item, L"NumberOfCores") ? -1 : knownCores + cores;

        const std::wstring name = HtmlText(FieldText(item, L"Name"));
        const std::wstring deviceId = HtmlText(FieldText(item, L"DeviceID"));
        if (i == 0) {
            m_processorSpeed = TextToDouble(FieldText(item, L"MaxClockSpeed")) * 1000 * 1000;
            m_readiness.dataWidth = FieldText(item, L"DataWidth");
            m_readiness.architecture = FieldText(item, L"Architecture");
            m_readiness.manufacturer = FieldText(item, L"Manufacturer");
            m_readiness.caption = FieldText(item, L"Caption");
        }
        if (i > 0) {
            list += L"<br>\n";
        }
        list += deviceId + L": " + name;
        list +=
            cores == 1 ? std::wstring(L" (1 core)") : L" (" + std::to_wstring(cores) + L" cores)";
    }
    m_processorList = list;
    m_readiness.cores = knownCores > 0 ? knownCores : 0;
    CountLogicalProcessors(items);
    m_processorCount = IntToText(static_cast<int>(items.size()));
    m_processorCoreCount = std::to_wstring(totalCores);
}

void CInventoryReport::RenderPhysicalMemory(const std::vector<SessionItem>& items) {
    m_totalPhysicalMemory = 0;
    m_physicalMemoryTotalSize.clear();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const SessionItem& item = items[i];
        std::wstring capacityText;
        if (const std::wstring* capacity = FindField(item, L"Capacity")) {
            const double bytes = TextToDouble(*capacity);
            m_totalPhysicalMemory += bytes;
            capacityText = FormatBytes(bytes);
        }
        if (i > 0) {
            m_physicalMemoryList += L"<br>";
        }
        m_physicalMemoryList += HtmlText(FieldText(item, L"Tag")) + L": " + capacityText;
    }
    m_physicalMemoryTotalSize = FormatBytes(m_totalPhysicalMemory);
}

void CInventoryReport::RenderPhysicalMemoryArray(const std::vector<SessionItem>& items) {
    long long devices = 0;  // a sum of 32-bit counts may not fit 32 bits
    double capacity = 0;
    for (const SessionItem& item : items) {
        devices += TextToInt(FieldText(item, L"MemoryDevices"));
        capacity += TextToDouble(FieldText(item, L"MaxCapacity")) * 1024;
    }
    m_physicalMemoryArrayMemoryDevices = std::to_wstring(devices);
    m_physicalMemoryArrayMaxCapacity = FormatBytes(capacity);
}
