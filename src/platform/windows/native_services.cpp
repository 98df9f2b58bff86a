#include "platform/services.h"
#include "platform/windows/native.h"

namespace platform {

const Services& NativeServices() {
    static win::Win32Registry registry;
    static win::Win32Host host;
    static win::Win32Ui ui;
    static const Services services{&registry, &host, &ui};
    return services;
}

}  // namespace platform
