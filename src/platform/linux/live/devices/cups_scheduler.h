#pragma once
// Whether a CUPS scheduler could answer this program's request for printers. The client
// library asks the server CUPS_SERVER names, else the one of the user's or the system's
// client.conf, else the local scheduler's socket, else localhost on the IPP port; when none
// of these is there, the library (and the score of others it brings) need not be loaded.

namespace platform::live {

bool CupsSchedulerMayAnswer();

}  // namespace platform::live
