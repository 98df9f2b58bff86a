#include <memory>
#include <utility>

#include "platform/files.h"
#include "platform/windows/native.h"
#include "util/utf.h"

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

// The questions of the diagnostics have no owner window: they block only the worker thread
// that asks them, and the progress window stays responsive meanwhile.
Answer Win32Ui::Ask(const Question& question) {
    switch (::MessageBoxW(nullptr, question.text.c_str(), question.caption.c_str(),
                          MB_YESNOCANCEL | MB_ICONWARNING)) {
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

// A windowed program has no error stream; the log keeps the failures of silent runs.
void Win32Ui::ReportFailure(const std::wstring& text, const std::wstring& dataFolder) {
    if (dataFolder.empty())
        return;
    CreateFolders(dataFolder);
    SYSTEMTIME now = {};
    ::GetSystemTime(&now);
    wchar_t stamp[32] = {};
    ::wsprintfW(stamp, L"%04u-%02u-%02u %02u:%02u:%02u UTC ", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond);
    AppendToFile(dataFolder + L"fennock.log", WideToUtf8(stamp + text) + "\r\n");
}

bool WindowPoster::Post(ProgressWindow window, unsigned kind, std::intptr_t value) {
    if (window == 0)
        return false;
    return ::PostMessageW(reinterpret_cast<HWND>(window), kInventoryProgressMessage, kind, value) !=
           0;
}

bool WindowPoster::PostText(ProgressWindow window, unsigned kind, std::wstring text) {
    auto posted = std::make_unique<std::wstring>(std::move(text));
    if (!Post(window, kind, reinterpret_cast<std::intptr_t>(posted.get())))
        return false;
    posted.release();  // the window owns it now
    return true;
}

}  // namespace platform::win
