// The host's answer to "is this a 64-bit machine", which decides the registry's views.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/linux/live/packages/machine_bits.h"
#include "platform/services.h"

using namespace platform;

namespace {

TEST(MachineBits, UnameMachineNames) {
    for (const char* name : {"x86_64", "aarch64", "aarch64_be", "ppc64", "ppc64le", "s390x",
                             "riscv64", "mips64", "sparc64", "loongarch64", "alpha", "ia64"})
        EXPECT_TRUE(live::IsMachineName64Bit(name)) << name;
    for (const char* name : {"i386", "i686", "armv7l", "armv6l", "armv8l", "mips", "ppc", "s390",
                             "sparc", "riscv32", ""})
        EXPECT_FALSE(live::IsMachineName64Bit(name)) << name;
}

std::string UnameMachine() {
    FILE* pipe = ::popen("timeout 20 uname -m 2>/dev/null", "r");
    if (!pipe)
        return {};
    char line[128] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    ::pclose(pipe);
    std::string text = read ? line : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

TEST(MachineBitsLive, HostAgreesWithUname) {
    const std::string machine = UnameMachine();
    if (machine.empty())
        GTEST_SKIP() << "no uname here";
    const bool wide = machine == "x86_64" || machine == "aarch64" || machine == "ppc64le" ||
                      machine == "s390x" || machine == "riscv64";
    const bool narrow = machine.size() == 4 && machine[0] == 'i' && machine.substr(2) == "86";
    if (!wide && !narrow && machine.rfind("armv7", 0) != 0)
        GTEST_SKIP() << "machine " << machine << " is not one this test knows";
    EXPECT_EQ(wide, NativeServices().host->IsWow64()) << machine;
}

}  // namespace
