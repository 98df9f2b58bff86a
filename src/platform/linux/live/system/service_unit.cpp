#include "platform/linux/live/system/service_unit.h"

#include "platform/linux/live/common/unit_syntax.h"

namespace platform::live {

ServiceUnit ParseServiceUnit(std::string_view text) {
    ServiceUnit unit;
    for (const UnitSetting& setting : ParseUnitSettings(text)) {
        // Startup lists have always shown a continued line with one blank at each join.
        std::string value = JoinedTightly(setting);
        if (setting.section == "Unit" && setting.key == "Description")
            unit.description = value.empty() ? std::nullopt : std::optional(std::move(value));
        else if (setting.section == "Service" && setting.key == "ExecStart" && value.empty())
            unit.execStart.clear();
        else if (setting.section == "Service" && setting.key == "ExecStart")
            unit.execStart.push_back(std::move(value));
    }
    return unit;
}

}  // namespace platform::live
