#pragma once
// The Linux implementations of the platform services.
#include "platform/host.h"
#include "platform/progress.h"
#include "platform/ui.h"

namespace platform::posix {

class LinuxHost : public Host {
  public:
    std::wstring DataFolder() override;
    std::wstring TempFolder() override;
    FileVersion OwnFileVersion() override;
    std::optional<WindowsVersion> GetWindowsVersion() override { return std::nullopt; }
    bool IsWow64() override { return false; }
    bool IsAdministrator() override;
    std::wstring UserName() override;
    std::wstring MachineId() override;
    wchar_t PathSeparator() override { return L'/'; }
    void Sleep(unsigned milliseconds) override;
};

class TerminalUi : public Ui {
  public:
    void ShowMessage(const std::wstring& text, const std::wstring& caption,
                     MessageIcon icon) override;
    void ReportFailure(const std::wstring& text, const std::wstring& dataFolder) override;
    void AnnounceReport(const std::wstring& path) override;
};

class QueuePoster : public ProgressPoster {
  public:
    bool Post(ProgressWindow window, unsigned kind, std::intptr_t value) override;
};

}  // namespace platform::posix
