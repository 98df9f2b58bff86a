// Test tool: prints the controls of the top-level window with this exact title, one per line:
// "id<TAB>visible|hidden<TAB>enabled|disabled<TAB>x,y<TAB>class<TAB>text" (UTF-8; x,y the
// control's centre on the screen), so that an end-to-end script can read what a dialog shows
// and click a button. Exit code 1 when there is no such window.
#include <cstdio>
#include <string>

#include "platform/windows/win32.h"

namespace {

std::string Utf8(const std::wstring& text) {
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    return out;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
    wchar_t className[128] = {};
    ::GetClassNameW(control, className, 128);
    // WM_GETTEXT itself: GetWindowText does not ask a window of another process, and would
    // give a rich edit's creation text instead of what it shows.
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(static_cast<std::size_t>(copied));
    RECT place = {};
    ::GetWindowRect(control, &place);
    std::printf("%d\t%s\t%s\t%ld,%ld\t%s\t%s\n", ::GetDlgCtrlID(control),
                ::IsWindowVisible(control) ? "visible" : "hidden",
                ::IsWindowEnabled(control) ? "enabled" : "disabled", (place.left + place.right) / 2,
                (place.top + place.bottom) / 2, Utf8(className).c_str(), Utf8(text).c_str());
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return 2;
    const HWND window = ::FindWindowW(nullptr, argv[1]);
    if (!window)
        return 1;
    ::EnumChildWindows(window, PrintControl, 0);
    return 0;
}
