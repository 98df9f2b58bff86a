#include "platform/linux/live/packages/machine_bits.h"

#include <sys/utsname.h>

namespace platform::live {

bool IsMachineName64Bit(std::string_view machine) {
    // The 64-bit machines carry "64" in their names (x86_64, aarch64, ppc64le, riscv64,
    // mips64, loongarch64, parisc64...), except these two; no 32-bit one does (i686, armv7l,
    // mips, ppc, s390, sparc).
    return machine.find("64") != std::string_view::npos || machine == "s390x" || machine == "alpha";
}

bool RunsOn64BitMachine() {
    utsname names{};
    return ::uname(&names) == 0 && IsMachineName64Bit(names.machine);
}

}  // namespace platform::live
