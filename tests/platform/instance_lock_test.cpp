// The Linux single-instance lock: a file in the data folder, trusted only when it is this
// user's own.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "fake_host.h"
#include "platform/environment.h"
#include "platform/instance_lock.h"
#include "platform/services.h"
#include "temp_folder.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

// Owned by nobody who runs tests.
constexpr uid_t kOtherUser = 65534;

class LockTest : public ::testing::Test {
  protected:
    LockTest() : scope_(Services{nullptr, &host_}) { UseDataFolder(temp_.path() / "data"); }

    void UseDataFolder(const fs::path& folder) {
        folder_ = folder;
        host_.dataFolder = folder.wstring() + L"/";
    }

    fs::path LockFile() const { return folder_ / "fennock.lock"; }

    // Whether two runs over the data folder exclude each other: a lock that is not trusted
    // lets both go on.
    bool Guards() {
        InstanceLock first;
        EXPECT_TRUE(first.Held());
        InstanceLock second;
        return !second.Held();
    }

    static mode_t Mode(const fs::path& path) {
        struct stat status {};
        EXPECT_EQ(0, ::lstat(path.c_str(), &status)) << path;
        return status.st_mode & 07777;
    }

    TempFolder temp_;
    fs::path folder_;
    FakeHost host_;
    ServicesScope scope_;
};

TEST_F(LockTest, SecondHolderIsRefusedUntilTheFirstGoes) {
    UseDataFolder(temp_.path() / "share" / "fennock");
    {
        InstanceLock first;
        ASSERT_TRUE(first.Held());
        // Made private, with the folders above it, as a data folder is.
        EXPECT_EQ(0700u, Mode(temp_.path() / "share"));
        EXPECT_EQ(0700u, Mode(folder_));
        EXPECT_EQ(0600u, Mode(LockFile()));
        InstanceLock second;
        EXPECT_FALSE(second.Held());
    }
    InstanceLock again;
    EXPECT_TRUE(again.Held());
}

TEST_F(LockTest, AnotherProcessHoldingTheFileRefusesTheRun) {
    ASSERT_TRUE(Guards());
    const int fd = ::open(LockFile().c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(0, ::flock(fd, LOCK_EX | LOCK_NB));
    EXPECT_FALSE(InstanceLock().Held());
    ::close(fd);
    EXPECT_TRUE(InstanceLock().Held());
}

TEST_F(LockTest, EachDataFolderHasItsOwnLock) {
    InstanceLock first;
    ASSERT_TRUE(first.Held());
    UseDataFolder(temp_.path() / "other");
    InstanceLock second;
    EXPECT_TRUE(second.Held());
}

// Where no lock can be trusted, the runs go on (the database still keeps them apart).
TEST_F(LockTest, UnusableDataFoldersLetTheRunGoOn) {
    host_.dataFolder.clear();
    EXPECT_FALSE(Guards()) << "no data folder";

    std::ofstream(temp_.path() / "file") << "x";
    UseDataFolder(temp_.path() / "file");
    EXPECT_FALSE(Guards()) << "a file where the folder should be";

    UseDataFolder(temp_.path() / "file" / "below");
    EXPECT_FALSE(Guards()) << "a folder that cannot be made";

    UseDataFolder(temp_.path() / "data");
    fs::create_directories(LockFile());
    EXPECT_FALSE(Guards()) << "a folder in the lock file's place";
}

TEST_F(LockTest, LinkInTheLockFilesPlaceIsNotFollowed) {
    fs::create_directories(folder_);
    const fs::path target = temp_.path() / "target";
    fs::create_symlink(target, LockFile());
    EXPECT_FALSE(Guards());
    EXPECT_FALSE(fs::exists(target)) << "nothing made where the link points";

    // Nor held through the link when its target is held.
    std::ofstream(target) << "";
    const int fd = ::open(target.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(0, ::flock(fd, LOCK_EX | LOCK_NB));
    EXPECT_TRUE(InstanceLock().Held());
    ::close(fd);
}

TEST_F(LockTest, AnotherUsersFileOrFolderIsNotTrusted) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    fs::create_directories(folder_);
    std::ofstream(LockFile()) << "";
    ASSERT_EQ(0, ::chown(LockFile().c_str(), kOtherUser, kOtherUser));
    // That user's process holds it: this run is not kept out, and the file stays theirs.
    const int fd = ::open(LockFile().c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(0, ::flock(fd, LOCK_EX | LOCK_NB));
    EXPECT_FALSE(Guards());
    ::close(fd);
    struct stat status {};
    ASSERT_EQ(0, ::stat(LockFile().c_str(), &status));
    EXPECT_EQ(kOtherUser, status.st_uid);

    UseDataFolder(temp_.path() / "theirs");
    fs::create_directories(folder_);
    ASSERT_EQ(0, ::chown(folder_.c_str(), kOtherUser, kOtherUser));
    EXPECT_FALSE(Guards());
    EXPECT_FALSE(fs::exists(LockFile())) << "nothing made in another user's folder";
}

// The lock follows the data folder, not the session's runtime folder: two runs with
// different runtime folders over one data folder exclude each other.
TEST(NativeLock, RuntimeFolderDoesNotMatter) {
    TempFolder temp;
    const auto data = EnvironmentValue(L"XDG_DATA_HOME");
    const auto runtime = EnvironmentValue(L"XDG_RUNTIME_DIR");
    SetEnvironmentValue(L"XDG_DATA_HOME", temp.path().wstring());
    SetEnvironmentValue(L"XDG_RUNTIME_DIR", (temp.path() / "run1").wstring());
    InstanceLock first;
    SetEnvironmentValue(L"XDG_RUNTIME_DIR", (temp.path() / "run2").wstring());
    InstanceLock second;
    SetEnvironmentValue(L"XDG_DATA_HOME", data);
    SetEnvironmentValue(L"XDG_RUNTIME_DIR", runtime);
    EXPECT_TRUE(first.Held());
    EXPECT_FALSE(second.Held());
    EXPECT_TRUE(fs::exists(temp.path() / "fennock" / "fennock.lock"));
}

}  // namespace
