#include <cstdio>

#include "platform/linux/native.h"
#include "util/utf.h"

namespace platform::posix {

// A terminal has no caption bar: the text is the message. Errors and questions go to
// stderr so that stdout stays clean for what the program prints on purpose.
void TerminalUi::ShowMessage(const std::wstring& text, const std::wstring&, MessageIcon icon) {
    std::FILE* stream = icon == MessageIcon::Information ? stdout : stderr;
    std::string out = WideToUtf8(text);
    if (out.empty() || out.back() != '\n')
        out += '\n';
    std::fputs(out.c_str(), stream);
    std::fflush(stream);
}

void TerminalUi::ReportFailure(const std::wstring& text, const std::wstring&) {
    std::string out = "fennock: " + WideToUtf8(text);
    if (out.back() != '\n')
        out += '\n';
    std::fputs(out.c_str(), stderr);
    std::fflush(stderr);
}

void TerminalUi::AnnounceReport(const std::wstring& path) {
    std::fputs((WideToUtf8(path) + "\n").c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace platform::posix
