#include "config/registry_key.h"
#include "platform/services.h"
#include "platform/wql.h"
#include "repair/diagnostic_texts.h"
#include "repair/diagnostics.h"

namespace {

constexpr std::size_t kStartupCommandCap = 200;
constexpr wchar_t kShellFoldersKey[] =
    L"S-1-5-18\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr wchar_t kStartupValue[] = L"Startup";
constexpr wchar_t kStartupFolder[] =
    L"system32\\config\\systemprofile\\Start Menu\\Programs\\Startup";

}  // namespace

std::wstring AppendWindowsPath(const std::wstring& folder, const std::wstring& relative) {
    constexpr std::size_t kMaxPath = 260;
    std::wstring joined = folder;
    if (!joined.empty() && joined.back() != L'\\')
        joined += L'\\';
    joined += relative;
    return joined.size() < kMaxPath ? joined : folder;
}

int CheckStartupFolderRegistry(const SessionData& session, RunControl& run) {
    const auto section = session.find(L"StartupCommand");
    if (section == session.end() || section->second.size() < kStartupCommandCap)
        return 0;
    // The entry belongs to Windows: elsewhere there is nothing to compare.
    const std::wstring windowsFolder = platform::GetHost().WindowsFolder();
    if (windowsFolder.empty())
        return 0;
    const std::wstring expected = AppendWindowsPath(windowsFolder.substr(0, 260), kStartupFolder);

    // Anything but a readable text equal to the expected folder counts as the fault.
    bool problem = true;
    CRegistryKey key;
    if (key.Open(platform::kUsers, kShellFoldersKey, platform::kKeyRead) == 0) {
        if (auto value = ReadStringValue(key, kStartupValue))
            problem = platform::WqlFold(*value) != platform::WqlFold(expected);
    }
    if (!problem)
        return 0;

    platform::Ui& ui = platform::GetUi();
    switch (ui.Ask({kStartupFolderQuestion, kDiagnosticCaption,
                    L"the Startup folder entry of the system account's shell folders is "
                    L"wrong, so the startup commands may be incomplete"})) {
        case platform::Answer::Yes:
            run.Cancel();
            run.PostStatus(kStartupFolderRepairing);
            if (WriteStringValue(platform::kUsers, kShellFoldersKey, expected, kStartupValue) != 0)
                ui.ShowMessage(kStartupFolderRepairFailed, kInsufficientAccessCaption,
                               platform::MessageIcon::Error);
            break;
        case platform::Answer::No:
            break;
        case platform::Answer::Cancel:
            run.Cancel();
            break;
    }
    return 0;
}
