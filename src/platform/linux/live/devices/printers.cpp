#include "platform/linux/live/devices/printers.h"

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/devices/sysfs_values.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

constexpr std::uint32_t kDiscoveredPrinter = 0x1000000;  // CUPS_PRINTER_DISCOVERED

const std::string* Option(const PrinterDestination& destination, std::string_view name) {
    for (const auto& [key, value] : destination.options)
        if (key == name)
            return &value;
    return nullptr;
}

WmiValue TextOrNull(const std::string* text) {
    return text && !text->empty() ? Text(*text) : WmiValue::Null();
}

// A printer found on the network that no queue was set up for.
bool Discovered(const PrinterDestination& destination) {
    const std::string* type = Option(destination, "printer-type");
    const auto flags = type ? ParseDecimalNumber(*type) : std::nullopt;
    return flags && (*flags & kDiscoveredPrinter);
}

bool PrintsToServer(std::string_view uri) {
    const std::size_t colon = uri.find("://");
    if (colon == std::string_view::npos)
        return false;
    const std::string_view scheme = uri.substr(0, colon);
    for (const char* remote : {"ipp", "ipps", "http", "https", "lpd", "smb"})
        if (scheme == remote)
            return true;
    return false;
}

}  // namespace

std::optional<std::string> UriHost(std::string_view uri) {
    const std::size_t start = uri.find("://");
    if (start == std::string_view::npos)
        return std::nullopt;
    std::string_view authority = uri.substr(start + 3);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    std::string_view host;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        host = authority.substr(1, close - 1);
    } else {
        host = authority.substr(0, authority.find(':'));
    }
    if (host.empty())
        return std::nullopt;
    return std::string(host);
}

WmiObjectList PrinterObjects(const std::vector<PrinterDestination>& destinations) {
    WmiObjectList objects;
    for (const auto& destination : destinations) {
        if (destination.name.empty() || !destination.instance.empty() || Discovered(destination))
            continue;
        const WmiValue name = Text(destination.name);
        const std::string* uri = Option(destination, "device-uri");
        const std::string* shared = Option(destination, "printer-is-shared");
        std::optional<std::string> server;
        if (uri && PrintsToServer(*uri))
            server = UriHost(*uri);

        WmiObject object;
        object.Set(L"Name", name);
        object.Set(L"Caption", name);
        object.Set(L"DeviceID", name);
        object.Set(L"ShareName", shared && *shared == "true" ? name : WmiValue::Null());
        object.Set(L"ServerName", server ? Text(*server) : WmiValue::Null());
        object.Set(L"DriverName", TextOrNull(Option(destination, "printer-make-and-model")));
        object.Set(L"Location", TextOrNull(Option(destination, "printer-location")));
        object.Set(L"Default", Boolean(destination.isDefault));
        objects.push_back(std::move(object));
    }
    return objects;
}

// The print system answers for the machine the program runs on only.
WmiObjectList Printers(const SystemRoot& root) {
    return PrinterObjects(root.Calls().PrintDestinations());
}

}  // namespace platform::live
