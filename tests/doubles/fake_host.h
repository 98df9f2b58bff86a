#pragma once
// A host whose every answer the test sets.
#include <vector>

#include "platform/host.h"

class FakeHost : public platform::Host {
  public:
    std::wstring dataFolder;
    std::wstring tempFolder;
    platform::FileVersion version{1, 0, 32278};
    std::optional<platform::WindowsVersion> windowsVersion;
    bool wow64 = false;
    bool administrator = false;
    std::wstring userName = L"tester";
    std::wstring machineId;
    std::wstring windowsFolder;  // empty: not Windows
    wchar_t separator = L'/';
    std::vector<unsigned> sleeps;

    std::wstring DataFolder() override { return dataFolder; }
    std::wstring TempFolder() override { return tempFolder; }
    platform::FileVersion OwnFileVersion() override { return version; }
    std::optional<platform::WindowsVersion> GetWindowsVersion() override { return windowsVersion; }
    bool IsWow64() override { return wow64; }
    bool IsAdministrator() override { return administrator; }
    std::wstring UserName() override { return userName; }
    std::wstring MachineId() override { return machineId; }
    std::wstring WindowsFolder() override { return windowsFolder; }
    wchar_t PathSeparator() override { return separator; }
    void Sleep(unsigned milliseconds) override { sleeps.push_back(milliseconds); }
};
