#include "platform/services.h"
#include "platform/windows/native.h"

namespace platform {

const Services& NativeServices() {
    static win::Win32Registry registry;
    static win::Win32Host host;
    static win::Win32Ui ui;
    static win::Win32Wmi wmi;
    static win::Win32ServiceManager serviceManager;
    static win::WindowPoster progress;
    static win::Win32SystemCommands commands;
    static win::Win32PlatformInfo platformInfo(registry);
    static const Services services{&registry,       &host,     &ui,       &wmi,
                                   &serviceManager, &progress, &commands, &platformInfo};
    return services;
}

}  // namespace platform
