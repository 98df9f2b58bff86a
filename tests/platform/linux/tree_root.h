#pragma once
// A system made of files for the providers under test: what the kernel and the daemons would
// answer comes from the tree where it has a file of its own, and is otherwise not known.
#include <memory>
#include <string>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/firmware/host_names.h"
#include "platform/linux/live/system_calls.h"

namespace platform::live {

class TreeSystemCalls final : public SystemCalls {
  public:
    explicit TreeSystemCalls(std::string folder) : files_(std::move(folder), nullptr) {}

    // The kernel identity is read from /proc/sys/kernel instead.
    std::optional<KernelNames> Uname() const override { return std::nullopt; }
    std::optional<std::string> HostName() const override {
        return files_.ReadLine("/proc/sys/kernel/hostname");
    }
    // A resolver that knows the tree's /etc/hosts only.
    std::optional<std::string> CanonicalName(const std::string& host) const override {
        const auto hosts = files_.ReadFile("/etc/hosts", 1u << 20);
        return hosts ? firmware::CanonicalNameInHosts(*hosts, host) : std::nullopt;
    }
    std::optional<std::string> HypervisorSignature() const override { return std::nullopt; }
    std::optional<std::time_t> RootBirthTime() const override { return std::nullopt; }
    FileSystemSpace SpaceOf(const std::string&, std::chrono::milliseconds) const override {
        return {};
    }
    std::vector<InterfaceAddress> InterfaceAddresses() const override { return {}; }
    std::optional<HardwareName> HardwareDatabaseName(const HardwareIds&) const override {
        return std::nullopt;
    }
    std::vector<PrinterDestination> PrintDestinations() const override { return {}; }
    std::optional<SystemdServices> RunningServices(const SystemRoot&) const override {
        return std::nullopt;
    }
    std::optional<PasswdEntry> RunningAccount() const override { return std::nullopt; }
    // No session: only the sources every user shares.
    StartupUser RunningSession() const override { return {}; }

  private:
    SystemRoot files_;
};

inline SystemRoot TreeRoot(std::string folder) {
    auto calls = std::make_shared<const TreeSystemCalls>(folder);
    return SystemRoot(std::move(folder), std::move(calls));
}

}  // namespace platform::live
