#include "platform/services.h"

namespace platform {
namespace {

Services& Table() {
    static Services current = NativeServices();
    return current;
}

}  // namespace

const Services& CurrentServices() {
    return Table();
}

ServicesScope::ServicesScope(const Services& replacement) : previous_(Table()) {
    Services& table = Table();
    if (replacement.registry)
        table.registry = replacement.registry;
    if (replacement.host)
        table.host = replacement.host;
    if (replacement.ui)
        table.ui = replacement.ui;
    if (replacement.wmi)
        table.wmi = replacement.wmi;
    if (replacement.serviceManager)
        table.serviceManager = replacement.serviceManager;
    if (replacement.progress)
        table.progress = replacement.progress;
    if (replacement.commands)
        table.commands = replacement.commands;
    if (replacement.platformInfo)
        table.platformInfo = replacement.platformInfo;
}

ServicesScope::~ServicesScope() {
    Table() = previous_;
}

}  // namespace platform
