// Placeholder until the providers of this group exist.
#include "platform/linux/live/classes.h"

namespace platform::live {

WmiObjectList NetworkAdapterConfigurations(const SystemRoot&) {
    return {};
}
WmiObjectList VideoControllers(const SystemRoot&) {
    return {};
}
WmiObjectList DesktopMonitors(const SystemRoot&) {
    return {};
}
WmiObjectList Printers(const SystemRoot&) {
    return {};
}

}  // namespace platform::live
