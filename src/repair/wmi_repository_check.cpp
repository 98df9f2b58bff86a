#include "platform/files.h"
#include "platform/services.h"
#include "repair/diagnostic_texts.h"
#include "repair/diagnostics.h"
#include "util/numbers.h"

namespace {

// "Process" is looked up twice, so that it weighs two.
constexpr const wchar_t* kCoreSections[] = {
    L"Process",           L"BIOS",         L"OperatingSystem", L"ComputerSystem",
    L"MotherboardDevice", L"VideoController", L"Registry",     L"LogicalDisk",
    L"StartupCommand",    L"PhysicalMemory",  L"Process"};
constexpr int kQuestionThreshold = 4;
constexpr unsigned kCommandTimeoutMs = 30000;

constexpr wchar_t kRepositoryFolder[] = L"system32\\wbem\\Repository";
constexpr wchar_t kDeleteRepository[] =
    L"/C rmdir /S /Q \"%systemroot%\\system32\\wbem\\Repository\"";

// Stop the service, delete its repository, start it again; the start runs whatever
// happened before it. True when the repository is gone.
bool RebuildRepository(const std::wstring& repository) {
    platform::SystemCommands& commands = platform::GetSystemCommands();
    int error = commands.RunAndWait(L"net", L"stop winmgmt /yes", kCommandTimeoutMs);
    if (error == 0 && !platform::IsDirectory(repository))
        error = platform::kRunFailed;
    if (error == 0)
        error = commands.RunAndWait(L"cmd", kDeleteRepository, kCommandTimeoutMs);
    if (error == 0 && platform::IsDirectory(repository))
        error = platform::kRunFailed;
    commands.RunAndWait(L"net", L"start winmgmt /yes", kCommandTimeoutMs);
    return error == 0;
}

}  // namespace

int CountMissingCoreSections(const SessionData& session) {
    int missing = 0;
    for (const wchar_t* name : kCoreSections) {
        const auto section = session.find(name);
        if (section == session.end() || section->second.empty())
            ++missing;
    }
    return missing;
}

int CheckWmiRepository(const SessionData& session, RunControl& run) {
    // Only a Windows machine has the repository; the live Linux providers answer other
    // classes than WMI's and would often look "missing".
    const std::wstring windowsFolder = platform::GetHost().WindowsFolder();
    if (windowsFolder.empty())
        return 0;
    const int missing = CountMissingCoreSections(session);
    if (missing < kQuestionThreshold)
        return 0;

    platform::Ui& ui = platform::GetUi();
    switch (ui.Ask({kWmiRepositoryQuestion, kDiagnosticCaption,
                    L"the WMI repository looks damaged (" + IntToText(missing) +
                        L" of 11 core section weights without data)"})) {
        case platform::Answer::No:
            return 0;
        case platform::Answer::Cancel:
            run.Cancel();
            return 0;
        case platform::Answer::Yes:
            break;
    }
    run.Cancel();
    run.PostStatus(kWmiRepositoryRepairing);
    run.DisconnectWmi();
    if (!platform::GetSystemCommands().HaveWindowsCommands()) {
        ui.ShowMessage(kWmiRepositoryNothingToRepair, kNothingToRepairCaption,
                       platform::MessageIcon::Information);
        return 0;
    }
    const std::wstring repository =
        AppendWindowsPath(windowsFolder.substr(0, 260), kRepositoryFolder);
    if (!RebuildRepository(repository))
        ui.ShowMessage(kWmiRepositoryRepairFailed, kInsufficientAccessCaption,
                       platform::MessageIcon::Error);
    return 0;
}
