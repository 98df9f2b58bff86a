// The destinations of the CUPS scheduler this machine is set up to use. The connection is
// made here rather than by the library's default one so that every wait has an end: three
// seconds to connect, two for each answer (a scheduler that accepts and never answers costs
// about six, the library reconnecting once); without a scheduler the connection fails at once.
//
// The library is opened here, not linked: it brings a score of others (TLS, Kerberos, service
// discovery) whose loading every run would pay at its start, and only this query needs it.
// Where no scheduler could answer it is not opened at all: loading it costs more than a
// whole list of printers.
#include <cups/cups.h>
#include <dlfcn.h>

#include <memory>
#include <optional>
#include <type_traits>

#include "platform/linux/live/devices/cups_scheduler.h"
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

// The library's entry points this query calls.
struct Cups {
    decltype(&::cupsSetPasswordCB2) cupsSetPasswordCB2;
    decltype(&::httpConnect2) httpConnect2;
    decltype(&::cupsServer) cupsServer;
    decltype(&::ippPort) ippPort;
    decltype(&::cupsEncryption) cupsEncryption;
    decltype(&::httpSetTimeout) httpSetTimeout;
    decltype(&::httpClose) httpClose;
    decltype(&::cupsGetDests2) cupsGetDests2;
    decltype(&::cupsFreeDests) cupsFreeDests;
};

// Opened once and kept for the life of the program; null when the library (or one of its
// entry points) is missing: then there are no printers.
const Cups* OpenCups() {
    static const std::optional<Cups> cups = []() -> std::optional<Cups> {
        void* library = ::dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return std::nullopt;
        Cups found{};
        bool complete = true;
        const auto bind = [&](auto& entry, const char* name) {
            entry =
                reinterpret_cast<std::remove_reference_t<decltype(entry)>>(::dlsym(library, name));
            complete = complete && entry;
        };
        bind(found.cupsSetPasswordCB2, "cupsSetPasswordCB2");
        bind(found.httpConnect2, "httpConnect2");
        bind(found.cupsServer, "cupsServer");
        bind(found.ippPort, "ippPort");
        bind(found.cupsEncryption, "cupsEncryption");
        bind(found.httpSetTimeout, "httpSetTimeout");
        bind(found.httpClose, "httpClose");
        bind(found.cupsGetDests2, "cupsGetDests2");
        bind(found.cupsFreeDests, "cupsFreeDests");
        return complete ? std::optional<Cups>(found) : std::nullopt;
    }();
    return cups ? &*cups : nullptr;
}

}  // namespace

std::vector<PrinterDestination> PrintDestinations() {
    if (!CupsSchedulerMayAnswer())
        return {};
    const Cups* cups = OpenCups();
    if (!cups)
        return {};
    cups->cupsSetPasswordCB2(NoPassword, nullptr);
    const auto close = [cups](http_t* http) { cups->httpClose(http); };
    const std::unique_ptr<http_t, decltype(close)> http(
        cups->httpConnect2(cups->cupsServer(), cups->ippPort(), nullptr, AF_UNSPEC,
                           cups->cupsEncryption(), 1, kConnectMilliseconds, nullptr),
        close);
    if (!http)
        return {};
    cups->httpSetTimeout(http.get(), kAnswerSeconds, GiveUp, nullptr);
    cups_dest_t* list = nullptr;
    const int count = cups->cupsGetDests2(http.get(), &list);
    const auto free = [cups, count](cups_dest_t* dests) { cups->cupsFreeDests(count, dests); };
    const std::unique_ptr<cups_dest_t, decltype(free)> owner(list, free);
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
