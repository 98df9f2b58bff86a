#pragma once
// The Linux implementations of the platform services.
#include "platform/host.h"
#include "platform/progress.h"
#include "platform/system_commands.h"
#include "platform/ui.h"

namespace platform::posix {

class LinuxHost : public Host {
  public:
    std::wstring DataFolder() override;
    std::wstring TempFolder() override;
    FileVersion OwnFileVersion() override;
    std::optional<WindowsVersion> GetWindowsVersion() override { return std::nullopt; }
    // The program reads a 64-bit machine as the 32-bit Windows program reads 64-bit Windows.
    bool IsWow64() override;
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
    Answer Ask(const Question& question) override;
    void ReportFailure(const std::wstring& text, const std::wstring& dataFolder) override;
    void AnnounceReport(const std::wstring& path) override;
};

// The repairs' commands are Windows programs; a Linux system has none of them.
class NoWindowsCommands : public SystemCommands {
  public:
    bool HaveWindowsCommands() override { return false; }
    int RunAndWait(const std::wstring&, const std::wstring&, unsigned) override {
        return kRunFailed;
    }
};

class QueuePoster : public ProgressPoster {
  public:
    bool Post(ProgressWindow window, unsigned kind, std::intptr_t value) override;
    bool PostText(ProgressWindow window, unsigned kind, std::wstring text) override;
};

}  // namespace platform::posix
