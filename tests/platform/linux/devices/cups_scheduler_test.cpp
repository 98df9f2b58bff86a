// Whether the printer query loads the CUPS library: only where a scheduler could answer.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <fstream>
#include <optional>
#include <string>

#include "platform/environment.h"
#include "platform/linux/live/devices/cups_scheduler.h"
#include "platform/linux/unique_handle.h"
#include "temp_folder.h"

using platform::EnvironmentValue;
using platform::SetEnvironmentValue;
using platform::live::CupsSchedulerMayAnswer;

namespace {

// A loopback port with a listener, or with none once closed.
struct LoopbackPort {
    platform::posix::UniqueFd fd{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    int port = 0;
    LoopbackPort() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        auto* raw = reinterpret_cast<sockaddr*>(&address);
        if (::bind(fd.get(), raw, size) == 0 && ::listen(fd.get(), 1) == 0 &&
            ::getsockname(fd.get(), raw, &size) == 0)
            port = ntohs(address.sin_port);
    }
};

bool LocalSchedulerSocket() {
    struct stat info;
    return ::stat("/run/cups/cups.sock", &info) == 0 ||
           ::stat("/var/run/cups/cups.sock", &info) == 0;
}

TEST(CupsSchedulerTest, AskedOnlyWhereConfiguredOrListening) {
    const wchar_t* const names[] = {L"HOME", L"CUPS_SERVERROOT", L"CUPS_SERVER", L"IPP_PORT"};
    std::optional<std::wstring> previous[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i)
        previous[i] = EnvironmentValue(names[i]);

    TempFolder folder;
    std::filesystem::create_directories(folder.path() / ".cups");
    SetEnvironmentValue(L"HOME", folder.path().wstring());
    SetEnvironmentValue(L"CUPS_SERVERROOT", folder.path().wstring());
    SetEnvironmentValue(L"CUPS_SERVER", std::nullopt);
    LoopbackPort port;
    ASSERT_NE(0, port.port);
    SetEnvironmentValue(L"IPP_PORT", std::to_wstring(port.port));
    EXPECT_TRUE(CupsSchedulerMayAnswer());
    port.fd.reset();
    if (!LocalSchedulerSocket()) {
        EXPECT_FALSE(CupsSchedulerMayAnswer());
    }
    for (const auto& conf :
         {folder.path() / ".cups" / "client.conf", folder.path() / "client.conf"}) {
        std::ofstream(conf) << "ServerName printsrv.example\n";
        EXPECT_TRUE(CupsSchedulerMayAnswer()) << conf;
        std::filesystem::remove(conf);
    }
    SetEnvironmentValue(L"CUPS_SERVER", std::wstring(L"printsrv.example"));
    EXPECT_TRUE(CupsSchedulerMayAnswer());

    for (std::size_t i = 0; i < std::size(names); ++i)
        SetEnvironmentValue(names[i], previous[i]);
}

}  // namespace
