#pragma once
// Cutting narrow text the way the readers of system files need it: the same few operations
// for /proc, /sys, unit files, package lists and the rest.
#include <string_view>

namespace platform::live {

// The text without blanks, tabs and line ends at either end.
std::string_view TrimBlanks(std::string_view text);

// The value of a hexadecimal digit; -1 for any other character.
int HexDigitValue(char c);

}  // namespace platform::live
