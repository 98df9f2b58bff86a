// The Startup-folder and WMI-repository checks against doubles of the registry, the user,
// the system's commands and the run.
#include <gtest/gtest.h>

#include "fake_host.h"
#include "fake_system_commands.h"
#include "platform/files.h"
#include "platform/memory_registry.h"
#include "platform/services.h"
#include "recording_ui.h"
#include "repair/diagnostic_texts.h"
#include "repair/diagnostics.h"
#include "temp_folder.h"

using namespace platform;

namespace {

constexpr wchar_t kShellFolders[] =
    L"S-1-5-18\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr wchar_t kExpected[] =
    L"C:\\Windows\\system32\\config\\systemprofile\\Start Menu\\Programs\\Startup";

class RecordingRun : public RunControl {
  public:
    bool cancelled = false;
    bool disconnected = false;
    std::vector<std::wstring> statuses;
    void Cancel() override { cancelled = true; }
    void PostStatus(const std::wstring& text) override { statuses.push_back(text); }
    void DisconnectWmi() override { disconnected = true; }
};

// Refuses every write, as HKEY_USERS does for a user who is not an administrator.
class ReadOnlyRegistry : public MemoryRegistry {
  public:
    RegError SetValue(RegKey, const wchar_t*, std::uint32_t, const void*, std::uint32_t) override {
        return kErrorAccessDenied;
    }
};

SessionData WithStartupCommands(std::size_t count) {
    SessionData session;
    session[L"StartupCommand"].resize(count, SessionItem{{L"Name", L"x"}});
    return session;
}

class DiagnosticsTest : public ::testing::Test {
  protected:
    DiagnosticsTest() { host_.windowsFolder = L"C:\\Windows"; }

    void Use(Registry& registry) {
        scope_.emplace(Services{.registry = &registry, .host = &host_, .ui = &ui_,
                                .commands = &commands_});
    }
    std::optional<std::wstring> StartupValue(MemoryRegistry& registry) {
        RegKey key = 0;
        if (registry.OpenKey(kUsers, kShellFolders, kKeyRead, &key) != 0)
            return std::nullopt;
        std::uint32_t type = 0, bytes = 0;
        std::optional<std::wstring> value;
        if (registry.QueryValue(key, L"Startup", &type, nullptr, &bytes) == 0) {
            std::wstring text(bytes / 2, L'\0');
            registry.QueryValue(key, L"Startup", &type, text.data(), &bytes);
            value = text.c_str();
        }
        registry.CloseKey(key);
        return value;
    }

