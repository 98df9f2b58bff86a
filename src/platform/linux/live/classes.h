#pragma once
// The WMI classes of the catalogue as the live Linux system answers them: one function per
// class, building every object of the class from the system under `root`. Each object
// carries every property the catalogue reads, null where the fact is not known.
#include "platform/linux/live/common/system_root.h"
#include "platform/wmi_objects.h"

namespace platform::live {

WmiObjectList Processes(const SystemRoot& root);             // Win32_Process
WmiObjectList OperatingSystems(const SystemRoot& root);      // Win32_OperatingSystem
WmiObjectList ComputerSystems(const SystemRoot& root);       // Win32_ComputerSystem
WmiObjectList UserAccounts(const SystemRoot& root);          // Win32_UserAccount
WmiObjectList StartupCommands(const SystemRoot& root);       // Win32_StartupCommand
WmiObjectList Bioses(const SystemRoot& root);                // Win32_BIOS
WmiObjectList MotherboardDevices(const SystemRoot& root);    // Win32_MotherboardDevice
WmiObjectList PhysicalMemories(const SystemRoot& root);      // Win32_PhysicalMemory
WmiObjectList PhysicalMemoryArrays(const SystemRoot& root);  // Win32_PhysicalMemoryArray
WmiObjectList Processors(const SystemRoot& root);            // Win32_Processor
WmiObjectList LogicalDisks(const SystemRoot& root);          // Win32_LogicalDisk
WmiObjectList NetworkAdapterConfigurations(
    const SystemRoot& root);                             // ..._NetworkAdapterConfiguration
WmiObjectList CdromDrives(const SystemRoot& root);       // Win32_CDROMDrive
WmiObjectList SoundDevices(const SystemRoot& root);      // Win32_SoundDevice
WmiObjectList VideoControllers(const SystemRoot& root);  // Win32_VideoController
WmiObjectList DesktopMonitors(const SystemRoot& root);   // Win32_DesktopMonitor
WmiObjectList Printers(const SystemRoot& root);          // Win32_Printer
WmiObjectList DiskDrives(const SystemRoot& root);        // Win32_DiskDrive
WmiObjectList UsbDevices(const SystemRoot& root);        // Win32_PnPEntity, USB devices only
WmiObjectList Tpms(const SystemRoot& root);  // Win32_Tpm (ROOT\CIMV2\Security\MicrosoftTpm)

}  // namespace platform::live
