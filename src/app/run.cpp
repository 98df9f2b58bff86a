#include "app/run.h"

#include "app/make_config.h"
#include "app/messages.h"
#include "app/run_modes.h"
#include "app/win_config.h"
#include "platform/described/described_machine.h"
#include "platform/instance_lock.h"
#include "platform/process_setup.h"
#include "platform/services.h"
#include "report/support_files.h"
#include "util/numbers.h"

bool IsSupportedWindowsVersion(bool ntFamily, unsigned major, unsigned minor) {
    if (!ntFamily || major < 5)
        return false;
    return !(major == 5 && minor == 0);
}

int EntryPoint(const std::vector<std::wstring>& words, CommandDialect dialect, int showCommand) {
    platform::InstanceLock lock;
    if (!lock.Held()) {
        platform::GetUi().ShowMessage(kAlreadyRunningText, kAlreadyRunningCaption,
                                      platform::MessageIcon::Error);
        return 0;
    }
    platform::ProcessSetup setup;
    return Run(words, dialect, showCommand);
}

int Run(const std::vector<std::wstring>& words, CommandDialect dialect, int showCommand) {
    platform::Host& host = platform::GetHost();
    platform::Ui& ui = platform::GetUi();
    if (auto version = host.GetWindowsVersion();
        version && !IsSupportedWindowsVersion(version->ntFamily, version->major, version->minor)) {
        ui.ShowMessage(kVersionNotSupportedText, kVersionNotSupportedCaption,
                       platform::MessageIcon::Error);
        return 0;
    }

    const CommandLine commandLine = ParseCommandLine(words, dialect);
    const bool posix = dialect == CommandDialect::Posix;
    if (commandLine.help) {
        ui.ShowMessage(posix ? kPosixHelpText : kWindowsHelpText, kHelpCaption,
                       platform::MessageIcon::Information);
        return 0;
    }
    if (commandLine.version) {
        const platform::FileVersion v = host.OwnFileVersion();
        ui.ShowMessage(L"Fennock " + IntToText(v.major) + L"." + IntToText(v.minor) + L"." +
                           IntToText(v.revision),
                       kHelpCaption, platform::MessageIcon::Information);
        return 0;
    }
    SetRunFlags(commandLine.flags);

    // A described machine stands in for this one for the rest of the run. It is a Windows
    // machine, so its configuration is the Windows one, over its registry.
    std::optional<platform::DescribedMachine> machine;
    std::optional<platform::ServicesScope> described;
    if (!commandLine.machineFile.empty()) {
        std::wstring error;
        machine = platform::DescribedMachine::Load(commandLine.machineFile, error);
        if (!machine) {
            ui.ShowMessage(error, kErrorCaption, platform::MessageIcon::Error);
            return 2;
        }
        described.emplace(machine->ServicesFor());
    }

    std::unique_ptr<CCommonConfig> config = machine ? std::make_unique<CWinConfig>() : MakeConfig();
    if (!commandLine.pathText.empty()) {
        // An expansion that names nothing (a path of just two quotes) keeps the default.
        const std::wstring folder = ExpandPathArgument(commandLine.pathText, host.PathSeparator());
        if (!folder.empty())
            config->SetOutputFolder(folder);
    }

    // The template the report is made from, and the files the report refers to.
    CSupportFiles supportFiles(config->GetDataFolder(), config->GetOutputFolder());
    supportFiles.ExtractAll();

    if (GetRunFlags().silent)
        return RunSilent(*config);
    return RunInteractive(*config, showCommand);
}
