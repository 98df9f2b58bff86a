#include "zone.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

bool SetZone(const char* tz) {
    static const std::optional<std::string> original = [] {
        const char* value = std::getenv("TZ");
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }();
    // The runtime reads "name, hours[:minutes], optional daylight name" only; transition
    // rules after a comma would be ignored and the zone would be wrong.
    if (tz != nullptr && std::string(tz).find(',') != std::string::npos) {
        return false;
    }
    // An empty value falls back to the system's zone.
    std::string setting = "TZ=";
    if (tz != nullptr) {
        setting += tz;
    } else if (original) {
        setting += *original;
    }
    _putenv(setting.c_str());
    _tzset();
    return true;
}
