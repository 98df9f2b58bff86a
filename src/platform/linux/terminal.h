#pragma once
// The terminal the program talks to: whether there is one, its width, and reading a typed
// answer while Ctrl-C stays able to cancel.
#include <optional>
#include <string>

namespace platform::posix {

bool InputIsTerminal();
bool ErrorsAreTerminal();
// Columns of the terminal behind stderr; 80 when it cannot tell.
int TerminalColumns();
// Writes to stderr at once (the conversation and the progress line live there, so that
// stdout keeps only what the program prints on purpose).
void WriteToTerminal(const std::string& text);
// One line typed on standard input, without its line end. Nothing at the end of input, and
// nothing as soon as an interrupt arrives that InterruptCount() had not counted at
// `interruptsBefore` (so Ctrl-C answers a pending question with "cancel").
std::optional<std::string> ReadAnswerLine(unsigned interruptsBefore);

}  // namespace platform::posix
