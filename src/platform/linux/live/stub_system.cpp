// Placeholder until the providers of this group exist.
#include "platform/linux/live/classes.h"

namespace platform::live {

WmiObjectList Processes(const SystemRoot&) {
    return {};
}
WmiObjectList OperatingSystems(const SystemRoot&) {
    return {};
}
WmiObjectList UserAccounts(const SystemRoot&) {
    return {};
}
WmiObjectList StartupCommands(const SystemRoot&) {
    return {};
}

}  // namespace platform::live
