#include "ui/progress_text.h"

std::wstring ProgressLine(const std::wstring& status, const ProgressState& state,
                          std::size_t columns) {
    std::wstring counter;
    if (state.range() > 0)
        counter = L" " + std::to_wstring(state.position()) + L"/" +
                  std::to_wstring(state.range()) + L" " + std::to_wstring(state.Percent()) + L"%";
    // A line as wide as the terminal would wrap and break the redraw; the status gives way.
    const std::size_t room = columns > counter.size() + 1 ? columns - counter.size() - 1 : 0;
    std::wstring text = status;
    if (text.size() > room)
        text = room > 3 ? text.substr(0, room - 3) + L"..." : text.substr(0, room);
    return text + counter;
}
