#include "platform/linux/live/packages/linux_services.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <set>

#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/packages/sysv_scripts.h"
#include "platform/linux/live/packages/unit_files.h"
#include "platform/linux/live/system_calls.h"
#include "util/text.h"
#include "util/utf.h"

namespace platform::live {
namespace {

constexpr std::string_view kServiceSuffix = ".service";

std::string WithoutServiceSuffix(const std::string& name) {
    if (name.size() > kServiceSuffix.size() &&
        name.compare(name.size() - kServiceSuffix.size(), kServiceSuffix.size(), kServiceSuffix) ==
            0)
        return name.substr(0, name.size() - kServiceSuffix.size());
    return name;
}

// The pid file names a process that is there now. A stale file naming a pid reused by
// another process reads as running: without the manager nothing tells them apart.
bool NamesLiveProcess(const SystemRoot& root, const std::string& pidFile) {
    if (pidFile.empty() || pidFile.front() != '/')
        return false;
    const auto line = root.ReadLine(pidFile);
    if (!line)
        return false;
    const auto pid = ParseUnsigned<int>(TrimBlanks(*line));
    if (!pid || *pid <= 0)
        return false;
    return root.Exists("/proc/" + std::to_string(*pid));
}

UnitState StateFromPidFiles(const SystemRoot& root, const std::vector<std::string>& pidFiles) {
    UnitState state;
    for (const auto& file : pidFiles)
        if (NamesLiveProcess(root, file)) {
            state.activeState = "active";
            break;
        }
    return state;
}

// systemd's answer for a unit file, runtime and user links aside. A unit without [Install]
// rules is static even when linked: the links that pull it in ship with it (sysinit.target.wants
// of /lib), nobody enabled it.
std::string UnitFileState(const UnitFile& unit) {
    if (unit.text.installRules)
        return unit.enabled ? "enabled" : "disabled";
    return unit.text.installAlso ? "indirect" : "static";
}

// Enabled when a runlevel folder holds its start link ("S02cron").
std::string InitScriptState(const SystemRoot& root, const std::string& name) {
    for (const char* folder :
         {"/etc/rc2.d", "/etc/rc3.d", "/etc/rc4.d", "/etc/rc5.d", "/etc/rcS.d"})
        for (const std::string& link : root.ListFolder(folder)) {
            const std::size_t start = link.find_first_not_of("0123456789", 1);
            if (link.size() > 1 && link[0] == 'S' && start > 1 && start != std::string::npos &&
                link.compare(start, std::string::npos, name) == 0)
                return "enabled";
        }
    return "disabled";
}

}  // namespace

std::vector<LinuxService> ServicesFromFiles(const SystemRoot& root) {
    std::map<std::string, InitScript> scripts;
    for (auto& script : ReadInitScripts(root))
        scripts.emplace(script.name, std::move(script));

    std::vector<LinuxService> services;
    std::set<std::string> covered;
    for (const auto& unit : ReadUnitFiles(root)) {
        const std::string name = WithoutServiceSuffix(unit.name);
        covered.insert(name);
        if (unit.masked || unit.alias)
            continue;
        // Started by its init script, the service leaves the script's pid file.
        std::vector<std::string> pidFiles = {unit.text.pidFile};
        if (auto script = scripts.find(name); script != scripts.end())
            pidFiles.push_back(script->second.text.pidFile);
        pidFiles.push_back("/run/" + name + ".pid");
        services.push_back({unit.name, unit.text.description, StateFromPidFiles(root, pidFiles),
                            UnitFileState(unit)});
    }
    for (const auto& [name, script] : scripts) {
        if (covered.count(name))
            continue;
        const InitScriptText& text = script.text;
        services.push_back({name,
                            !text.shortDescription.empty() ? text.shortDescription : text.provides,
                            StateFromPidFiles(root, {text.pidFile, "/run/" + name + ".pid"}),
                            InitScriptState(root, name)});
    }
    return services;
}

std::vector<ServiceEntry> ServiceEntries(const std::vector<LinuxService>& services) {
    std::vector<ServiceEntry> entries;
    std::map<std::wstring, int> displayNames;  // letter case folded
    for (const auto& service : services) {
        ServiceEntry entry;
        entry.serviceName = Utf8ToWide(WithoutServiceSuffix(service.name));
        entry.displayName = ::Trim(Utf8ToWide(service.description), kBlankChars);
        if (entry.displayName.empty())
            entry.displayName = entry.serviceName;
        StatusNumbers(service.state, entry.status);
        entry.state = Utf8ToWide(service.state.activeState);
        entry.startMode = Utf8ToWide(service.unitFileState);
        ++displayNames[ToLower(entry.displayName)];
        entries.push_back(std::move(entry));
    }
    for (auto& entry : entries)
        if (displayNames[ToLower(entry.displayName)] > 1)
            entry.displayName += L" (" + entry.serviceName + L")";
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        const std::wstring left = ToLower(a.serviceName), right = ToLower(b.serviceName);
        return left != right ? left < right : a.serviceName < b.serviceName;
    });
    return entries;
}

long Win32Error(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return kErrorAccessDenied;
        case ENOMEM:
            return kErrorNotEnoughMemory;
        case ETIMEDOUT:
            return kErrorTimeout;
        default:
            return kErrorManagerUnavailable;
    }
}

LinuxServiceManager::LinuxServiceManager(SystemRoot root) : root_(std::move(root)) {}

ServiceListing LinuxServiceManager::ListServices() {
    ServiceListing listing;
    if (root_.Exists("/run/systemd/system")) {
        if (auto systemd = root_.Calls().RunningServices(root_)) {
            if (systemd->failure != SystemdServices::Failure::None)
                listing.error = Win32Error(systemd->error);
            if (systemd->failure == SystemdServices::Failure::Connect)
                listing.failure = ServiceListing::Failure::Open;
            else if (systemd->failure == SystemdServices::Failure::List)
                listing.failure = ServiceListing::Failure::List;
            listing.services = ServiceEntries(systemd->services);
            return listing;
        }
    }
    listing.services = ServiceEntries(ServicesFromFiles(root_));
    return listing;
}

std::wstring LinuxServiceManager::SystemMessage(long error) {
    static const std::map<long, std::wstring> kMessages = {
        {0, L"The operation completed successfully."},
        {kErrorAccessDenied, L"Access is denied."},
        {kErrorNotEnoughMemory,
         L"Not enough memory resources are available to process this command."},
        {kServiceSpecificError, L"The service has returned a service-specific error code."},
        {kErrorTimeout, L"This operation returned because the timeout period expired."},
        {kErrorManagerUnavailable, L"The RPC server is unavailable."},
    };
    const auto found = kMessages.find(error);
    return found == kMessages.end() ? std::wstring() : found->second;
}

}  // namespace platform::live
