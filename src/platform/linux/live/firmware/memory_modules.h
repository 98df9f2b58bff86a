#pragma once
// Win32_PhysicalMemory and Win32_PhysicalMemoryArray from the SMBIOS Memory Device (type 17)
// and Physical Memory Array (type 16) structures: the only source that knows the modules.
#include <vector>

#include "platform/linux/live/firmware/smbios.h"
#include "platform/wmi_objects.h"

namespace platform::live::firmware {

// One object per populated memory device, tagged "Physical Memory N" with N counting the
// populated devices from 0.
WmiObjectList MemoryModuleObjects(const std::vector<SmbiosStructure>& table);
// One object per memory array, tagged "Physical Memory Array N".
WmiObjectList MemoryArrayObjects(const std::vector<SmbiosStructure>& table);

}  // namespace platform::live::firmware
