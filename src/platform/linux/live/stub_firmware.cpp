// Placeholder until the providers of this group exist.
#include "platform/linux/live/classes.h"

namespace platform::live {

WmiObjectList ComputerSystems(const SystemRoot&) {
    return {};
}
WmiObjectList Bioses(const SystemRoot&) {
    return {};
}
WmiObjectList MotherboardDevices(const SystemRoot&) {
    return {};
}
WmiObjectList PhysicalMemories(const SystemRoot&) {
    return {};
}
WmiObjectList PhysicalMemoryArrays(const SystemRoot&) {
    return {};
}
WmiObjectList Processors(const SystemRoot&) {
    return {};
}

}  // namespace platform::live
