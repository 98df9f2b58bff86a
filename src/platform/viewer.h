#pragma once
// Shows a finished report to the user with the system's viewer, without waiting for it.
#include <string>

namespace platform {

// Opens the report at this path: an HTML page with the default browser, a YAML file with
// a text viewer. A failure to start the viewer is ignored.
void OpenReport(const std::wstring& path, bool yaml);

}  // namespace platform
