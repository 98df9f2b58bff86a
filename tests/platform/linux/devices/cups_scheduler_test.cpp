// Whether the printer query loads the CUPS library: only where a scheduler could answer.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/linux/live/devices/cups_scheduler.h"

using platform::live::CupsSchedulerMayAnswer;

namespace {

class ScopedVariable {
  public:
    // Set to `value`, or unset without one.
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// A loopback port with a listener, or with none once closed.
struct LoopbackPort {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
    LoopbackPort() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 && ::listen(fd, 1) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port = ntohs(address.sin_port);
    }
    ~LoopbackPort() { Close(); }
    void Close() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

bool LocalSchedulerSocket() {
    struct stat info;
    return ::stat("/run/cups/cups.sock", &info) == 0 ||
           ::stat("/var/run/cups/cups.sock", &info) == 0;
}

TEST(CupsSchedulerTest, AskedOnlyWhereConfiguredOrListening) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("fennock-cups-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / ".cups");
    ScopedVariable home("HOME", folder.string());
    ScopedVariable serverRoot("CUPS_SERVERROOT", folder.string());
    ScopedVariable noServer("CUPS_SERVER", std::nullopt);
    LoopbackPort port;
    ASSERT_NE(0, port.port);
    {
        ScopedVariable ipp("IPP_PORT", std::to_string(port.port));
        EXPECT_TRUE(CupsSchedulerMayAnswer());
        port.Close();
        if (!LocalSchedulerSocket()) {
            EXPECT_FALSE(CupsSchedulerMayAnswer());
        }

        for (const auto& conf : {folder / ".cups" / "client.conf", folder / "client.conf"}) {
            std::ofstream(conf) << "ServerName printsrv.example\n";
            EXPECT_TRUE(CupsSchedulerMayAnswer()) << conf;
            std::filesystem::remove(conf);
        }
        ScopedVariable server("CUPS_SERVER", "printsrv.example");
        EXPECT_TRUE(CupsSchedulerMayAnswer());
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
