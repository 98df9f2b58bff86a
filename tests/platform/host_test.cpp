// The live system's answers: their shape, not their values.
#include <gtest/gtest.h>

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/services.h"
#include "temp_folder.h"

using namespace platform;

namespace {

TEST(NativeHost, FoldersEndWithTheSeparator) {
    Host& host = *NativeServices().host;
    const wchar_t separator = host.PathSeparator();
    const std::wstring data = host.DataFolder();
    ASSERT_FALSE(data.empty());
    EXPECT_EQ(separator, data.back());
    if (separator == L'\\')
        EXPECT_NE(std::wstring::npos, data.find(L"\\ZEPH\\Fennock\\"));
    else
        EXPECT_NE(std::wstring::npos, data.find(L"/fennock/"));
    const std::wstring temp = host.TempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(separator, temp.back());
}

TEST(NativeHost, KnowsItsOwnVersionAndUser) {
    Host& host = *NativeServices().host;
    const FileVersion version = host.OwnFileVersion();
    EXPECT_EQ(1, version.major);
    EXPECT_EQ(0, version.minor);
    EXPECT_EQ(32278, version.revision);
    EXPECT_FALSE(host.UserName().empty());
}

TEST(NativeHost, WindowsVersionOnlyOnWindows) {
    Host& host = *NativeServices().host;
    const auto version = host.GetWindowsVersion();
    EXPECT_EQ(host.PathSeparator() == L'\\', version.has_value());
    if (version) {
        EXPECT_TRUE(version->ntFamily);
        EXPECT_GE(version->major, 5u);
    }
}

// The machine is 64-bit exactly when HKLM\Software has a 32-bit view of its own, whatever
// the width of this program.
TEST(NativeHost, SixtyFourBitWhereTheRegistryHasTwoViews) {
    Host& host = *NativeServices().host;
    if (!host.GetWindowsVersion())
        GTEST_SKIP() << "not Windows";
    RegKey key = 0;
    Registry& registry = *NativeServices().registry;
    const bool twoViews = registry.OpenKey(kLocalMachine, L"Software\\Wow6432Node",
                                           kKeyRead | kKeyWow64_64, &key) == kErrorSuccess;
    if (key)
        registry.CloseKey(key);
    EXPECT_EQ(twoViews, host.IsWow64());
}

TEST(Environment, SetReadAndRemove) {
    const std::wstring name = L"FENNOCK_TEST_VARIABLE";
    ASSERT_TRUE(SetEnvironmentValue(name, std::wstring(L"C:\\some folder\\\u00e9")));
    EXPECT_EQ(L"C:\\some folder\\\u00e9", EnvironmentValue(name).value_or(L"<none>"));
    ASSERT_TRUE(SetEnvironmentValue(name, std::nullopt));
    EXPECT_FALSE(EnvironmentValue(name).has_value());
}

TEST(Files, RoundTripAndFailures) {
    TempFolder temp;
    const std::wstring nested = temp.Slashed() + L"a\u00e9\\b/c";
    ASSERT_TRUE(CreateFolders(nested));
    EXPECT_TRUE(IsDirectory(nested));
    const std::wstring file = temp.Slashed() + L"data.bin";
    const std::string bytes("line\r\n\0tail", 11);
    ASSERT_TRUE(WriteWholeFile(file, bytes));
    std::string back;
    ASSERT_TRUE(ReadWholeFile(file, back));
    EXPECT_EQ(bytes, back);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(IsDirectory(file));
    // Longer than a read block, not a multiple of one, and replacing what was read before.
    std::string large(200'003, 'x');
    for (std::size_t i = 0; i < large.size(); i += 997)
        large[i] = static_cast<char>(i % 251);
    ASSERT_TRUE(WriteWholeFile(file, large));
    ASSERT_TRUE(ReadWholeFile(file, back));
    EXPECT_EQ(large, back);

    // A folder cannot be made below a file, nor a file written there.
    EXPECT_FALSE(CreateFolders(file + L"/below"));
    EXPECT_FALSE(WriteWholeFile(file + L"/below.txt", "x"));
    EXPECT_FALSE(ReadWholeFile(temp.Slashed() + L"missing.txt", back));
}

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstGoes) {
    // Keeps a real run of the program on this machine out of the way (where the lock is a
    // file in the data folder).
    TempFolder data;
    const auto previous = EnvironmentValue(L"XDG_DATA_HOME");
    SetEnvironmentValue(L"XDG_DATA_HOME", data.path().wstring());
    {
        InstanceLock first;
        ASSERT_TRUE(first.Held());
        InstanceLock second;
        EXPECT_FALSE(second.Held());
    }
    {
        InstanceLock again;
        EXPECT_TRUE(again.Held());
    }
    SetEnvironmentValue(L"XDG_DATA_HOME", previous);
}

}  // namespace