    FakeHost host_;
    RecordingUi ui_;
    FakeSystemCommands commands_;
    RecordingRun run_;
    std::optional<ServicesScope> scope_;
};

TEST_F(DiagnosticsTest, StartupCheckLooksOnlyAtAFullListWithAWrongEntry) {
    MemoryRegistry registry;
    Use(registry);
    // 199 items: the registry is not even read, whatever it holds.
    CheckStartupFolderRegistry(WithStartupCommands(199), run_);
    CheckStartupFolderRegistry(SessionData{}, run_);
    EXPECT_TRUE(ui_.questions.empty());

    // 200 items and the right folder in other letter case: no question.
    registry.PutString(kUsers, kShellFolders, L"Startup",
                       L"c:\\WINDOWS\\System32\\Config\\SystemProfile\\start menu\\programs\\startup");
    CheckStartupFolderRegistry(WithStartupCommands(200), run_);
    EXPECT_TRUE(ui_.questions.empty());
    EXPECT_FALSE(run_.cancelled);

    // Not Windows: nothing to compare, however many items.
    host_.windowsFolder.clear();
    registry.PutString(kUsers, kShellFolders, L"Startup", L"D:\\Elsewhere");
    CheckStartupFolderRegistry(WithStartupCommands(250), run_);
    EXPECT_TRUE(ui_.questions.empty());
}

TEST_F(DiagnosticsTest, StartupAnswers) {
    struct Case {
        Answer answer;
        bool cancelled;
        bool repaired;
    };
    for (const Case c : {Case{Answer::No, false, false}, Case{Answer::Cancel, true, false},
                         Case{Answer::Yes, true, true}}) {
        MemoryRegistry registry;
        registry.PutKey(kUsers, kShellFolders);  // the key, without the value
        Use(registry);
        ui_ = RecordingUi{};
        ui_.answers = {c.answer};
        run_ = RecordingRun{};
        CheckStartupFolderRegistry(WithStartupCommands(200), run_);
        ASSERT_EQ(1u, ui_.questions.size());
        EXPECT_EQ(kStartupFolderQuestion, ui_.questions[0].text);
        EXPECT_EQ(L"Problem with Startup Commands", ui_.questions[0].caption);
        EXPECT_FALSE(ui_.questions[0].problem.empty());
        EXPECT_EQ(c.cancelled, run_.cancelled);
        EXPECT_EQ(c.repaired ? std::optional<std::wstring>(kExpected) : std::nullopt,
                  StartupValue(registry));
        EXPECT_EQ(c.repaired ? std::vector<std::wstring>{L"Now repairing the registry..."}
                             : std::vector<std::wstring>{},
                  run_.statuses);
        EXPECT_TRUE(ui_.messages.empty());
    }
}

TEST_F(DiagnosticsTest, StartupRepairThatCannotWriteSaysSo) {
    ReadOnlyRegistry registry;
    registry.PutString(kUsers, kShellFolders, L"Startup", L"C:\\Windows\\Temp");
    Use(registry);
    ui_.answers = {Answer::Yes};
    CheckStartupFolderRegistry(WithStartupCommands(200), run_);
    EXPECT_TRUE(run_.cancelled) << "the run ends as after any Yes";
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(L"Insufficient Access", ui_.messages[0].caption);
    EXPECT_EQ(kStartupFolderRepairFailed, ui_.messages[0].text);
    EXPECT_EQ(MessageIcon::Error, ui_.messages[0].icon);
}

TEST_F(DiagnosticsTest, StartupValueOfAnotherTypeCountsAsWrong) {
    MemoryRegistry registry;
    registry.PutString(kUsers, kShellFolders, L"Startup", kExpected, kRegExpandSz);
    Use(registry);
    CheckStartupFolderRegistry(WithStartupCommands(200), run_);
    EXPECT_EQ(1u, ui_.questions.size());
}

TEST_F(DiagnosticsTest, ExpectedFolderFollowsTheWindowsFolder) {
    EXPECT_EQ(L"D:\\WinNT\\a\\b", AppendWindowsPath(L"D:\\WinNT\\", L"a\\b"));
    EXPECT_EQ(L"D:\\WinNT\\a\\b", AppendWindowsPath(L"D:\\WinNT", L"a\\b"));
    const std::wstring deep(250, L'x');
    EXPECT_EQ(deep, AppendWindowsPath(deep, L"system32\\wbem\\Repository"));
}

SessionData Sections(std::initializer_list<const wchar_t*> present) {
    SessionData session;
    for (const wchar_t* name : present)
        session[name].push_back(SessionItem{{L"Name", L"x"}});
    return session;
}

TEST_F(DiagnosticsTest, MissingSectionsCountProcessTwice) {
    const auto all = {L"Process",        L"BIOS",           L"OperatingSystem",
                      L"ComputerSystem", L"MotherboardDevice", L"VideoController",
                      L"Registry",       L"LogicalDisk",    L"StartupCommand",
                      L"PhysicalMemory"};
    EXPECT_EQ(0, CountMissingCoreSections(Sections(all)));
    EXPECT_EQ(11, CountMissingCoreSections({}));
    // Only the processes missing: 2, no question.
    EXPECT_EQ(2, CountMissingCoreSections(Sections({L"BIOS", L"OperatingSystem",
                                                    L"ComputerSystem", L"MotherboardDevice",
                                                    L"VideoController", L"Registry",
                                                    L"LogicalDisk", L"StartupCommand",
                                                    L"PhysicalMemory"})));
    // An empty section is as missing as an absent one.
    SessionData session = Sections(all);
    session[L"BIOS"].clear();
    EXPECT_EQ(1, CountMissingCoreSections(session));

    MemoryRegistry registry;
    Use(registry);
    // Three other sections missing: 3, no question; the processes and two others: 4.
    CheckWmiRepository(Sections({L"Process", L"BIOS", L"OperatingSystem", L"ComputerSystem",
                                 L"MotherboardDevice", L"VideoController", L"Registry"}),
                       run_);
    EXPECT_TRUE(ui_.questions.empty());
    CheckWmiRepository(Sections({L"BIOS", L"OperatingSystem", L"ComputerSystem",
                                 L"MotherboardDevice", L"VideoController", L"Registry",
                                 L"PhysicalMemory"}),
                       run_);
    ASSERT_EQ(1u, ui_.questions.size());
    EXPECT_EQ(kWmiRepositoryQuestion, ui_.questions[0].text);
    EXPECT_EQ(L"Problem with Startup Commands", ui_.questions[0].caption);
    EXPECT_FALSE(run_.cancelled) << "No goes on";
    EXPECT_TRUE(commands_.runs.empty());
}

class WmiRepairTest : public DiagnosticsTest {
  protected:
    WmiRepairTest() {
        host_.windowsFolder = windows_.Slashed();
        repository_ = AppendWindowsPath(windows_.Slashed(), L"system32\\wbem\\Repository");
        Use(registry_);
        ui_.answers = {Answer::Yes};
    }
    std::vector<std::wstring> Programs() {
        std::vector<std::wstring> programs;
        for (const auto& run : commands_.runs)
            programs.push_back(run.program + L" " + run.parameters);
        return programs;
    }

