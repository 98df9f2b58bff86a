#include <fcntl.h>
#include <netdb.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/linux/live/devices/hwdb_names.h"
#include "platform/linux/live/firmware/hypervisor.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {
namespace {

constexpr auto kResolverWait = std::chrono::seconds(3);

std::optional<std::string> ResolverCanonicalName(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    std::optional<std::string> name;
    if (found->ai_canonname)
        name = found->ai_canonname;
    ::freeaddrinfo(found);
    return name;
}

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

// This user's entry in the name service: files, but also a directory service or systemd's
// user database. The entry's texts point into the buffer.
struct OwnAccount {
    OwnAccount() {
        if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0)
            found = nullptr;
    }
    OwnAccount(const OwnAccount&) = delete;
    OwnAccount& operator=(const OwnAccount&) = delete;

    std::vector<char> buffer = std::vector<char>(16384);
    passwd entry{};
    passwd* found = nullptr;
};

// The printing library takes milliseconds to load and its scheduler as long as it likes to
// answer (within its limits): asked on a thread of its own as soon as a run begins, the
// answer is mostly there by the time the printers are listed. Each answer serves once.
class PrinterAnswers {
  public:
    void Begin() {
        const std::lock_guard lock(mutex_);
        BeginLocked();
    }

    std::vector<PrinterDestination> Take() {
        std::shared_future<std::vector<PrinterDestination>> answer;
        {
            const std::lock_guard lock(mutex_);
            BeginLocked();
            answer = std::exchange(pending_, {});
        }
        return answer.get();
    }

  private:
    void BeginLocked() {
        if (pending_.valid())
            return;
        std::packaged_task<std::vector<PrinterDestination>()> ask(live::PrintDestinations);
        pending_ = ask.get_future().share();
        std::thread(std::move(ask)).detach();
    }

    std::mutex mutex_;
    std::shared_future<std::vector<PrinterDestination>> pending_;
};

class Live final : public SystemCalls {
  public:
    std::optional<KernelNames> Uname() const override {
        utsname names{};
        if (::uname(&names) != 0)
            return std::nullopt;
        return KernelNames{names.sysname, names.release, names.machine, names.nodename};
    }

    std::optional<std::string> HostName() const override {
        char name[HOST_NAME_MAX + 1] = {};
        if (::gethostname(name, sizeof name - 1) != 0)
            return std::nullopt;
        return std::string(name);
    }

    // The resolver cannot be interrupted: it answers on a thread of its own, left to finish
    // alone when it takes too long.
    std::optional<std::string> CanonicalName(const std::string& host) const override {
        std::packaged_task<std::optional<std::string>()> lookup(
            [host] { return ResolverCanonicalName(host); });
        auto answer = lookup.get_future();
        std::thread(std::move(lookup)).detach();
        if (answer.wait_for(kResolverWait) != std::future_status::ready)
            return std::nullopt;
        return answer.get();
    }

    std::optional<std::string> HypervisorSignature() const override {
        return firmware::CpuHypervisorSignature();
    }

    std::optional<std::time_t> RootBirthTime() const override {
        struct statx info {};
        if (::statx(AT_FDCWD, "/", AT_STATX_DONT_SYNC, STATX_BTIME, &info) == 0 &&
            (info.stx_mask & STATX_BTIME) && info.stx_btime.tv_sec > 0)
            return static_cast<std::time_t>(info.stx_btime.tv_sec);
        return std::nullopt;
    }

    FileSystemSpace SpaceOf(const std::string& mountPoint,
                            std::optional<std::chrono::milliseconds> limit) const override {
        return FileSystemSpaceOf(mountPoint, limit);
    }

    std::vector<InterfaceAddress> InterfaceAddresses() const override {
        return LiveInterfaceAddresses();
    }

    std::optional<HardwareName> HardwareDatabaseName(const HardwareIds& ids) const override {
        return HwdbName(ids);
    }

    std::vector<PrinterDestination> PrintDestinations() const override { return printers_.Take(); }
    void BeginPrintDestinations() const override { printers_.Begin(); }

    std::optional<SystemdServices> RunningServices(const SystemRoot& root) const override {
        return ListSystemdServices(root);
    }

    std::optional<PasswdEntry> RunningAccount() const override {
        const OwnAccount account;
        const passwd* found = account.found;
        if (!found || !found->pw_name || !*found->pw_name)
            return std::nullopt;
        return PasswdEntry{found->pw_name, found->pw_uid, found->pw_gecos ? found->pw_gecos : ""};
    }

    StartupUser RunningSession() const override {
        StartupUser user;
        const OwnAccount account;
        if (const passwd* found = account.found) {
            user.name = found->pw_name ? found->pw_name : "";
            user.home = found->pw_dir ? found->pw_dir : "";
        }
        if (auto home = Environment("HOME"); home && !home->empty())
            user.home = *home;
        user.configHome = Environment("XDG_CONFIG_HOME");
        user.configDirs = Environment("XDG_CONFIG_DIRS");
        return user;
    }

  private:
    mutable PrinterAnswers printers_;
};

}  // namespace

std::shared_ptr<const SystemCalls> LiveSystemCalls() {
    static const auto live = std::make_shared<const Live>();
    return live;
}

}  // namespace platform::live
