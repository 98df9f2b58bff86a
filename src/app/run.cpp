#include "app/run.h"

#include <optional>

#include "app/messages.h"
#include "app/run_modes.h"
#include "config/make_config.h"
#include "config/win_config.h"
#include "platform/described/described_machine.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/process_setup.h"
#include "platform/services.h"
#include "report/support_files.h"
#include "ui/front_end.h"
#include "util/numbers.h"

bool IsSupportedWindowsVersion(bool ntFamily, unsigned major, unsigned minor) {
    if (!ntFamily || major < 5)
        return false;
    return !(major == 5 && minor == 0);
}

namespace {

// The machine being inventoried: the one the program runs on, or a described one.
bool RefuseUnsupportedWindows() {
    auto version = platform::GetHost().GetWindowsVersion();
    if (!version || IsSupportedWindowsVersion(version->ntFamily, version->major, version->minor))
        return false;
    platform::GetUi().ShowMessage(kVersionNotSupportedText, kVersionNotSupportedCaption,
                                  platform::MessageIcon::Error);
    return true;
}

// A folder that another user could change would let them choose what a run reads (the
// template, the database) or where it writes; the run stops before writing anything.
bool RefuseFolder(const std::wstring& what, const std::wstring& folder) {
    const std::wstring problem = platform::PrepareOwnFolder(folder);
    if (problem.empty())
        return false;
    platform::GetUi().ShowMessage(L"The " + what + L" '" + folder + L"' " + problem +
                                      L". Fennock took no inventory: the folder must be "
                                      L"your own, not a link, and writable by nobody else.",
                                  kErrorCaption, platform::MessageIcon::Error);
    return true;
}

// The single-instance guard; false (after saying so) when another run holds it.
bool TakeLock(std::optional<platform::InstanceLock>& lock) {
    lock.emplace();
    if (lock->Held())
        return true;
    platform::GetUi().ShowMessage(kAlreadyRunningText, kAlreadyRunningCaption,
                                  platform::MessageIcon::Error);
    return false;
}

}  // namespace

int EntryPoint(const std::vector<std::wstring>& words, CommandDialect dialect, int showCommand) {
    platform::ProcessSetup setup;
    return Run(words, dialect, showCommand);
}

int Run(const std::vector<std::wstring>& words, CommandDialect dialect, int showCommand) {
    platform::Ui& ui = platform::GetUi();
    // The Windows program holds its mutex from the first moment, help included, as a second
    // instance expects; a mutex leaves nothing behind. The terminal program's lock is a file
    // in the data folder: it is taken once that folder is known to be safe, and never for a
    // command line that only prints.
    std::optional<platform::InstanceLock> lock;
    if (dialect == CommandDialect::Windows && !TakeLock(lock))
        return 0;
    if (RefuseUnsupportedWindows())
        return 0;

    const CommandLine commandLine = ParseCommandLine(words, dialect);
    const bool posix = dialect == CommandDialect::Posix;
    if (commandLine.help) {
        ui.ShowMessage(posix ? kPosixHelpText : kWindowsHelpText, kHelpCaption,
                       platform::MessageIcon::Information);
        return 0;
    }
    if (commandLine.version) {
        const platform::FileVersion v = platform::GetHost().OwnFileVersion();
        ui.ShowMessage(L"Fennock " + IntToText(v.major) + L"." + IntToText(v.minor) + L"." +
                           IntToText(v.revision),
                       kHelpCaption, platform::MessageIcon::Information);
        return 0;
    }
    if (commandLine.about) {
        ui::SystemFrontEnd().ShowAbout();
        return 0;
    }
    if (commandLine.licence) {
        ui::SystemFrontEnd().ShowLicence(false);
        return 0;
    }
    // Everything above only prints: it makes no folder and no file.
    SetRunFlags(commandLine.flags);

    // The licence agreement is between the program and the person who runs it, so it is
    // recorded where this system keeps it, also when the inventory is of another machine.
    std::unique_ptr<CCommonConfig> own = MakeConfig();

    // A described machine stands in for this one for the rest of the run. It is a Windows
    // machine, so its configuration is the Windows one, over its registry.
    std::optional<platform::DescribedMachine> machine;
    std::optional<platform::ServicesScope> described;
    if (!commandLine.machineFile.empty()) {
        std::wstring error;
        machine =
            platform::DescribedMachine::Load(commandLine.machineFile, error, platform::GetHost());
        if (!machine) {
            ui.ShowMessage(error, kErrorCaption, platform::MessageIcon::Error);
            return 2;
        }
        described.emplace(machine->ServicesFor());
        if (RefuseUnsupportedWindows())
            return 0;
    }

    std::unique_ptr<CCommonConfig> config =
        machine ? std::make_unique<CWinConfig>() : std::move(own);
    if (RefuseFolder(L"data folder", config->GetDataFolder()))
        return 1;
    if (!lock && !TakeLock(lock))
        return 0;

    // An expansion that names nothing (a path of just two quotes) keeps the default. The
    // default must be as private as the data folder; a folder the person names is theirs.
    const std::wstring named =
        commandLine.pathText.empty()
            ? std::wstring()
            : ExpandPathArgument(commandLine.pathText, platform::GetHost().PathSeparator());
    if (!named.empty())
        config->SetOutputFolder(named);
    else if (RefuseFolder(L"report folder", config->GetOutputFolder()))
        return 1;

    // The template the report is made from, and the files the report refers to.
    CSupportFiles supportFiles(config->GetDataFolder(), config->GetOutputFolder());
    if (const std::wstring problem = supportFiles.ExtractAll(); !problem.empty()) {
        ui.ShowMessage(problem, kErrorCaption, platform::MessageIcon::Error);
        return 1;
    }

    if (GetRunFlags().silent)
        return RunSilent(*config);
    return RunInteractive(*config, own ? *own : *config, showCommand);
}