    TempFolder windows_;
    std::wstring repository_;
    MemoryRegistry registry_;
};

const std::wstring kStop = L"net stop winmgmt /yes";
const std::wstring kDelete = L"cmd /C rmdir /S /Q \"%systemroot%\\system32\\wbem\\Repository\"";
const std::wstring kStart = L"net start winmgmt /yes";

TEST_F(WmiRepairTest, RepairStopsDeletesAndStarts) {
    ASSERT_TRUE(CreateFolders(repository_));
    commands_.onRun = [&](const FakeSystemCommands::Run& run) {
        if (run.program == L"cmd")
            RemoveFile(repository_);
    };
    CheckWmiRepository({}, run_);
    EXPECT_EQ((std::vector<std::wstring>{kStop, kDelete, kStart}), Programs());
    for (const auto& run : commands_.runs)
        EXPECT_EQ(30000u, run.timeoutMs);
    EXPECT_TRUE(run_.cancelled);
    EXPECT_TRUE(run_.disconnected);
    EXPECT_EQ(std::vector<std::wstring>{L"Now repairing the WMI repository..."}, run_.statuses);
    EXPECT_TRUE(ui_.messages.empty()) << "a repair that worked says nothing";
}

TEST_F(WmiRepairTest, MissingRepositoryIsNotDeletedAndTheServiceStillStarts) {
    CheckWmiRepository({}, run_);
    EXPECT_EQ((std::vector<std::wstring>{kStop, kStart}), Programs());
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(kWmiRepositoryRepairFailed, ui_.messages[0].text);
    EXPECT_EQ(L"Insufficient Access", ui_.messages[0].caption);
}

TEST_F(WmiRepairTest, CommandThatTimesOutEndsTheRepair) {
    ASSERT_TRUE(CreateFolders(repository_));
    commands_.results[kStop] = kRunTimedOut;
    CheckWmiRepository({}, run_);
    EXPECT_EQ((std::vector<std::wstring>{kStop, kStart}), Programs());
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(L"Insufficient Access", ui_.messages[0].caption);
}

TEST_F(WmiRepairTest, RepositoryThatSurvivesTheDeleteFailsTheRepair) {
    ASSERT_TRUE(CreateFolders(repository_));
    CheckWmiRepository({}, run_);
    EXPECT_EQ((std::vector<std::wstring>{kStop, kDelete, kStart}), Programs());
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(kWmiRepositoryRepairFailed, ui_.messages[0].text);
}

TEST_F(WmiRepairTest, CancelEndsTheRunWithoutRepairing) {
    ui_.answers = {Answer::Cancel};
    CheckWmiRepository({}, run_);
    EXPECT_TRUE(run_.cancelled);
    EXPECT_FALSE(run_.disconnected);
    EXPECT_TRUE(commands_.runs.empty());
    EXPECT_TRUE(run_.statuses.empty());
}

TEST_F(WmiRepairTest, WithoutWindowsCommandsThereIsNothingToRun) {
    commands_.windowsCommands = false;
    CheckWmiRepository({}, run_);
    EXPECT_TRUE(commands_.runs.empty());
    EXPECT_TRUE(run_.cancelled);
    ASSERT_EQ(1u, ui_.messages.size());
    EXPECT_EQ(kWmiRepositoryNothingToRepair, ui_.messages[0].text);
    EXPECT_EQ(MessageIcon::Information, ui_.messages[0].icon);
}

}  // namespace
