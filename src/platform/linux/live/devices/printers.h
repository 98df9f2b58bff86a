#pragma once
// Win32_Printer from the print system's destinations (CUPS, where the program was built with
// libcups): one object per queue, named by the queue.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/wmi_objects.h"

namespace platform::live {

struct PrinterDestination {
    std::string name;
    std::string instance;  // a saved set of options on a queue; empty for the queue itself
    bool isDefault = false;
    std::vector<std::pair<std::string, std::string>> options;  // "printer-make-and-model"...
};

// The destinations of the print system on the machine the program runs on; none when there
// is no print system or it does not answer within a few seconds.
std::vector<PrinterDestination> PrintDestinations();

// The host of a URI ("ipp://user@printsrv:631/printers/x" -> "printsrv"); never the user
// or password it may carry.
std::optional<std::string> UriHost(std::string_view uri);

// Left out: instances (an instance prints to its queue, which has its own object) and
// printers found on the network that no queue was set up for. ServerName is the device URI's
// host for a queue that prints to another print server (ipp, ipps, http, https, lpd, smb);
// null for a printer attached to this machine or addressed directly (usb, socket...).
// ShareName is the queue's name when CUPS shares it, else null.
WmiObjectList PrinterObjects(const std::vector<PrinterDestination>& destinations);

}  // namespace platform::live
