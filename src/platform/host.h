#pragma once
// What the program asks about the machine and the process it runs in. Each answer is one
// task ("where do my data live"), not one system call, so that a described machine or a
// test can give every answer without imitating the calls behind it.
#include <optional>
#include <string>

namespace platform {

struct FileVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

struct WindowsVersion {
    bool ntFamily = false;
    unsigned major = 0;
    unsigned minor = 0;
};

class Host {
  public:
    virtual ~Host() = default;
    // This program's per-user data folder, ending with the path separator; empty when the
    // system cannot name one. Not created here.
    virtual std::wstring DataFolder() = 0;
    // Where reports go when the command line names no folder, ending with the path
    // separator; empty when there is none. On Linux a folder no other user can write (see
    // linux/host.cpp); not created here.
    virtual std::wstring TempFolder() = 0;
    // The file version this program carries; zeros when it cannot be read.
    virtual FileVersion OwnFileVersion() = 0;
    // Windows version when the host is Windows; nothing elsewhere.
    virtual std::optional<WindowsVersion> GetWindowsVersion() = 0;
    // Runs on 64-bit Windows: a 32-bit process under WOW64, or a 64-bit process (which reads
    // every view that a 32-bit one on the same machine reads, so the two store the same rows).
    virtual bool IsWow64() = 0;
    // The process holds administrator rights now (elevated, or root).
    virtual bool IsAdministrator() = 0;
    virtual std::wstring UserName() = 0;
    // The machine id where the system keeps one outside the registry; empty where the
    // registry holds it (Windows).
    virtual std::wstring MachineId() = 0;
    // The Windows folder ("C:\Windows" when the system cannot name it); empty where the
    // inventoried system is not Windows, which the Windows-only checks take as "not here".
    virtual std::wstring WindowsFolder() { return {}; }
    // The folder separator of this system.
    virtual wchar_t PathSeparator() = 0;
    // Waits before a retry (of a locked database file, for example).
    virtual void Sleep(unsigned milliseconds) = 0;
};

}  // namespace platform
