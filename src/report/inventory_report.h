#pragma once
// CInventoryReport is the HTML report model: one text per placeholder "@@__m_<name>__@@" of
// the template, filled by the section renderers, then substituted line by line into the
// report by WriteReport, which replaces the previous report only with a complete one.
//
// Texts that come from the inventory are data, not markup: every renderer escapes them for
// the HTML context they land in (see html_text.h), so a process command line or program
// name can neither break the page nor run script in it.
#include <ctime>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/shown_figures.h"
#include "report/windows_requirements.h"
#include "store/change_data.h"
#include "store/inventory_types.h"

class CCommonConfig;

// Minimums of one Windows version: clock in Hz, memory and disk in bytes.
struct SystemRequirements {
    double cpuRequired;
    double cpuRecommended;
    double ramRequired;
    double ramRecommended;
    double diskRequired;
    double diskRecommended;
};

// The eleven fields of one version's compatibility verdict.
struct CompatibilityFields {
    std::wstring* color;
    std::wstring* status;
    std::wstring* cpuActual;
    std::wstring* cpuRequired;
    std::wstring* cpuRecommended;
    std::wstring* ramActual;
    std::wstring* ramRequired;
    std::wstring* ramRecommended;
    std::wstring* diskActual;
    std::wstring* diskRequired;
    std::wstring* diskRecommended;
};

class CInventoryReport {
  public:
    explicit CInventoryReport(CCommonConfig& config);
    CInventoryReport(const CInventoryReport&) = delete;
    CInventoryReport& operator=(const CInventoryReport&) = delete;

    // Takes the paths and sets the fixed texts; neither file is touched until WriteReport.
    void Open(const std::wstring& templatePath, const std::wstring& outputPath, bool portable);
    void SetLastSessionTime(const std::tm& lastSession);
    void RenderSections(const SessionData& session, const ChangeData& changes);
    // Fills the template into "<output>.tmp" beside the output and moves it over the output.
    // True when the output now holds the whole report; false, with the previous output as it
    // was, when the template cannot be read or the report cannot be written (a missing or
    // read-only folder, a full disk), and when Open did not come first: each Open allows
    // one write.
    bool WriteReport();

    // Table rows: an even index gives the highlighted row class, an odd one the plain class.
    static std::wstring FormatSpanRow(const std::wstring& text, int index);
    // The same row, appended to a list.
    static void AppendSpanRow(std::wstring& list, std::wstring_view text, int index);
    static std::wstring FormatLabelRow(const std::wstring& label, const std::wstring& value,
                                       int index);

    std::wstring DescribeComponent(const std::wstring& id) const;
    void AssessCompatibility();
    void AssessRequirements(const SystemRequirements& requirements,
                            const CompatibilityFields& fields);
    // The Windows 10 and 11 verdicts, from the facts the renderers gathered.
    void AssessWindowsReadiness();

    // Section renderers, one per query; the dispatcher calls them.
    void RenderVersion(const std::vector<SessionItem>& items);
    void RenderBIOS(const std::vector<SessionItem>& items);
    void RenderOperatingSystem(const std::vector<SessionItem>& items);
    void RenderComputerSystem(const std::vector<SessionItem>& items);
    void RenderMotherboardDevice(const std::vector<SessionItem>& items);
    void RenderSoundDevice(const std::vector<SessionItem>& items);
    void RenderCDROMDrive(const std::vector<SessionItem>& items);
    void RenderVideoController(const std::vector<SessionItem>& items);
    void RenderDesktopMonitor(const std::vector<SessionItem>& items);
    void RenderRegistry(const std::vector<SessionItem>& items);
    void RenderLogicalDisk(const std::vector<SessionItem>& items);
    void RenderProcessor(const std::vector<SessionItem>& items);
    void RenderPhysicalMemory(const std::vector<SessionItem>& items);
    void RenderPhysicalMemoryArray(const std::vector<SessionItem>& items);
    void RenderProcess(const std::vector<SessionItem>& items);
    void RenderNetworkAdapterConfiguration(const std::vector<SessionItem>& items);
    void RenderPrinter(const std::vector<SessionItem>& items);
    void RenderStartupCommand(const std::vector<SessionItem>& items);
    void RenderQuickFixEngineering(const std::vector<SessionItem>& items);
    // Programs of the machine's two registry views and of its users; one listed alike in both
    // views shows once.
    void RenderInstalledPrograms(const std::vector<SessionItem>& items32,
                                 const std::vector<SessionItem>& items64,
                                 const std::vector<SessionItem>& itemsOfUsers = {});
    void RenderServices(const std::vector<SessionItem>& items);
    void RenderComponents(const std::vector<SessionItem>& items);
    void RenderSubcomponents(const std::vector<SessionItem>& items);
    void RenderPlatform(const std::vector<SessionItem>& items);
    void RenderTpm(const std::vector<SessionItem>& items);
    void RenderDiskDrive(const std::vector<SessionItem>& items);
    void RenderUSBDevice(const std::vector<SessionItem>& items);
    void CountLogicalProcessors(const std::vector<SessionItem>& items);

