#include "platform/linux/live/devices/cups_scheduler.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/linux/unique_handle.h"

namespace platform::live {
namespace {

constexpr int kIppPort = 631;
// Refused at once when nothing listens; a loopback that drops packets is given this long.
constexpr int kConnectMilliseconds = 1000;

bool Exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

int IppPort() {
    const std::string text = Environment("IPP_PORT");
    char* end = nullptr;
    const long port = text.empty() ? 0 : std::strtol(text.c_str(), &end, 10);
    return port > 0 && port < 65536 && end && *end == '\0' ? static_cast<int>(port) : kIppPort;
}

bool Listens(int family, const sockaddr* address, socklen_t length) {
    const posix::UniqueFd fd(::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd)
        return false;
    if (::connect(fd.get(), address, length) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    pollfd wait{fd.get(), POLLOUT, 0};
    int ready;
    while ((ready = ::poll(&wait, 1, kConnectMilliseconds)) < 0 && errno == EINTR) {
    }
    int error = 0;
    socklen_t size = sizeof error;
    return ready > 0 && ::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &size) == 0 &&
           error == 0;
}

bool LocalhostListens(int port) {
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_port = htons(static_cast<std::uint16_t>(port));
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_port = htons(static_cast<std::uint16_t>(port));
    v6.sin6_addr = in6addr_loopback;
    return Listens(AF_INET, reinterpret_cast<const sockaddr*>(&v4), sizeof v4) ||
           Listens(AF_INET6, reinterpret_cast<const sockaddr*>(&v6), sizeof v6);
}

}  // namespace

bool CupsSchedulerMayAnswer() {
    if (!Environment("CUPS_SERVER").empty())
        return true;
    if (const std::string home = Environment("HOME");
        !home.empty() && Exists(home + "/.cups/client.conf"))
        return true;
    std::string serverRoot = Environment("CUPS_SERVERROOT");
    if (serverRoot.empty())
        serverRoot = "/etc/cups";
    if (Exists(serverRoot + "/client.conf"))
        return true;
    for (const char* socket : {"/run/cups/cups.sock", "/var/run/cups/cups.sock"})
        if (Exists(socket))
            return true;
    return LocalhostListens(IppPort());
}

}  // namespace platform::live
