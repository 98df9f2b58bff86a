#include <gtest/gtest.h>

#include "app/messages.h"
#include "app/run.h"
#include "app/run_modes.h"
#include "config/win_config.h"
#include "fake_front_end.h"
#include "fake_host.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/memory_registry.h"
#include "platform/services.h"
#include "recording_ui.h"
#include "temp_folder.h"

using namespace platform;

namespace {

class RunTest : public ::testing::Test {
  protected:
    RunTest() : scope_(Services{&registry_, &host_, &ui_}) {
        host_.dataFolder = data_.Slashed();
        host_.tempFolder = data_.Slashed() + L"temp/";
        host_.windowsVersion = WindowsVersion{true, 6, 1};
        SetRunFlags({});
    }

    int RunWindows(const std::wstring& line) {
        return ::Run(SplitCommandLine(line), CommandDialect::Windows, 1);
    }

    TempFolder data_;
    FakeHost host_;
    MemoryRegistry registry_;
    RecordingUi ui_;
    ServicesScope scope_;
};

TEST_F(RunTest, HelpIsShownAndNothingElseHappens) {
    EXPECT_EQ(0, RunWindows(L"/silent /?"));
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(kWindowsHelpText, ui_.messages[0].text);
    EXPECT_EQ(L"Fennock Help", ui_.messages[0].caption);
    EXPECT_EQ(MessageIcon::Information, ui_.messages[0].icon);
    EXPECT_FALSE(GetRunFlags().silent) << "flags are not set when help is asked for";
    EXPECT_FALSE(FileExists(data_.Slashed() + L"inventory.ini"));
}

// Asking how to use the program leaves no trace: no data folder, no lock file.
TEST_F(RunTest, PosixHelpAndVersionCreateNothing) {
    host_.dataFolder = data_.Slashed() + L"share/fennock/";
    EXPECT_EQ(0, EntryPoint({L"--help"}, CommandDialect::Posix, 0));
    EXPECT_EQ(0, EntryPoint({L"--version"}, CommandDialect::Posix, 0));
    ASSERT_EQ(2u, ui_.messages.size());
    EXPECT_EQ(kPosixHelpText, ui_.messages[0].text);
    EXPECT_EQ(L"Fennock 1.0.32278", ui_.messages[1].text);
    EXPECT_FALSE(FileExists(data_.Slashed() + L"share"));
}

struct VersionCase {
    bool nt;
    unsigned major, minor;
    bool accepted;
};

class VersionGate : public RunTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionGate, RefusesOldWindows) {
    const VersionCase& c = GetParam();
    host_.windowsVersion = WindowsVersion{c.nt, c.major, c.minor};
    EXPECT_EQ(0, RunWindows(L"/?"));
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(c.accepted ? L"Fennock Help" : L"Version Not Supported", ui_.messages[0].caption);
    if (!c.accepted) {
        EXPECT_EQ(kVersionNotSupportedText, ui_.messages[0].text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionGate,
    ::testing::Values(VersionCase{false, 4, 90, false}, VersionCase{true, 4, 0, false},
                      VersionCase{true, 5, 0, false}, VersionCase{true, 5, 1, true},
                      VersionCase{true, 5, 2, true}, VersionCase{true, 10, 0, true}));

TEST_F(RunTest, NonWindowsHostHasNoGate) {
    host_.windowsVersion.reset();
    EXPECT_EQ(0, ::Run({L"--help"}, CommandDialect::Posix, 0));
    EXPECT_EQ(kPosixHelpText, ui_.messages.at(0).text);
}

TEST_F(RunTest, SilentRunSetsTheFlagsAndWritesNoRecordedVersion) {
    EXPECT_EQ(0, RunWindows(L"/silent /yaml /diff"));
    EXPECT_TRUE(GetRunFlags().silent);
    EXPECT_TRUE(GetRunFlags().yaml);
    EXPECT_TRUE(GetRunFlags().diff);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(0u, registry_.OpenKeyCount());
}

// Any answer to the agreement but Accept ends the program with that answer, nothing
// recorded; Accept records the version before the progress display starts.
TEST_F(RunTest, InteractiveRunAsksForTheAgreementOncePerVersion) {
    struct Case {
        int answer;
        int exitCode;
        bool recorded;
    };
    for (const Case c : {Case{ui::kLicenceRefused, 2, false}, Case{ui::kLicenceNotShown, -1, false},
                         Case{ui::kLicenceAccepted, 129, true}}) {
        CWinConfig config;
        FakeFrontEnd frontEnd;
        frontEnd.licenceAnswer = c.answer;
        EXPECT_TRUE(config.NeedsAgreement());
        EXPECT_EQ(c.exitCode, RunInteractive(config, config, 1, frontEnd));
        EXPECT_EQ(std::vector<bool>{true}, frontEnd.licences);
        EXPECT_EQ(c.recorded ? 1 : 0, frontEnd.progressRuns);
        EXPECT_EQ(c.recorded, !CWinConfig().NeedsAgreement());
        if (c.recorded) {
            EXPECT_EQ(32278, frontEnd.recordedRevisionAtProgress);
        }
    }
    // Once accepted, the same version asks no more; the version is recorded again.
    CWinConfig config;
    FakeFrontEnd frontEnd;
    frontEnd.progressResult = 7;
    EXPECT_EQ(7, RunInteractive(config, config, 1, frontEnd));
    EXPECT_TRUE(frontEnd.licences.empty());
    EXPECT_EQ(1, frontEnd.progressRuns);
}

// The gate looks at the machine being inventoried: a described Windows 2000 or 98 is refused
// as the program would be on it.
TEST_F(RunTest, DescribedOldWindowsIsRefused) {
    for (const char* version : {"5.0", "4.10"}) {
        ui_.messages.clear();
        const std::wstring machine = data_.Slashed() + L"old.json";
        ASSERT_TRUE(WriteWholeFile(
            machine, std::string(R"({"host": {"windowsVersion": ")") + version + R"("}})"));
        EXPECT_EQ(0, ::Run({L"--silent", L"--machine", machine}, CommandDialect::Posix, 0));
        ASSERT_EQ(1u, ui_.messages.size()) << version;
        EXPECT_EQ(L"Version Not Supported", ui_.messages[0].caption);
        EXPECT_FALSE(FileExists(data_.Slashed() + L"inventory.db"));
    }
    const std::wstring machine = data_.Slashed() + L"xp.json";
    ASSERT_TRUE(WriteWholeFile(machine, R"({"host": {"windowsVersion": "5.1"}})"));
    ui_.messages.clear();
    // YAML: its report needs no template from the program's resources.
    EXPECT_EQ(0, ::Run({L"--silent", L"--yaml", L"--machine", machine}, CommandDialect::Posix, 0));
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(FileExists(data_.Slashed() + L"inventory.db"));
}

// The data folder is checked before anything is written, the report folder included.
TEST_F(RunTest, AnUnusableDataFolderStopsTheRunFirst) {
    ASSERT_TRUE(WriteWholeFile(data_.Slashed() + L"blocked", "x"));
    host_.dataFolder = data_.Slashed() + L"blocked/fennock/";
    EXPECT_EQ(1, ::Run({L"--silent"}, CommandDialect::Posix, 0));
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(0u, ui_.messages[0].text.rfind(L"The data folder '" + host_.dataFolder + L"' ", 0));
    EXPECT_EQ(MessageIcon::Error, ui_.messages[0].icon);
    EXPECT_FALSE(FileExists(host_.tempFolder));
}

TEST_F(RunTest, SecondInstanceIsRefused) {
    TempFolder runtime;
    SetEnvironmentValue(L"XDG_RUNTIME_DIR", runtime.path().wstring());
    InstanceLock first;
    ASSERT_TRUE(first.Held());
    EXPECT_EQ(0, EntryPoint({L"--silent"}, CommandDialect::Posix, 0));
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(kAlreadyRunningText, ui_.messages[0].text);
    EXPECT_EQ(L"Already Running", ui_.messages[0].caption);
    EXPECT_EQ(MessageIcon::Error, ui_.messages[0].icon);
}

// The Windows program meets a running instance before anything else, help included; on a
// terminal, help only prints and needs no guard.
TEST_F(RunTest, OnlyTheWindowsProgramGuardsItsHelp) {
    InstanceLock first;
    ASSERT_TRUE(first.Held());
    EXPECT_EQ(0, RunWindows(L"/?"));
    EXPECT_EQ(0, ::Run({L"--help"}, CommandDialect::Posix, 0));
    ASSERT_EQ(2u, ui_.messages.size());
    EXPECT_EQ(kAlreadyRunningText, ui_.messages[0].text);
    EXPECT_EQ(kPosixHelpText, ui_.messages[1].text);
}

}  // namespace
