#include <cstdio>

#include "platform/linux/interrupts.h"
#include "platform/linux/native.h"
#include "platform/linux/terminal.h"
#include "util/text.h"
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

// Asked on the terminal when there is one to answer on; otherwise the run goes on as after
// "No", and the problem is named on stderr so that it is not lost.
Answer TerminalUi::Ask(const Question& question) {
    if (!InputIsTerminal()) {
        WriteToTerminal("fennock: " + WideToUtf8(question.problem) +
                        " (no terminal to ask: going on as if No were answered)\n");
        return Answer::No;
    }
    const unsigned interrupts = InterruptCount();
    // Off the progress line, which may be half drawn.
    std::string text = ErrorsAreTerminal() ? "\r\033[K\n" : "\n";
    text += WideToUtf8(question.caption) + "\n\n" + WideToUtf8(question.text) + "\n\n";
    WriteToTerminal(text);
    for (;;) {
        WriteToTerminal("Yes, No or Cancel? [y/n/c] ");
        const auto line = ReadAnswerLine(interrupts);
        if (!line) {
            WriteToTerminal("\n");
            // Ctrl-C cancels; the end of input leaves things as they are.
            return InterruptCount() != interrupts ? Answer::Cancel : Answer::No;
        }
        const std::wstring answer = ToLower(Trim(Utf8ToWide(*line), kBlankChars));
        if (answer == L"y" || answer == L"yes")
            return Answer::Yes;
        if (answer == L"n" || answer == L"no")
            return Answer::No;
        if (answer == L"c" || answer == L"cancel")
            return Answer::Cancel;
    }
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
