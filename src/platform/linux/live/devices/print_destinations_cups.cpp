// The destinations of the CUPS scheduler this machine is set up to use. The connection is
// made here rather than by the library's default one so that every wait has an end: three
// seconds to connect, two for each answer (a scheduler that accepts and never answers costs
// about six, the library reconnecting once); without a scheduler the connection fails at once.
#include <cups/cups.h>

#include <memory>

#include "platform/linux/live/devices/printers.h"

namespace platform::live {
namespace {

constexpr int kConnectMilliseconds = 3000;
constexpr double kAnswerSeconds = 2.0;

int GiveUp(http_t*, void*) {
    return 0;
}

// The library's own callback asks on the terminal, which would stop a silent run.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*) {
    return nullptr;
}

struct FreeDestinations {
    int count;
    void operator()(cups_dest_t* destinations) const { cupsFreeDests(count, destinations); }
};

}  // namespace

std::vector<PrinterDestination> PrintDestinations() {
    cupsSetPasswordCB2(NoPassword, nullptr);
    const std::unique_ptr<http_t, decltype(&httpClose)> http(
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                     kConnectMilliseconds, nullptr),
        httpClose);
    if (!http)
        return {};
    httpSetTimeout(http.get(), kAnswerSeconds, GiveUp, nullptr);
    cups_dest_t* list = nullptr;
    const int count = cupsGetDests2(http.get(), &list);
    const std::unique_ptr<cups_dest_t, FreeDestinations> owner(list, FreeDestinations{count});
    std::vector<PrinterDestination> destinations;
    for (int i = 0; list && i < count; ++i) {
        const cups_dest_t& dest = list[i];
        PrinterDestination destination;
        destination.name = dest.name ? dest.name : "";
        destination.instance = dest.instance ? dest.instance : "";
        destination.isDefault = dest.is_default != 0;
        for (int j = 0; dest.options && j < dest.num_options; ++j)
            if (dest.options[j].name && dest.options[j].value)
                destination.options.emplace_back(dest.options[j].name, dest.options[j].value);
        destinations.push_back(std::move(destination));
    }
    return destinations;
}

}  // namespace platform::live
