#include "platform/linux/terminal.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/linux/interrupts.h"

namespace platform::posix {

bool InputIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

bool ErrorsAreTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

int TerminalColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

void WriteToTerminal(const std::string& text) {
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

std::optional<std::string> ReadAnswerLine(unsigned interruptsBefore) {
    std::string line;
    for (;;) {
        if (InterruptCount() != interruptsBefore)
            return std::nullopt;
        pollfd input{STDIN_FILENO, POLLIN, 0};
        // A short wait, so that an interrupt is noticed while nobody types.
        const int ready = ::poll(&input, 1, 100);
        if (ready < 0 && errno != EINTR)
            return std::nullopt;
        if (ready <= 0)
            continue;
        char c = 0;
        const ssize_t got = ::read(STDIN_FILENO, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return line.empty() ? std::nullopt : std::optional<std::string>(line);
        if (c == '\n')
            return line;
        if (c != '\r')
            line += c;
    }
}

}  // namespace platform::posix
