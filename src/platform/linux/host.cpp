#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/linux/live/machine_bits.h"
#include "platform/linux/native.h"
#include "util/text.h"
#include "util/utf.h"

namespace platform::posix {
namespace {

std::wstring WithSlash(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'/')
        folder += L'/';
    return folder;
}

std::wstring HomeFolder() {
    if (auto home = EnvironmentValue(L"HOME"); home && !home->empty())
        return *home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir)
        return Utf8ToWide(found->pw_dir);
    return {};
}

}  // namespace

// The XDG base-directory rule: $XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share.
std::wstring LinuxHost::DataFolder() {
    std::wstring base;
    if (auto xdg = EnvironmentValue(L"XDG_DATA_HOME"); xdg && !xdg->empty() && (*xdg)[0] == L'/')
        base = *xdg;
    else if (auto home = HomeFolder(); !home.empty())
        base = WithSlash(home) + L".local/share";
    if (base.empty())
        return {};
    return WithSlash(base) + L"fennock/";
}

std::wstring LinuxHost::TempFolder() {
    if (auto tmp = EnvironmentValue(L"TMPDIR"); tmp && !tmp->empty())
        return WithSlash(*tmp);
    return L"/tmp/";
}

FileVersion LinuxHost::OwnFileVersion() {
    return FileVersion{FENNOCK_VERSION_MAJOR, FENNOCK_VERSION_MINOR, FENNOCK_VERSION_PATCH};
}

bool LinuxHost::IsWow64() {
    return live::RunsOn64BitMachine();
}

bool LinuxHost::IsAdministrator() {
    return geteuid() == 0;
}

std::wstring LinuxHost::UserName() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name)
        return Utf8ToWide(found->pw_name);
    return EnvironmentValue(L"USER").value_or(L"");
}

std::wstring LinuxHost::MachineId() {
    std::string text;
    if (!ReadWholeFile(L"/etc/machine-id", text))
        return {};
    return Trim(Utf8ToWide(text), kBlankChars);
}

void LinuxHost::Sleep(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform::posix
