#include "platform/windows/native.h"

namespace platform::win {

void Win32Ui::ShowMessage(const std::wstring& text, const std::wstring& caption, MessageIcon icon) {
    UINT flags = MB_OK;
    switch (icon) {
        case MessageIcon::Information:
            flags |= MB_ICONINFORMATION;
            break;
        case MessageIcon::Error:
            flags |= MB_ICONERROR;
            break;
        case MessageIcon::Question:
            flags |= MB_ICONQUESTION;
            break;
        case MessageIcon::Warning:
            flags |= MB_ICONWARNING;
            break;
    }
    ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), flags);
}

}  // namespace platform::win
