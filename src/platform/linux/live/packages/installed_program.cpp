#include "platform/linux/live/packages/installed_program.h"

namespace platform::live {

std::optional<std::string> LocalDay(std::time_t when) {
    std::tm local{};
    char text[16];
    if (!::localtime_r(&when, &local) || !std::strftime(text, sizeof text, "%Y%m%d", &local))
        return std::nullopt;
    return std::string(text);
}

}  // namespace platform::live
