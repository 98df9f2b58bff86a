#include "store/seed_catalogue.h"

#include <string_view>

namespace {

constexpr SeedName kQueryTypes[] = {
    {1, "Version"}, {2, "Wmi"}, {3, "RegistryKeys"}, {4, "RegistryValues"}, {5, "ServiceControl"},
};

constexpr SeedName kStatusTypes[] = {{1, "New"}, {2, "Last"}};

// Field names double as export names.
constexpr SeedQuery kQueries[] = {
    {1, 1, "*", "Version", 0, "FileVersionMajor,FileVersionMinor",
     "FileVersionMajor,FileVersionMinor,FileVersionRevision,DataVersionMajor,DataVersionMinor,"
     "DataVersionRevision,RunAsAdmin,ZephId"},
    {2, 2, "Select * from Win32_Process", "Process", 0, "Name,CommandLine",
     "Name,ExecutablePath,CommandLine"},
    {3, 2, "Select * from Win32_BIOS", "BIOS", 0, "Name",
     "Name,Version,Manufacturer,Description,IdentificationCode,SerialNumber"},
    {4, 2, "Select * from Win32_OperatingSystem", "OperatingSystem", 0, "Caption",
     "InstallDate,LastBootupTime,TotalVisibleMemorySize,FreePhysicalMemory,Caption,Version,"
     "BuildNumber,CsdVersion,WindowsDirectory,Description,OSArchitecture"},
    {5, 2, "Select * from Win32_ComputerSystem", "ComputerSystem", 0, "Manufacturer",
     "Manufacturer,Model,Name,Domain"},
    {6, 2, "Select * from Win32_MotherboardDevice", "MotherboardDevice", 0, "PrimaryBusType",
     "PrimaryBusType,SecondaryBusType"},
    {7, 2, "Select * from Win32_SoundDevice", "SoundDevice", 0, "Description", "Description"},
    {8, 2, "Select * from Win32_CDROMDrive", "CDROMDrive", 0, "Name", "Name"},
    {9, 2, "Select * from Win32_VideoController", "VideoController", 0, "Name", "Name"},
    {10, 2, "Select * from Win32_DesktopMonitor", "DesktopMonitor", 0, "Name,DeviceID",
     "Name,Description,DeviceID,MonitorManufacturer,MonitorType"},
    {11, 2, "Select * from Win32_Registry", "Registry", 0, "Caption",
     "Caption,CurrentSize,MaximumSize"},
    {12, 2, "Select * from Win32_LogicalDisk", "LogicalDisk", 0, "DeviceID",
     "DriveType,Size,FreeSpace,FileSystem,DeviceID,ProviderName"},
    {13, 2, "Select * from Win32_NetworkAdapterConfiguration Where IPEnabled=TRUE",
     "NetworkAdapterConfiguration", 0, "Description",
     "Description,MACAddress,IPAddress,DHCPEnabled"},
    {14, 2, "Select * from Win32_Printer", "Printer", 0, "Caption",
     "Caption,DeviceID,Name,ShareName,ServerName,DriverName"},
    {15, 2, "Select * from Win32_StartupCommand", "StartupCommand", 200, "Name,Command",
     "Name,Command"},
    {16, 2, "Select * from Win32_PhysicalMemory", "PhysicalMemory", 0, "Tag",
     "Tag,DeviceLocator,Capacity,Speed"},
    {17, 2, "Select * from Win32_PhysicalMemoryArray", "PhysicalMemoryArray", 0, "Tag",
     "Tag,MaxCapacity,MemoryDevices"},
    {18, 3, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
     "InstalledSoftware32", 0, "DisplayName,DisplayVersion,Publisher",
     "DisplayName,DisplayVersion,Publisher"},
    {19, 3, "64:HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
     "InstalledSoftware64", 0, "DisplayName,DisplayVersion,Publisher",
     "DisplayName,DisplayVersion,Publisher"},
    {20, 2, "Select * from Win32_UserAccount where Name = '@@user@@'", "UserAccount", 0, "Name",
     "Name,FullName,Domain"},
    {21, 2, "Select * from Win32_QuickFixEngineering Where Description != ''",
     "QuickFixEngineering", 0, "Description,HotFixId",
     "Description,Computer,HotFixId,InstallationDate,InstalledBy"},
    {22, 5, "*", "Services", 0, "DisplayName", "DisplayName,ServiceName"},
    {23, 2, "Select * from Win32_OptionalFeature Where InstallState = 1", "OptionalFeature", 0,
     "Name", "Name,Caption"},
    {24, 4,
     "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup\\OC "
     "Manager\\Subcomponents",
     "Subcomponents", 0, "Name", "Name,Value"},
    {25, 2, "Select * from Win32_ServerFeature", "ServerFeature", 0, "Name", "Name,ID,ParentID"},
    {26, 2, "Select * from Win32_Processor", "Processor", 0, "Name,DeviceID",
     "Name,NumberOfCores,DeviceID,MaxClockSpeed"},
};

// Only the rows of the update-like entries can change, so only they are visited: the same
// result as visiting every field row of every session, at a fraction of the cost.
#define FENNOCK_RENAME_FIELD(from, to)                                                           \
    "UPDATE session_item_field SET query_field_id = COALESCE( ( SELECT qf2.id FROM "             \
    "temp_session_item tsi, query q1, query_field qf1, query q2, query_field qf2 WHERE q1.id = " \
    "qf1.query_id AND tsi.id = session_item_field.session_item_id AND qf1.id = "                 \
    "session_item_field.query_field_id AND qf2.query_id = q2.id AND q1.name IN "                 \
    "('InstalledSoftware32','InstalledSoftware64') AND q2.name = 'QuickFixEngineering' AND "     \
    "qf1.name = '" from "' AND qf2.name = '" to                                                  \
    "' ), query_field_id) WHERE "                                                                \
    "session_item_id IN (SELECT id FROM temp_session_item);"

#define FENNOCK_EMPTY_HOTFIX_FIELD(field)                                                     \
    "INSERT INTO session_item_field (session_item_id, query_field_id, field) SELECT tsi.id, " \
    "qf.id, '' FROM temp_session_item tsi, query q, query_field qf WHERE q.id = qf.query_id " \
    "AND q.name = 'QuickFixEngineering' AND qf.name = '" field "';"

#define FENNOCK_DROP_PUBLISHER(scope)                                                       \
    "DELETE FROM session_item_field WHERE " scope                                           \
    "query_field_id IN ( SELECT qf.id FROM temp_session_item tsi, query q, query_field qf " \
    "WHERE q.id = qf.query_id AND tsi.id = session_item_field.session_item_id AND qf.id = " \
    "session_item_field.query_field_id AND q.name IN "                                      \
    "('InstalledSoftware32','InstalledSoftware64') AND qf.name = 'Publisher' );"

#define FENNOCK_MAKE_HOTFIXES(scope)                                                               \
    "UPDATE session_item SET query_id = COALESCE( ( SELECT q.id FROM temp_session_item tsi, "      \
    "query q WHERE tsi.id = session_item.id AND q.name = 'QuickFixEngineering'), query_id )" scope \
    ";"

#define FENNOCK_DROP_REPEATED_FIXES                                                            \
    "DELETE FROM session_item WHERE id IN ( SELECT session_item_id FROM v_session_item_field " \
    "WHERE session_id = @@session_id@@ AND query_name IN "                                     \
    "('InstalledSoftware32','InstalledSoftware64') AND query_field_name = 'DisplayName' AND "  \
    "session_item_field_value IN ( SELECT session_item_field_value FROM v_session_item_field " \
    "WHERE session_id = @@session_id@@ AND query_name = 'QuickFixEngineering'));"

#define FENNOCK_FIND_UPDATE_LIKE(condition)                                                     \
    "INSERT INTO temp_session_item (id) SELECT DISTINCT si.id FROM session_item si INNER JOIN " \
    "query q ON q.id = si.query_id WHERE si.session_id = @@session_id@@ AND q.name IN "         \
    "('InstalledSoftware32','InstalledSoftware64') AND " condition ";"
#define FENNOCK_KB_NUMBER \
    "si.key_value GLOB "  \
    "'*[Kk][Bb][0123456789][0123456789][0123456789][0123456789][0123456789]*'"
#define FENNOCK_UPDATE_WORD "(si.key_value LIKE '%update%' OR si.key_value LIKE '%hotfix%')"

// Update-like software entries become hot fixes; software entries that repeat a reported hot
// fix go.
constexpr SeedStatement kPostProcess[] = {
    {1, 10, "DROP TABLE IF EXISTS [temp_session_item];"},
    {2, 20, "CREATE TEMPORARY TABLE [temp_session_item] ( [id] INTEGER NOT NULL PRIMARY KEY);"},
    {3, 30, FENNOCK_DROP_REPEATED_FIXES},
    {4, 40,
     "DELETE FROM session_item_field WHERE session_item_id not IN (SELECT id FROM "
     "session_item);"},
    {5, 50, FENNOCK_FIND_UPDATE_LIKE(FENNOCK_KB_NUMBER " AND " FENNOCK_UPDATE_WORD)},
    {6, 60, FENNOCK_RENAME_FIELD("DisplayName", "Description")},
    {7, 70, FENNOCK_RENAME_FIELD("DisplayVersion", "HotFixId")},
    {8, 80, FENNOCK_DROP_PUBLISHER("")},
    {9, 90, FENNOCK_EMPTY_HOTFIX_FIELD("Computer")},
    {10, 100, FENNOCK_EMPTY_HOTFIX_FIELD("InstallationDate")},
    {11, 110, FENNOCK_EMPTY_HOTFIX_FIELD("InstalledBy")},
    {12, 120, FENNOCK_MAKE_HOTFIXES("")},
};

// Statements 8 and 12 stay as they were seeded, which makes SQLite visit every field row (a
// list worked out again for each) and rewrite every item of the file. Only the rows of the
// update-like entries can change, so the same effect comes from visiting only them.
// Statement 3, as seeded, walks every field of the session's programs to compare it with the
// hot fixes; its equivalent starts from the hot fixes' values and finds the fields equal to
// them through the index on the field, in the order CROSS JOIN keeps (nothing at all where
// there are no hot fixes). Statement 5 tests the cheap words before the costly pattern.
constexpr SeedEquivalent kScopedEquivalents[] = {
    {FENNOCK_DROP_REPEATED_FIXES,
     "DELETE FROM session_item WHERE id IN ( SELECT sif.session_item_id FROM ( SELECT DISTINCT "
     "fsif.field AS value FROM query fq CROSS JOIN session_item fsi ON fsi.query_id = fq.id "
     "CROSS JOIN session_item_field fsif ON fsif.session_item_id = fsi.id CROSS JOIN "
     "query_field fqf ON fqf.id = fsif.query_field_id AND fqf.query_id = fq.id WHERE fq.name = "
     "'QuickFixEngineering' AND +fsi.session_id = @@session_id@@ ) fix CROSS JOIN "
     "session_item_field sif ON sif.field = fix.value CROSS JOIN session_item si ON si.id = "
     "sif.session_item_id CROSS JOIN query q ON q.id = si.query_id CROSS JOIN query_field qf ON "
     "qf.id = sif.query_field_id AND qf.query_id = q.id WHERE si.session_id = @@session_id@@ AND "
     "q.name IN ('InstalledSoftware32','InstalledSoftware64') AND qf.name = 'DisplayName' );"},
    {FENNOCK_FIND_UPDATE_LIKE(FENNOCK_KB_NUMBER " AND " FENNOCK_UPDATE_WORD),
     FENNOCK_FIND_UPDATE_LIKE(FENNOCK_UPDATE_WORD " AND " FENNOCK_KB_NUMBER)},
    {FENNOCK_DROP_PUBLISHER(""),
     FENNOCK_DROP_PUBLISHER("session_item_id IN (SELECT id FROM temp_session_item) AND ")},
    {FENNOCK_MAKE_HOTFIXES(""),
     FENNOCK_MAKE_HOTFIXES(" WHERE id IN (SELECT id FROM temp_session_item)")},
};

#undef FENNOCK_RENAME_FIELD
#undef FENNOCK_EMPTY_HOTFIX_FIELD
#undef FENNOCK_DROP_PUBLISHER
#undef FENNOCK_MAKE_HOTFIXES
#undef FENNOCK_DROP_REPEATED_FIXES
#undef FENNOCK_FIND_UPDATE_LIKE
#undef FENNOCK_KB_NUMBER
#undef FENNOCK_UPDATE_WORD

// Build 17: what a Linux user needs to see (devices, platform facts, network and service
// state), answered by the Windows classes where Windows has them.
constexpr SeedName kBuild17QueryTypes[] = {{6, "Platform"}};
constexpr SeedQuery kBuild17Queries[] = {
    {27, 2, "Select * from Win32_DiskDrive", "DiskDrive", 0, "DeviceID",
     "DeviceID,Model,Size,InterfaceType,MediaType"},
    {28, 2, "Select * from Win32_PnPEntity Where DeviceID Like 'USB%'", "USBDevice", 0, "DeviceID",
     "Name,DeviceID,Manufacturer"},
    {29, 6, "*", "Platform", 0, "OSFamily",
     "OSFamily,FirmwareType,SecureBoot,Virtualization,InitSystem"},
    {30, 2, "ROOT\\CIMV2\\Security\\MicrosoftTpm:Select * from Win32_Tpm", "Tpm", 0, "SpecVersion",
     "SpecVersion,IsEnabled_InitialValue,IsActivated_InitialValue,ManufacturerVersion"},
};
constexpr SeedFields kBuild17Fields[] = {
    // What df counts as used; Windows has no such figure, and there Size - FreeSpace is it.
    {12, "UsedSpace"},
    {13, "DefaultIPGateway,IPSubnet,DNSServerSearchOrder"},
    // Where a program came from where more than one package system installs them.
    {18, "PackageSource"},
    {19, "PackageSource"},
    {22, "State,StartMode"},
    {26, "NumberOfLogicalProcessors"},
};

// Build 18: what deciding Windows 11 readiness needs (the processor's maker, family, model
// and stepping, its width, the system drive), graphics memory, and programs installed for one
// user only.
constexpr SeedQuery kBuild18Queries[] = {
    {31, 3, "HKEY_USERS\\*\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
     "InstalledSoftwareUser", 0, "DisplayName,DisplayVersion,Publisher,UserName",
     "DisplayName,DisplayVersion,Publisher,UserName"},
};
constexpr SeedFields kBuild18Fields[] = {
    {4, "SystemDrive"},
    {9, "AdapterRAM"},
    {26, "Manufacturer,Caption,Architecture,DataWidth"},
    // "Yes", "No", or empty when the TPM's namespace could not be asked: without it a missing
    // TPM item cannot tell no TPM from no answer.
    {29, "TpmPresent"},
};

constexpr CatalogueStep kSteps[] = {
    {17, kBuild17QueryTypes, kBuild17Queries, kBuild17Fields},
    {18, {}, kBuild18Queries, kBuild18Fields},
};

void AppendFields(std::vector<std::pair<int, std::string>>& out, int queryId, const char* fields) {
    const std::string_view list = fields;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string_view::npos)
            comma = list.size();
        out.emplace_back(queryId, std::string(list.substr(start, comma - start)));
        start = comma + 1;
    }
}

}  // namespace

std::span<const SeedName> SeedQueryTypes() {
    return kQueryTypes;
}
std::span<const SeedName> SeedStatusTypes() {
    return kStatusTypes;
}
std::span<const SeedQuery> SeedQueries() {
    return kQueries;
}
std::span<const SeedStatement> SeedPostProcess() {
    return kPostProcess;
}
std::span<const SeedEquivalent> SeedScopedEquivalents() {
    return kScopedEquivalents;
}
std::span<const CatalogueStep> CatalogueSteps() {
    return kSteps;
}

std::vector<std::pair<int, std::string>> CatalogueFields(int build) {
    std::vector<std::pair<int, std::string>> fields;
    for (const auto& q : kQueries)
        AppendFields(fields, q.id, q.fields);
    for (const auto& step : kSteps) {
        if (step.build > build)
            break;
        for (const auto& f : step.fields)
            AppendFields(fields, f.queryId, f.fields);
        for (const auto& q : step.queries)
            AppendFields(fields, q.id, q.fields);
    }
    return fields;
}
