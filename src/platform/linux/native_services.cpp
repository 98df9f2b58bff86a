#include "platform/linux/live/firmware/platform_facts.h"
#include "platform/linux/live/live_wmi.h"
#include "platform/linux/live/packages/linux_services.h"
#include "platform/linux/live/packages/machine_bits.h"
#include "platform/linux/live/packages/package_registry.h"
#include "platform/linux/native.h"
#include "platform/services.h"

namespace platform {

// Linux has no registry; the program's registry queries are answered from memory, where the
// installed packages stand as installed programs. WMI's classes, and the service list, are
// answered by the live providers.
const Services& NativeServices() {
    static live::PackageRegistry registry(live::SystemRoot(), live::RunsOn64BitMachine());
    static posix::LinuxHost host;
    static posix::TerminalUi ui;
    static live::LiveWmi wmi;
    static live::LinuxServiceManager serviceManager;
    static posix::QueuePoster progress;
    static posix::NoWindowsCommands commands;
    static live::LivePlatformInfo platformInfo;
    static const Services services{&registry,       &host,     &ui,       &wmi,
                                   &serviceManager, &progress, &commands, &platformInfo};
    return services;
}

}  // namespace platform
