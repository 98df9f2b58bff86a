// Win32_MotherboardDevice from the buses the kernel found. Windows names the PCI bus primary
// and an ISA bus (today an LPC bridge presenting itself as PCI-to-ISA) secondary; PCI Express
// is reported as "PCI" as Windows does, so machines compare alike.
#include <cstdint>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/firmware/firmware_text.h"

namespace platform::live {

WmiObjectList MotherboardDevices(const SystemRoot& root) {
    const auto devices = root.ListFolder("/sys/bus/pci/devices");
    if (devices.empty())
        return {};
    constexpr std::uint32_t kIsaBridge = 0x0601;  // class 06 (bridge), subclass 01
    bool isa = false;
    for (const auto& device : devices)
        if (const auto line = root.ReadLine("/sys/bus/pci/devices/" + device + "/class"))
            if (const auto code = firmware::ParsePaddedNumber<std::uint32_t>(*line))
                isa = isa || (*code >> 8) == kIsaBridge;
    WmiObject board;
    board.Set(L"PrimaryBusType", Text("PCI"));
    board.Set(L"SecondaryBusType", isa ? Text("ISA") : WmiValue::Null());
    return {board};
}

}  // namespace platform::live
