#include "platform/linux/live/live_wmi.h"
#include "platform/linux/native.h"
#include "platform/linux/no_wmi.h"
#include "platform/memory_registry.h"
#include "platform/services.h"

namespace platform {

// Linux has no registry; the program's registry queries are answered from memory, which the
// system providers fill with what the host knows (installed packages, for example). WMI's
// classes are answered by the live providers.
const Services& NativeServices() {
    static MemoryRegistry registry;
    static posix::LinuxHost host;
    static posix::TerminalUi ui;
    static live::LiveWmi wmi;
    static posix::NoServiceManager serviceManager;
    static posix::QueuePoster progress;
    static const Services services{&registry, &host, &ui, &wmi, &serviceManager, &progress};
    return services;
}

}  // namespace platform
