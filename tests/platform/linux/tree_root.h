#pragma once
// A system made of files for the providers under test: what the kernel and the daemons would
// answer comes from the tree where it has a file of its own, and is otherwise not known.
#include <fnmatch.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/common/text_views.h"
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
    FileSystemSpace SpaceOf(const std::string&,
                            std::optional<std::chrono::milliseconds>) const override {
        return {};
    }
    std::vector<InterfaceAddress> InterfaceAddresses() const override { return {}; }
    // udev's hardware database from its source files (usr/lib/udev/hwdb.d/*.hwdb): records of
    // key patterns, each followed by its properties indented by a blank.
    std::optional<HardwareName> HardwareDatabaseName(const HardwareIds& ids) const override {
        constexpr std::string_view kFolder = "/usr/lib/udev/hwdb.d/";
        const std::string key = HardwareDatabaseKey(ids);
        HardwareName name;
        for (const std::string& file : files_.ListFolder(kFolder)) {
            const std::string text = files_.ReadFile(std::string(kFolder) + file).value_or("");
            bool matches = false, inProperties = false;
            for (const std::string_view line : Lines(text)) {
                if (line.empty() || line.front() == '#')
                    continue;
                if (line.front() != ' ') {
                    matches = (matches && !inProperties) ||
                              ::fnmatch(std::string(line).c_str(), key.c_str(), 0) == 0;
                    inProperties = false;
                    continue;
                }
                inProperties = true;
                const std::size_t equals = line.find('=');
                if (matches && line.substr(1, equals - 1) == "ID_VENDOR_FROM_DATABASE")
                    name.vendor = line.substr(equals + 1);
                else if (matches && line.substr(1, equals - 1) == "ID_MODEL_FROM_DATABASE")
                    name.device = line.substr(equals + 1);
            }
        }
        return name.vendor.empty() ? std::nullopt : std::optional<HardwareName>(name);
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
