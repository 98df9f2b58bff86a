// Whole runs of the collector against doubles of the system and a real store file.
#include <gtest/gtest.h>

#include "collect/inventory_collector.h"
#include "collect/worker_task.h"
#include "config/linux_config.h"
#include "fake_host.h"
#include "fake_platform_info.h"
#include "fake_service_manager.h"
#include "fake_system_commands.h"
#include "fake_wmi.h"
#include "platform/files.h"
#include "platform/memory_registry.h"
#include "platform/services.h"
#include "recording_poster.h"
#include "recording_ui.h"
#include "store/sqlite3x.h"
#include "temp_folder.h"

using namespace platform;

namespace {

constexpr ProgressWindow kWindow = 0x1234;

class CollectorTest : public ::testing::Test {
  protected:
    CollectorTest()
        : registry_(MemoryRegistry::Layout{true, true}),
          scope_(Services{&registry_, &host_, &ui_, &wmi_, &services_, &poster_, &commands_,
                          &platform_}) {
        platform_.facts.osFamily = L"Linux";
        host_.dataFolder = data_.Slashed();
        host_.tempFolder = data_.Slashed();
        host_.wow64 = true;
        // The template the run's support files would have written.
        WriteWholeFile(data_.Slashed() + L"inventory.html.tpl",
                       "<html>\r\n@@__m_biosName__@@\r\n</html>\r\n");
        wmi_.results[L"Select * from Win32_BIOS"] = {
            {{L"Name", WmiValue::String(L"BIOS 1.0")}, {L"Version", WmiValue::String(L"1")}}};
        wmi_.results[L"Select * from Win32_Process"] = {
            {{L"Name", WmiValue::String(L"a.exe")}, {L"CommandLine", WmiValue::String(L"a")}},
            {{L"Name", WmiValue::String(L"b.exe")}, {L"CommandLine", WmiValue::String(L"b")}}};
        services_.listing.services = {
            {L"svc", L"A Service", {16, 4, 1, 0, 0, 0, 0}, L"Running", L"Auto"}};
        registry_.PutString(kLocalMachine,
                            L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\"
                            L"Uninstall\\App",
                            L"DisplayName", L"App");
    }

    int Scalar(const std::string& sql) {
        sqlite3x::sqlite3_connection db;
        db.open(data_.Slashed() + L"inventory.db");
        return db.scalar_int(sql);
    }

    // Kinds of the messages posted, status texts left out.
    std::vector<unsigned> Kinds() {
        std::vector<unsigned> kinds;
        for (const auto& m : poster_.Messages())
            kinds.push_back(m.kind);
        return kinds;
    }