    // A live Linux inventory: the template's Windows-only lines are left out, its Linux lines
    // and the Linux parts of list rows shown.
    bool m_linuxMode = false;
    // Whether the machine has firmware tables (a BIOS item): without them a Linux machine's
    // maker is only what its hypervisor calls itself, which the platform facts already say.
    bool m_firmwareTables = true;

    // Numbers the compatibility assessment reads.
    double m_totalPhysicalMemory = 0;
    // The operating system's visible memory, for a session that names no memory modules.
    long long m_visibleMemoryKilobytes = 0;
    double m_processorSpeed = 0;
    double m_totalDiskSize = 0;
    // What the Windows 10 and 11 verdicts read besides the figures above.
    ReadinessFacts m_readiness;
    // The platform item says the TPM could not be asked (sessions before it said nothing).
    bool m_tpmUnanswered = false;
    bool m_runAsAdmin = true;
    std::wstring m_systemDrive;
    std::vector<std::pair<std::wstring, double>> m_driveSizes;
    std::tm m_lastSessionTime{};

    // Placeholder texts, in substitution order.
    std::wstring m_inventoryFilesPath;
    std::wstring m_timeSinceLastScan;
    std::wstring m_productName;
    std::wstring m_currentTime;
    std::wstring m_appVersion;
    std::wstring m_IPAddress;
    std::wstring m_MACAddress;
    std::wstring m_processList;
    std::wstring m_processCount;
    std::wstring m_installedProgramsList;
    std::wstring m_installedProgramsCount;
    std::wstring m_biosName;
    std::wstring m_biosVersion;
    std::wstring m_biosManufacturer;
    std::wstring m_biosDescription;
    std::wstring m_biosIdentificationCode;
    std::wstring m_biosSerialNumber;
    std::wstring m_operatingSystemInstallDate;
    std::wstring m_operatingSystemLastBootupTime;
    std::wstring m_operatingSystemUptime;
    std::wstring m_operatingSystemTotalVisibleMemorySize;
    std::wstring m_operatingSystemFreePhysicalMemory;
    std::wstring m_operatingSystemUsedPhysicalMemory;
    std::wstring m_operatingSystemCaption;
    std::wstring m_operatingSystemVersion;
    std::wstring m_operatingSystemBuildNumber;
    std::wstring m_operatingSystemCsdVersion;
    std::wstring m_operatingSystemWindowsDirectory;
    std::wstring m_operatingSystemDescription;
    std::wstring m_operatingSystemOSArchitecture;
    std::wstring m_physicalMemoryTotalSize;
    std::wstring m_physicalMemoryList;
    std::wstring m_physicalMemoryArrayMaxCapacity;
    std::wstring m_physicalMemoryArrayMemoryDevices;
    std::wstring m_computerSystemManufacturer;
    std::wstring m_computerSystemModel;
    std::wstring m_computerSystemName;
    std::wstring m_computerSystemDomain;
    std::wstring m_computerSystemStatus;
    std::wstring m_motherboardDevicePrimaryBusType;
    std::wstring m_motherboardDeviceSecondaryBusType;
    std::wstring m_soundDeviceDescription;
    std::wstring m_CDROMDeviceName;
    std::wstring m_videoControllerName;
    std::wstring m_desktopMonitorName;
    std::wstring m_desktopMonitorDescription;
    std::wstring m_desktopMonitorDeviceID;
    std::wstring m_desktopMonitorMonitorManufacturer;
    std::wstring m_desktopMonitorMonitorType;
    std::wstring m_registryCurrentSize;
    std::wstring m_registryMaximumSize;
    std::wstring m_logicalDiskDriveList;
    std::wstring m_networkAdapterConfigurationCount;
    std::wstring m_networkAdapterConfigurationList;
    std::wstring m_printerCount;
    std::wstring m_printerList;
    std::wstring m_startupProgramsCount;
    std::wstring m_startupProgramsList;
    std::wstring m_patchCount;
    std::wstring m_patchList;
    std::wstring m_servicesCount;
    std::wstring m_servicesList;
    std::wstring m_componentsCount;
    std::wstring m_componentsList;
    std::wstring m_componentsDisableStart;
    std::wstring m_componentsDisableEnd;
    std::wstring m_userAccountName;
    std::wstring m_userAccountFullName;
    std::wstring m_userAccountDomain;
    std::wstring m_processorCoreCount;
    std::wstring m_processorCount;
    std::wstring m_processorList;
    std::wstring m_recentChangesCount;
    std::wstring m_recentChangesList;
    std::wstring m_recentChangesRawCount;
    std::wstring m_recentChangesRawList;
    std::wstring m_recentChangesDisableStart;
    std::wstring m_recentChangesDisableEnd;
    std::wstring m_compatWin7Color;
    std::wstring m_compatWin7Status;
    std::wstring m_compatWin7CpuActual;
    std::wstring m_compatWin7CpuRecommended;
    std::wstring m_compatWin7CpuRequired;
    std::wstring m_compatWin7RamActual;
    std::wstring m_compatWin7RamRecommended;
    std::wstring m_compatWin7RamRequired;
    std::wstring m_compatWin7DiskActual;
    std::wstring m_compatWin7DiskRecommended;
    std::wstring m_compatWin7DiskRequired;
    std::wstring m_compatVistaColor;
    std::wstring m_compatVistaStatus;
    std::wstring m_compatVistaCpuActual;
    std::wstring m_compatVistaCpuRecommended;
    std::wstring m_compatVistaCpuRequired;
    std::wstring m_compatVistaRamActual;
    std::wstring m_compatVistaRamRecommended;
    std::wstring m_compatVistaRamRequired;
    std::wstring m_compatVistaDiskActual;
    std::wstring m_compatVistaDiskRecommended;
    std::wstring m_compatVistaDiskRequired;
    std::wstring m_compatWinxpColor;
    std::wstring m_compatWinxpStatus;
    std::wstring m_compatWinxpCpuActual;
    std::wstring m_compatWinxpCpuRecommended;
    std::wstring m_compatWinxpCpuRequired;
    std::wstring m_compatWinxpRamActual;
    std::wstring m_compatWinxpRamRecommended;
    std::wstring m_compatWinxpRamRequired;
    std::wstring m_compatWinxpDiskActual;
    std::wstring m_compatWinxpDiskRecommended;
    std::wstring m_compatWinxpDiskRequired;
    std::wstring m_insufficientAccess;
    std::wstring m_falseChanges;
    std::wstring m_processorLogicalCount = kUnknownFigure;
    std::wstring m_platformFirmwareType = kUnknownFigure;
    std::wstring m_platformSecureBoot = kUnknownFigure;
    std::wstring m_platformVirtualization = kUnknownFigure;
    std::wstring m_platformInitSystem = kUnknownFigure;
    std::wstring m_tpmText = L"not present";
    std::wstring m_diskDriveNames = L"none detected";
    std::wstring m_usbDeviceNames = L"none detected";
    std::wstring m_compatWin10Color;
    std::wstring m_compatWin10Status;
    std::wstring m_compatWin10List;
    std::wstring m_compatWin11Color;
    std::wstring m_compatWin11Status;
    std::wstring m_compatWin11List;

  private:
    void BuildComponentNames();
    // The template's lines with every placeholder filled and CR LF line ends.
    std::string FillTemplate(std::string_view templateBytes) const;

    CCommonConfig& m_config;
    std::wstring m_templatePath;
    std::wstring m_outputPath;
    bool m_open = false;
    std::map<std::wstring, std::wstring> m_componentNames;
};

// Appends one query's change records to the filtered and the raw recent-changes lists.
void RenderRecentChanges(CInventoryReport& report, const std::vector<ChangeRecord>& records,
                         const std::wstring& queryName);
