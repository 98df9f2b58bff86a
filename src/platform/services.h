#pragma once
// The process-wide table of the operating-system services the core calls. The entry point
// runs with the native implementations; a described machine (or a test) installs its own
// for the lifetime of a ServicesScope. Slots left null in a scope keep the current ones.
#include "platform/host.h"
#include "platform/platform_facts.h"
#include "platform/progress.h"
#include "platform/registry.h"
#include "platform/service_list.h"
#include "platform/system_commands.h"
#include "platform/ui.h"
#include "platform/wmi.h"

namespace platform {

struct Services {
    Registry* registry = nullptr;
    Host* host = nullptr;
    Ui* ui = nullptr;
    Wmi* wmi = nullptr;
    ServiceManager* serviceManager = nullptr;
    ProgressPoster* progress = nullptr;
    SystemCommands* commands = nullptr;
    PlatformInfo* platformInfo = nullptr;
};

// The native implementations of this build.
const Services& NativeServices();
// What the core uses now.
const Services& CurrentServices();

inline Registry& GetRegistry() {
    return *CurrentServices().registry;
}
inline Host& GetHost() {
    return *CurrentServices().host;
}
inline Ui& GetUi() {
    return *CurrentServices().ui;
}
inline Wmi& GetWmi() {
    return *CurrentServices().wmi;
}
inline ServiceManager& GetServiceManager() {
    return *CurrentServices().serviceManager;
}
inline ProgressPoster& GetProgressPoster() {
    return *CurrentServices().progress;
}
inline SystemCommands& GetSystemCommands() {
    return *CurrentServices().commands;
}
inline PlatformInfo& GetPlatformInfo() {
    return *CurrentServices().platformInfo;
}

class ServicesScope {
  public:
    explicit ServicesScope(const Services& replacement);
    ~ServicesScope();
    ServicesScope(const ServicesScope&) = delete;
    ServicesScope& operator=(const ServicesScope&) = delete;

  private:
    Services previous_;
};

}  // namespace platform
