#include "platform/service_list.h"

namespace platform {

std::wstring ServiceStateText(std::uint32_t currentState) {
    static const wchar_t* const kStates[] = {L"Stopped", L"Start Pending",    L"Stop Pending",
                                             L"Running", L"Continue Pending", L"Pause Pending",
                                             L"Paused"};
    if (currentState < 1 || currentState > 7)
        return {};
    return kStates[currentState - 1];
}

std::wstring ServiceStartModeText(std::uint32_t startType) {
    static const wchar_t* const kModes[] = {L"Boot", L"System", L"Auto", L"Manual", L"Disabled"};
    if (startType > 4)
        return {};
    return kModes[startType];
}

}  // namespace platform
