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
    if (tz != nullptr) {
        setenv("TZ", tz, 1);
    } else if (original) {
        setenv("TZ", original->c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
    return true;
}
