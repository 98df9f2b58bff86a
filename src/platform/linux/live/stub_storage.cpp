// Placeholder until the providers of this group exist.
#include "platform/linux/live/classes.h"

namespace platform::live {

WmiObjectList LogicalDisks(const SystemRoot&) {
    return {};
}
WmiObjectList CdromDrives(const SystemRoot&) {
    return {};
}
WmiObjectList SoundDevices(const SystemRoot&) {
    return {};
}

}  // namespace platform::live
