#pragma once
// A machine described in a JSON file, answering every seam the collector reads through: WMI
// classes with typed objects, the registry, the service list, the platform facts and the
// host's answers. It lets the program inventory a machine it does not run on (tests, support
// cases, inventories taken elsewhere). The format is documented in tests/machines/README.md.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/host.h"
#include "platform/memory_registry.h"
#include "platform/service_list.h"
#include "platform/services.h"
#include "platform/wmi.h"
#include "platform/wmi_objects.h"

namespace platform {

// Answers the WQL subset of platform/wql.h over the described objects. Class and property
// names are case-insensitive, as in WMI.
class DescribedWmi : public ObjectTableWmi {
  public:
    // Keyed by ClassKey; objects in file order.
    using Classes = std::map<std::wstring, WmiObjectList>;

    DescribedWmi() = default;
    // Nothing: the machine has no WMI, and Connect fails. Without administrator rights the
    // TPM's namespace is refused, as Windows refuses it.
    explicit DescribedWmi(std::optional<Classes> classes, bool administrator = true);

  private:
    bool Available() const override { return classes_.has_value(); }
    // Windows refuses the TPM's namespace to a program without administrator rights.
    bool Reachable(const std::wstring& nameSpace) const override;
    std::shared_ptr<const WmiObjectList> ObjectsOf(const std::wstring& classKey) override;

    std::optional<std::map<std::wstring, std::shared_ptr<const WmiObjectList>>> classes_;
    bool administrator_ = true;
};

class DescribedServiceManager : public ServiceManager {
  public:
    DescribedServiceManager() = default;
    explicit DescribedServiceManager(ServiceListing listing) : listing_(std::move(listing)) {}

    ServiceListing ListServices() override { return listing_; }
    // The standard US English text of the common Win32 error codes, with the line break
    // the system puts at the end; empty for others.
    std::wstring SystemMessage(long error) override;

  private:
    ServiceListing listing_;
};

class DescribedPlatformInfo : public PlatformInfo {
  public:
    explicit DescribedPlatformInfo(PlatformFacts facts) : facts_(std::move(facts)) {}
    PlatformFacts Facts() override { return facts_; }

  private:
    PlatformFacts facts_;
};

struct DescribedHostAnswers {
    std::wstring userName;
    bool administrator = false;
    bool wow64 = false;
    bool machine64Bit = false;
    std::optional<WindowsVersion> windowsVersion;
    std::wstring windowsFolder = L"C:\\Windows";
};

// The described machine's answers about itself; the answers about where this program runs
// (its folders, its own version, the path separator, waiting) come from the running host.
class DescribedHost : public Host {
  public:
    DescribedHost(DescribedHostAnswers answers, Host& running)
        : answers_(std::move(answers)), running_(&running) {}

    std::wstring DataFolder() override { return running_->DataFolder(); }
    std::wstring TempFolder() override { return running_->TempFolder(); }
    FileVersion OwnFileVersion() override { return running_->OwnFileVersion(); }
    std::optional<WindowsVersion> GetWindowsVersion() override { return answers_.windowsVersion; }
    bool IsWow64() override { return answers_.wow64; }
    bool IsAdministrator() override { return answers_.administrator; }
    std::wstring UserName() override { return answers_.userName; }
    // Empty: the described machine keeps its id in the registry, as Windows does.
    std::wstring MachineId() override { return {}; }
    std::wstring WindowsFolder() override { return answers_.windowsFolder; }
    wchar_t PathSeparator() override { return running_->PathSeparator(); }
    void Sleep(unsigned milliseconds) override { running_->Sleep(milliseconds); }

    bool Is64BitMachine() const { return answers_.machine64Bit; }

  private:
    DescribedHostAnswers answers_;
    Host* running_;
};

class DescribedMachine {
  public:
    // Reads and checks the description. On failure the error names the file and the place:
    // "<file>: line L, column C: ..." for JSON syntax, "<file>: <json path>: ..." for
    // content, "<file>: cannot be read". The running host answers the questions about this
    // program; without one, the native host does.
    static std::optional<DescribedMachine> Load(const std::wstring& path, std::wstring& error);
    static std::optional<DescribedMachine> Load(const std::wstring& path, std::wstring& error,
                                                Host& running);
    // The same from text already read; `name` stands for the file in messages.
    static std::optional<DescribedMachine> FromText(std::string_view json, const std::wstring& name,
                                                    std::wstring& error, Host& running);

    DescribedMachine(DescribedMachine&&) noexcept;
    DescribedMachine& operator=(DescribedMachine&&) noexcept;
    ~DescribedMachine();

    // Registry, host, WMI, service manager and platform facts of this machine, to install
    // with a ServicesScope; the other slots are left empty. Valid while the machine lives
    // (moving the machine keeps them valid).
    Services ServicesFor();

    DescribedHost& host() { return *host_; }
    DescribedWmi& wmi() { return *wmi_; }
    DescribedServiceManager& serviceManager() { return *serviceManager_; }
    MemoryRegistry& registry() { return *registry_; }

  private:
    DescribedMachine();
    friend class DescribedLoader;

    std::unique_ptr<DescribedHost> host_;
    std::unique_ptr<DescribedWmi> wmi_;
    std::unique_ptr<DescribedServiceManager> serviceManager_;
    std::unique_ptr<MemoryRegistry> registry_;
    std::unique_ptr<DescribedPlatformInfo> platformInfo_;
};

}  // namespace platform
