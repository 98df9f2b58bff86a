// Win32_SoundDevice: one device per ALSA sound card.
#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/storage/sound_cards.h"

namespace platform::live {

WmiObjectList SoundDevices(const SystemRoot& root) {
    WmiObjectList devices;
    const auto text = root.ReadFile("/proc/asound/cards", 1u << 20);
    if (!text)
        return devices;
    for (const SoundCard& card : ParseSoundCards(*text)) {
        // The short name reads like the device's name; the long one adds bus addresses and
        // interrupts, which change with the slot and would show as changes.
        const std::string& name = !card.name.empty() ? card.name
                                  : !card.id.empty() ? card.id
                                                     : card.longName;
        if (name.empty())
            continue;
        WmiObject device;
        device.Set(L"Description", Text(name));
        device.Set(L"Name", Text(name));
        device.Set(L"Caption", Text(name));
        device.Set(L"ProductName", Text(name));
        device.Set(L"DeviceID", Text("card" + card.index));
        device.Set(L"Manufacturer", WmiValue::Null());
        devices.push_back(std::move(device));
    }
    return devices;
}

}  // namespace platform::live
