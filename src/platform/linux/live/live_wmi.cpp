#include "platform/linux/live/live_wmi.h"

#include "platform/linux/live/classes.h"
#include "platform/linux/live/system_calls.h"
#include "platform/wql.h"

namespace platform::live {
namespace {

std::map<std::wstring, ClassProvider> CatalogueClasses() {
    return {
        {L"Win32_Process", Processes},
        {L"Win32_OperatingSystem", OperatingSystems},
        {L"Win32_ComputerSystem", ComputerSystems},
        {L"Win32_UserAccount", UserAccounts},
        // Named apart from the reader of one user's commands it shares its name with.
        {L"Win32_StartupCommand", [](const SystemRoot& root) { return StartupCommands(root); }},
        {L"Win32_BIOS", Bioses},
        {L"Win32_MotherboardDevice", MotherboardDevices},
        {L"Win32_PhysicalMemory", PhysicalMemories},
        {L"Win32_PhysicalMemoryArray", PhysicalMemoryArrays},
        {L"Win32_Processor", Processors},
        {L"Win32_LogicalDisk", LogicalDisks},
        {L"Win32_NetworkAdapterConfiguration", NetworkAdapterConfigurations},
        {L"Win32_CDROMDrive", CdromDrives},
        {L"Win32_SoundDevice", SoundDevices},
        {L"Win32_VideoController", VideoControllers},
        {L"Win32_DesktopMonitor", DesktopMonitors},
        {L"Win32_Printer", Printers},
        {L"Win32_DiskDrive", DiskDrives},
        {L"Win32_PnPEntity", UsbDevices},
        {L"ROOT\\CIMV2\\Security\\MicrosoftTpm:Win32_Tpm", Tpms},
    };
}

}  // namespace

LiveWmi::LiveWmi(SystemRoot root) : LiveWmi(std::move(root), CatalogueClasses()) {}

LiveWmi::LiveWmi(SystemRoot root, std::map<std::wstring, ClassProvider> providers)
    : root_(std::move(root)) {
    for (auto& [name, provider] : providers)
        providers_[WqlFold(name)] = std::move(provider);
}

int LiveWmi::Connect() {
    root_.Calls().BeginPrintDestinations();
    return ObjectTableWmi::Connect();
}

std::shared_ptr<const WmiObjectList> LiveWmi::ObjectsOf(const std::wstring& classKey) {
    const auto found = providers_.find(classKey);
    if (found == providers_.end())
        return nullptr;
    return std::make_shared<const WmiObjectList>(found->second(root_));
}

}  // namespace platform::live
