#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/linux/live/packages/machine_bits.h"
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

// A folder of this user's that nobody else may write: nothing can be put in it ahead of a run.
bool IsPrivateFolder(const std::wstring& folder) {
    struct stat status {};
    return ::stat(WideToUtf8(folder).c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
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

// An XDG base folder: the variable when it is an absolute path, else the home folder's
// default.
std::wstring BaseFolder(const wchar_t* variable, const wchar_t* underHome) {
    if (auto xdg = EnvironmentValue(variable); xdg && !xdg->empty() && (*xdg)[0] == L'/')
        return *xdg;
    if (auto home = HomeFolder(); !home.empty())
        return WithSlash(home) + underHome;
    return {};
}

}  // namespace

// The XDG base-directory rule: $XDG_DATA_HOME, else ~/.local/share.
std::wstring LinuxHost::DataFolder() {
    const std::wstring base = BaseFolder(L"XDG_DATA_HOME", L".local/share");
    return base.empty() ? std::wstring() : WithSlash(base) + L"fennock/";
}

// Reports go where no other local user can be first: a shared /tmp lets anyone plant a link
// or a pipe under the report's name. $TMPDIR serves only when it is already private; else the
// per-user cache folder, which the run creates private.
std::wstring LinuxHost::TempFolder() {
    if (auto tmp = EnvironmentValue(L"TMPDIR"); tmp && !tmp->empty() && IsPrivateFolder(*tmp))
        return WithSlash(*tmp);
    const std::wstring base = BaseFolder(L"XDG_CACHE_HOME", L".cache");
    return base.empty() ? std::wstring() : WithSlash(base) + L"fennock/";
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
