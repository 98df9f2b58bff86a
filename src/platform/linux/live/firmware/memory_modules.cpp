#include "platform/linux/live/firmware/memory_modules.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/firmware/firmware_text.h"

namespace platform::live {
namespace firmware {
namespace {

constexpr std::uint8_t kMemoryArray = 16, kMemoryDevice = 17;
constexpr std::uint64_t kMiB = 1024 * 1024;

// Type 17 Size: 0 no module, 0xFFFF unknown, 0x7FFF "see Extended Size" (MiB in bits 0-30);
// otherwise bit 15 set counts KiB, clear counts MiB.
struct ModuleSize {
    bool populated = false;
    std::optional<std::uint64_t> bytes;
};

ModuleSize SizeOf(const SmbiosStructure& device) {
    const auto size = device.Word(0x0C);
    if (!size || *size == 0)
        return {};
    ModuleSize result{true, std::nullopt};
    if (*size == 0xFFFF)
        return result;
    if (*size == 0x7FFF) {
        if (const auto extended = device.Dword(0x1C); extended && (*extended & 0x7FFFFFFF) != 0)
            result.bytes = (*extended & 0x7FFFFFFFull) * kMiB;
        return result;
    }
    result.bytes = (*size & 0x8000) ? (*size & 0x7FFFull) * 1024 : *size * kMiB;
    return result;
}

// MT/s; 0 unknown, 0xFFFF "see Extended Speed" (bits 0-30).
std::optional<std::uint32_t> SpeedOf(const SmbiosStructure& device) {
    auto speed = device.Word(0x15);
    if (!speed || *speed == 0)
        return std::nullopt;
    if (*speed != 0xFFFF)
        return *speed;
    const auto extended = device.Dword(0x54);
    if (!extended || (*extended & 0x7FFFFFFF) == 0)
        return std::nullopt;
    return *extended & 0x7FFFFFFF;
}

// Maximum Capacity in KiB; 0x80000000 means "see Extended Maximum Capacity" (bytes).
std::optional<std::uint64_t> MaxCapacityKiB(const SmbiosStructure& array) {
    const auto capacity = array.Dword(0x07);
    if (!capacity)
        return std::nullopt;
    if (*capacity != 0x80000000u)
        return *capacity;
    const auto extended = array.Qword(0x0F);
    if (!extended || *extended == 0)
        return std::nullopt;
    return *extended / 1024;
}

WmiValue UInt32OrNull(std::optional<std::uint32_t> value) {
    return value ? UInt32(*value) : WmiValue::Null();
}

}  // namespace

WmiObjectList MemoryModuleObjects(const std::vector<SmbiosStructure>& table) {
    WmiObjectList modules;
    for (const auto* device : OfType(table, kMemoryDevice)) {
        const ModuleSize size = SizeOf(*device);
        if (!size.populated)
            continue;
        WmiObject module;
        module.Set(L"Tag", Text("Physical Memory " + std::to_string(modules.size())));
        module.Set(L"DeviceLocator", TextOrNull(device->String(0x10)));
        module.Set(L"Capacity",
                   OrNull(size.bytes, [](std::uint64_t bytes) { return UInt64Text(bytes); }));
        module.Set(L"Speed", UInt32OrNull(SpeedOf(*device)));
        module.Set(L"BankLabel", TextOrNull(device->String(0x11)));
        module.Set(L"Manufacturer", TextOrNull(device->String(0x17)));
        module.Set(L"SerialNumber", TextOrNull(device->String(0x18)));
        module.Set(L"PartNumber", TextOrNull(device->String(0x1A)));
        modules.push_back(std::move(module));
    }
    return modules;
}

// MaxCapacity is a 32-bit count of KiB, as Windows gives it: a capacity beyond 4 TiB does not
// fit, so it is null there rather than clamped, and MaxCapacityEx carries the whole value.
WmiObjectList MemoryArrayObjects(const std::vector<SmbiosStructure>& table) {
    WmiObjectList arrays;
    for (const auto* array : OfType(table, kMemoryArray)) {
        const auto capacity = MaxCapacityKiB(*array);
        std::optional<std::uint32_t> fitting;
        if (capacity && *capacity <= std::numeric_limits<std::uint32_t>::max())
            fitting = static_cast<std::uint32_t>(*capacity);
        const auto slots = array->Word(0x0D);
        WmiObject object;
        object.Set(L"Tag", Text("Physical Memory Array " + std::to_string(arrays.size())));
        object.Set(L"MaxCapacity", UInt32OrNull(fitting));
        object.Set(L"MaxCapacityEx",
                   OrNull(capacity, [](std::uint64_t kib) { return UInt64Text(kib); }));
        object.Set(L"MemoryDevices", slots ? UInt32(*slots) : WmiValue::Null());
        arrays.push_back(std::move(object));
    }
    return arrays;
}

}  // namespace firmware

WmiObjectList PhysicalMemories(const SystemRoot& root) {
    return firmware::MemoryModuleObjects(firmware::ReadSmbiosTable(root));
}

WmiObjectList PhysicalMemoryArrays(const SystemRoot& root) {
    return firmware::MemoryArrayObjects(firmware::ReadSmbiosTable(root));
}

}  // namespace platform::live
