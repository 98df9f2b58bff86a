#pragma once
// The Windows implementations of the platform services.
#include <memory>

#include "platform/host.h"
#include "platform/platform_facts.h"
#include "platform/progress.h"
#include "platform/registry.h"
#include "platform/service_list.h"
#include "platform/system_commands.h"
#include "platform/ui.h"
#include "platform/windows/win32.h"
#include "platform/wmi.h"

namespace platform::win {

class Win32Registry : public Registry {
  public:
    RegError OpenKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                     RegKey* result) override;
    RegError CreateKey(RegKey parent, const wchar_t* subkey, std::uint32_t access, RegKey* result,
                       std::uint32_t* disposition) override;
    RegError CloseKey(RegKey key) override;
    RegError EnumKey(RegKey key, std::uint32_t index, wchar_t* name,
                     std::uint32_t* length) override;
    RegError EnumValue(RegKey key, std::uint32_t index, wchar_t* name, std::uint32_t* nameLength,
                       std::uint32_t* type, void* data, std::uint32_t* bytes) override;
    RegError QueryValue(RegKey key, const wchar_t* name, std::uint32_t* type, void* data,
                        std::uint32_t* bytes) override;
    RegError SetValue(RegKey key, const wchar_t* name, std::uint32_t type, const void* data,
                      std::uint32_t bytes) override;
};

class Win32Host : public Host {
  public:
    std::wstring DataFolder() override;
    std::wstring TempFolder() override;
    FileVersion OwnFileVersion() override;
    std::optional<WindowsVersion> GetWindowsVersion() override;
    bool IsWow64() override;
    bool IsAdministrator() override;
    std::wstring UserName() override;
    std::wstring MachineId() override { return {}; }
    std::wstring WindowsFolder() override;
    wchar_t PathSeparator() override { return L'\\'; }
    void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }
};

class Win32Ui : public Ui {
  public:
    void ShowMessage(const std::wstring& text, const std::wstring& caption,
                     MessageIcon icon) override;
    Answer Ask(const Question& question) override;
    void ReportFailure(const std::wstring& text, const std::wstring& dataFolder) override;
    void AnnounceReport(const std::wstring&) override {}
};

class Win32SystemCommands : public SystemCommands {
  public:
    bool HaveWindowsCommands() override { return true; }
    int RunAndWait(const std::wstring& program, const std::wstring& parameters,
                   unsigned timeoutMs) override;
};

class WindowPoster : public ProgressPoster {
  public:
    bool Post(ProgressWindow window, unsigned kind, std::intptr_t value) override;
    // The text travels as a heap string in the LPARAM, which the window takes back with
    // TakePostedText.
    bool PostText(ProgressWindow window, unsigned kind, std::wstring text) override;
};

// WMI over COM, in the apartment the process entered at start.
class Win32Wmi : public Wmi {
  public:
    Win32Wmi();
    ~Win32Wmi() override;
    int Connect() override;
    void Disconnect() override;
    std::unique_ptr<WmiObjects> ExecQuery(const std::wstring& wql) override;
    std::unique_ptr<WmiObjects> ExecQueryIn(const std::wstring& nameSpace,
                                            const std::wstring& wql) override;

  private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

// Firmware type and Secure Boot; Windows has no virtualization or init system to report.
class Win32PlatformInfo : public PlatformInfo {
  public:
    explicit Win32PlatformInfo(Registry& registry) : registry_(registry) {}
    PlatformFacts Facts() override;

  private:
    Registry& registry_;
};

class Win32ServiceManager : public ServiceManager {
  public:
    ServiceListing ListServices() override;
    std::wstring SystemMessage(long error) override;
};

}  // namespace platform::win
