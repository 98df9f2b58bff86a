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
    const auto take = [&](auto... slots) {
        ((table.*slots = replacement.*slots ? replacement.*slots : table.*slots), ...);
    };
    take(&Services::registry, &Services::host, &Services::ui, &Services::wmi,
         &Services::serviceManager, &Services::progress, &Services::commands,
         &Services::platformInfo);
}

ServicesScope::~ServicesScope() {
    Table() = previous_;
}

}  // namespace platform