    TempFolder data_;
    FakeHost host_;
    MemoryRegistry registry_;
    RecordingUi ui_;
    FakeWmi wmi_;
    FakeServiceManager services_;
    RecordingPoster poster_;
    FakeSystemCommands commands_;
    FakePlatformInfo platform_;
    ServicesScope scope_;
};

TEST_F(CollectorTest, SilentRunStoresAndKeepsTheSession) {
    CLinuxConfig config;
    for (int run = 0; run < 2; ++run) {
        CInventoryCollector collector(config, RunFlags{true});
        ASSERT_EQ(0, collector.Initialize(0, config.GetDataFolder(), config.GetOutputFolder()));
        EXPECT_EQ(0, collector.Gather());
        EXPECT_EQ(0, collector.Finish());
        EXPECT_EQ(L"", collector.GetStore().GetErrorText());
    }
    EXPECT_TRUE(poster_.Messages().empty()) << "nothing is posted without a window";
    EXPECT_EQ(1, Scalar("SELECT COUNT(*) FROM session"));
    EXPECT_EQ(1, Scalar("SELECT COUNT(*) FROM session WHERE status_type_id = 2"));
    // Version, BIOS, two processes, one program, one service, the platform.
    EXPECT_EQ(7, Scalar("SELECT COUNT(*) FROM session_item"));
    EXPECT_EQ(1, Scalar("SELECT COUNT(*) FROM session_item si JOIN query q ON q.id = "
                        "si.query_id WHERE q.name = 'Platform' AND si.key_value = 'Linux'"));
    EXPECT_EQ(1, Scalar("SELECT COUNT(*) FROM session_item si JOIN query q ON q.id = "
                        "si.query_id WHERE q.name = 'InstalledSoftware32'"));
    EXPECT_TRUE(ui_.failures.empty());
}

TEST_F(CollectorTest, ProgressMessagesInOrder) {
    CLinuxConfig config;
    CInventoryCollector collector(config, RunFlags{});
    ASSERT_EQ(0, collector.Initialize(kWindow, config.GetDataFolder(), config.GetOutputFolder()));
    collector.Gather();
    collector.Finish();
    const auto messages = poster_.Messages();
    ASSERT_EQ(1u + 31 * 2 + 2 + 1, messages.size());
    EXPECT_EQ(PROGRESS_RANGE, messages[0].kind);
    EXPECT_EQ(31, messages[0].value);
    EXPECT_EQ(L"Now gathering Version information...", messages[1].text);
    EXPECT_EQ(PROGRESS_POSITION, messages[2].kind);
    EXPECT_EQ(0, messages[2].value);
    EXPECT_EQ(L"Now gathering Processor information...", messages[51].text);
    EXPECT_EQ(25, messages[52].value);
    EXPECT_EQ(L"Now creating inventory report...", messages[63].text);
    EXPECT_EQ(PROGRESS_POSITION, messages[64].kind);
    EXPECT_EQ(31, messages[64].value);
    EXPECT_EQ(PROGRESS_DONE, messages.back().kind);
}

TEST_F(CollectorTest, CancelDuringAQueryStopsAfterIt) {
    CLinuxConfig config;
    {
        CInventoryCollector first(config, RunFlags{true});
        first.Initialize(0, config.GetDataFolder(), config.GetOutputFolder());
        first.Gather();
        first.Finish();
    }
    CInventoryCollector collector(config, RunFlags{});
    // Cancelled while the process list (query 2 of 31) is being read.
    wmi_.onFetch = [&](const std::wstring& wql) {
        if (wql == L"Select * from Win32_Process")
            collector.Cancel();
    };
    ASSERT_EQ(0, collector.Initialize(kWindow, config.GetDataFolder(), config.GetOutputFolder()));
    collector.Gather();
    collector.Finish();

    const auto messages = poster_.Messages();
    ASSERT_GE(messages.size(), 7u);
    EXPECT_EQ(L"Now gathering Process information...", messages[3].text);
    // The process query finished; no later query started.
    const auto& last = messages[messages.size() - 2];
    EXPECT_EQ(PROGRESS_POSITION, last.kind);
    EXPECT_EQ(31, last.value);
    EXPECT_EQ(PROGRESS_STOPPED, messages.back().kind);
    EXPECT_EQ(7u, messages.size());
    // The first run sent 25 statements; the second stopped after its first.
    ASSERT_EQ(26u, wmi_.statements.size());
    EXPECT_EQ(L"Select * from Win32_Process", wmi_.statements.back());
    // The cancelled session is gone; the kept one is untouched.
    EXPECT_EQ(1, Scalar("SELECT COUNT(*) FROM session"));
    EXPECT_EQ(1, Scalar("SELECT COUNT(*) FROM session WHERE status_type_id = 2"));
    EXPECT_EQ(7, Scalar("SELECT COUNT(*) FROM session_item"));
}

TEST_F(CollectorTest, UnusableStoreEndsTheRunAsAFailure) {
    // A file where the data folder should be: nothing can be created below it.
    host_.dataFolder = data_.Slashed() + L"file/";
    ASSERT_TRUE(platform::WriteWholeFile(data_.Slashed() + L"file", "x"));
    CLinuxConfig config;
    CInventoryCollector collector(config, RunFlags{});
    EXPECT_EQ(1, collector.Initialize(kWindow, config.GetDataFolder(), config.GetOutputFolder()));
    collector.Finish();
    EXPECT_EQ(std::vector<unsigned>{PROGRESS_STOPPED}, Kinds());
    ASSERT_EQ(1u, ui_.failures.size());
    EXPECT_NE(std::wstring::npos, ui_.failures[0].find(L"Could not create DB at '"));
}

TEST_F(CollectorTest, FailureWhileGatheringCancelsTheSession) {
    CLinuxConfig config;
    CInventoryCollector collector(config, RunFlags{});
    ASSERT_EQ(0, collector.Initialize(kWindow, config.GetDataFolder(), config.GetOutputFolder()));
    // A table vanishes under the loaded store (another program, a damaged disk); while rows
    // are stored the run holds the write lock, so it happens before the first.
    {
        sqlite3x::sqlite3_connection db;
        db.open(data_.Slashed() + L"inventory.db");
        db.run(std::string("DROP TABLE session_item_field"));
    }
    EXPECT_EQ(1, collector.Gather());
    collector.Finish();
    EXPECT_EQ(PROGRESS_STOPPED, poster_.Messages().back().kind);
    ASSERT_EQ(1u, ui_.failures.size());
    EXPECT_NE(std::wstring::npos, ui_.failures[0].find(L"session_item_field"));
}

TEST_F(CollectorTest, AReportThatCannotBeWrittenFailsTheRunAndKeepsTheBase) {
    CLinuxConfig config;
    {
        CInventoryCollector first(config, RunFlags{true});
        first.Initialize(0, config.GetDataFolder(), config.GetOutputFolder());
        first.Gather();
        first.Finish();
    }
    const int base = Scalar("SELECT id FROM session WHERE status_type_id = 2");
    // The output folder is a file: nothing can be written below it.
    const std::wstring output = data_.Slashed() + L"blocked";
    ASSERT_TRUE(WriteWholeFile(output, "x"));
    CInventoryCollector collector(config, RunFlags{});
    ASSERT_EQ(0, collector.Initialize(kWindow, config.GetDataFolder(), output + L"/"));
    EXPECT_EQ(1, collector.Gather());
    collector.Finish();
    EXPECT_TRUE(collector.HasFailed());
    EXPECT_EQ(PROGRESS_STOPPED, poster_.Messages().back().kind);
    ASSERT_EQ(1u, ui_.failures.size());
    EXPECT_NE(std::wstring::npos, ui_.failures[0].find(L"the report could not be written"));
    EXPECT_EQ(1, Scalar("SELECT COUNT(*) FROM session"));
    EXPECT_EQ(base, Scalar("SELECT id FROM session WHERE status_type_id = 2"));
}

// The diagnostics look at the loaded session: a full list of startup commands with a wrong
// Startup entry, and the core sections missing. Their repairs end the run without keeping
// its session; only a run with a window gets the repairs' status lines.
TEST_F(CollectorTest, DiagnosticsRunOnTheLoadedSession) {
    host_.windowsFolder = L"C:\\Windows";
    std::vector<FakeWmi::Object> startup;
    for (int i = 0; i < 250; ++i)
        startup.push_back({{L"Name", WmiValue::String(L"s" + std::to_wstring(i))},
                           {L"Command", WmiValue::String(L"c")}});
    wmi_.results[L"Select * from Win32_StartupCommand"] = startup;
    commands_.windowsCommands = false;
    CLinuxConfig config;

    // Silent: Yes to the Startup question (the entry is written), No to the WMI one.
    ui_.answers = {Answer::Yes, Answer::No};
    CInventoryCollector silent(config, RunFlags{true});
    ASSERT_EQ(0, silent.Initialize(0, config.GetDataFolder(), config.GetOutputFolder()));
    EXPECT_EQ(0, silent.Gather());
    silent.Finish();
    EXPECT_TRUE(silent.IsCancelled());
    ASSERT_EQ(2u, ui_.questions.size());
    EXPECT_NE(std::wstring::npos, ui_.questions[0].text.find(L"in the registry"));
    EXPECT_NE(std::wstring::npos, ui_.questions[1].text.find(L"in the WMI repository"));
    EXPECT_TRUE(poster_.Messages().empty());
    EXPECT_EQ(0, Scalar("SELECT COUNT(*) FROM session"));

    // With a window: the entry is right now; Yes to the WMI question.
    ui_.answers = {Answer::Yes};
    CInventoryCollector windowed(config, RunFlags{});
    ASSERT_EQ(0, windowed.Initialize(kWindow, config.GetDataFolder(), config.GetOutputFolder()));
    windowed.Gather();
    windowed.Finish();
    ASSERT_EQ(3u, ui_.questions.size());
    std::vector<std::wstring> statuses;
    for (const auto& m : poster_.Messages())
        if (m.kind == PROGRESS_STATUS && m.text.starts_with(L"Now repairing"))
            statuses.push_back(m.text);
    EXPECT_EQ(std::vector<std::wstring>{L"Now repairing the WMI repository..."}, statuses);
    EXPECT_EQ(PROGRESS_STOPPED, poster_.Messages().back().kind);
    EXPECT_EQ(0, Scalar("SELECT COUNT(*) FROM session"));
}

TEST_F(CollectorTest, WorkerTaskRunsOnlyWhenResumed) {
    CLinuxConfig config;
    { CWorkerTask never(config, RunFlags{}); }  // released without running
    EXPECT_FALSE(platform::FileExists(data_.Slashed() + L"inventory.db"));

    CWorkerTask task(config, RunFlags{});
    task.SetParameters(kWindow, config.GetDataFolder(), config.GetOutputFolder());
    task.Resume();
    EXPECT_EQ(0, task.Wait());
    EXPECT_EQ(PROGRESS_DONE, poster_.Messages().back().kind);
    EXPECT_EQ(1, Scalar("SELECT COUNT(*) FROM session WHERE status_type_id = 2"));
}

TEST_F(CollectorTest, WorkerTaskCancelFromAnotherThread) {
    CLinuxConfig config;
    CWorkerTask task(config, RunFlags{});
    wmi_.onFetch = [&](const std::wstring&) { task.Cancel(); };
    task.SetParameters(kWindow, config.GetDataFolder(), config.GetOutputFolder());
    task.Resume();
    EXPECT_EQ(0, task.Wait());
    EXPECT_EQ(PROGRESS_STOPPED, poster_.Messages().back().kind);
    EXPECT_EQ(0, Scalar("SELECT COUNT(*) FROM session"));
    EXPECT_EQ(0, Scalar("SELECT COUNT(*) FROM session_item"));
}

}  // namespace
