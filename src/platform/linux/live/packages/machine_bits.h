#pragma once
// Whether the machine is 64-bit: a question about the kernel (what uname names), not about
// this program, since a 32-bit build runs on a 64-bit kernel too.
#include <string_view>

namespace platform::live {

// The machine names of uname(2) ("x86_64", "aarch64", "i686", "armv7l"...).
bool IsMachineName64Bit(std::string_view machine);
// The machine the program runs on.
bool RunsOn64BitMachine();

}  // namespace platform::live
