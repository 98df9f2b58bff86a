#include <gtest/gtest.h>

#include "config/linux_config.h"
#include "config/registry_key.h"
#include "config/win_config.h"
#include "fake_host.h"
#include "platform/files.h"
#include "platform/memory_registry.h"
#include "platform/services.h"
#include "temp_folder.h"
#include "util/utf.h"

using namespace platform;

namespace {

class ConfigTest : public ::testing::Test {
  protected:
    ConfigTest()
        : registry_(MemoryRegistry::Layout{true, true}),
          scope_(Services{&registry_, &host_, nullptr}) {
        host_.dataFolder = data_.Slashed();
        host_.tempFolder = L"/tmp/";
    }

    void WriteIni(const std::string& text) {
        ASSERT_TRUE(WriteWholeFile(data_.Slashed() + L"inventory.ini", text));
    }

    TempFolder data_;
    FakeHost host_;
    MemoryRegistry registry_;
    ServicesScope scope_;
};

TEST_F(ConfigTest, FoldersAndOwnVersionComeFromTheHost) {
    CWinConfig config;
    EXPECT_EQ(data_.Slashed(), config.GetDataFolder());
    EXPECT_EQ(L"/tmp/", config.GetOutputFolder());
    EXPECT_EQ(1, config.GetFileVersionMajor());
    EXPECT_EQ(0, config.GetFileVersionMinor());
    EXPECT_EQ(32278, config.GetFileVersionRevision());
    config.SetOutputFolder(L"/srv/");
    EXPECT_EQ(L"/srv/", config.GetOutputFolder());
}

TEST_F(ConfigTest, MissingDataFolderFallsBackUnderTemp) {
    host_.dataFolder.clear();
    CLinuxConfig config;
    EXPECT_EQ(L"/tmp/Fennock/", config.GetDataFolder());
}

struct RecordedCase {
    const wchar_t* text;
    std::uint32_t type;
    int major, minor, revision;
};

class WinRecordedVersion : public ConfigTest, public ::testing::WithParamInterface<RecordedCase> {};

TEST_P(WinRecordedVersion, IsReadFromTheUserKey) {
    const RecordedCase& c = GetParam();
    registry_.PutString(kCurrentUser, L"Software\\ZEPH\\Fennock", L"Version", c.text, c.type);
    CWinConfig config;
    EXPECT_EQ(c.major, config.GetRecordedVersionMajor());
    EXPECT_EQ(c.minor, config.GetRecordedVersionMinor());
    EXPECT_EQ(c.revision, config.GetRecordedVersionRevision());
    EXPECT_EQ(!(c.major == 1 && c.minor == 0 && c.revision == 32278), config.NeedsAgreement());
}

INSTANTIATE_TEST_SUITE_P(Values, WinRecordedVersion,
                         ::testing::Values(RecordedCase{L"1.0.32278", kRegSz, 1, 0, 32278},
                                           RecordedCase{L"1.0.32278.9", kRegSz, 1, 0, 32278},
                                           RecordedCase{L"1.0.", kRegSz, 0, 0, 0},
                                           RecordedCase{L"x.2.3", kRegSz, 0, 2, 3},
                                           RecordedCase{L"", kRegSz, 0, 0, 0},
                                           RecordedCase{L"1.0.32278", kRegExpandSz, 0, 0, 0}));

TEST_F(ConfigTest, WinSaveWritesTheFileVersionAsText) {
    {
        CWinConfig config;
        EXPECT_TRUE(config.NeedsAgreement());
        EXPECT_EQ(0, config.SaveRecordedVersion());
        EXPECT_FALSE(config.NeedsAgreement());
    }
    CRegistryKey key;
    ASSERT_EQ(0, key.Open(kCurrentUser, L"Software\\ZEPH\\Fennock", kKeyRead));
    EXPECT_EQ(L"1.0.32278", ReadStringValue(key, L"Version").value_or(L""));
    key.Close();
    CWinConfig again;
    EXPECT_FALSE(again.NeedsAgreement());
}

TEST_F(ConfigTest, WinAnswersComeFromHostAndMachineKey) {
    host_.wow64 = true;
    host_.administrator = true;
    // A 32-bit process reads the machine id from the 32-bit view.
    registry_.PutString(kLocalMachine, L"SOFTWARE\\Wow6432Node\\Zeph", L"MachineId", L"{32}");
    registry_.PutString(kLocalMachine, L"SOFTWARE\\Zeph", L"MachineId", L"{64}");
    CWinConfig config;
    EXPECT_TRUE(config.IsWow64());
    EXPECT_TRUE(config.IsRunningAsAdmin());
    EXPECT_EQ(L"{32}", config.GetMachineId());
}

TEST_F(ConfigTest, WinMachineIdAbsentOrWrongType) {
    CWinConfig config;
    EXPECT_EQ(L"", config.GetMachineId());
    registry_.PutDword(kLocalMachine, L"SOFTWARE\\Wow6432Node\\Zeph", L"MachineId", 5);
    EXPECT_EQ(L"", config.GetMachineId());
}

TEST_F(ConfigTest, IniFileIsParsedLineByLine) {
    WriteIni("# comment\n  VERSION = 1.0.5 \r\nother=2.2.2\nversion=3=4\nVersion=1.0.32278\n");
    CLinuxConfig config;
    EXPECT_EQ(1, config.GetRecordedVersionMajor());
    EXPECT_EQ(32278, config.GetRecordedVersionRevision());
    EXPECT_FALSE(config.NeedsAgreement());

    WriteIni("Version=2.1\nVersion = 4.5.6\n");
    config.LoadRecordedVersion();
    EXPECT_EQ(4, config.GetRecordedVersionMajor());
    EXPECT_EQ(5, config.GetRecordedVersionMinor());
    EXPECT_EQ(6, config.GetRecordedVersionRevision());
}

TEST_F(ConfigTest, IniFileIsWrittenExactly) {
    host_.dataFolder = data_.Slashed() + L"not-yet/";
    CLinuxConfig config;
    EXPECT_TRUE(config.NeedsAgreement());
    config.SaveRecordedVersion();
    std::string text;
    ASSERT_TRUE(ReadWholeFile(host_.dataFolder + L"inventory.ini", text));
    EXPECT_EQ("Version=1.0.32278\n", text);
    EXPECT_FALSE(config.NeedsAgreement());
}

TEST_F(ConfigTest, LinuxAnswersComeFromTheHost) {
    host_.administrator = true;
    host_.machineId = L"0123abcd";
    CLinuxConfig config;
    EXPECT_FALSE(config.IsWow64());
    EXPECT_TRUE(config.IsRunningAsAdmin());
    EXPECT_EQ(L"0123abcd", config.GetMachineId());
}

}  // namespace
