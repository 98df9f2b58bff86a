// Sizes as df shows them, and the time limit that keeps a dead share from stopping the run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <limits>

#include "platform/linux/live/storage/file_system_size.h"

using namespace platform::live;
using namespace std::chrono_literals;

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

TEST(StorageFileSystemSizeTest, MultipliesCountsByTheFragmentSize) {
    // A root file system with 5% kept for root: df's "used" leaves the reserve out.
    const auto space = SpaceFromCounts(66053021, 19757347, 23060000, 4096, 4096);
    EXPECT_EQ(std::uint64_t{66053021} * 4096, space.size);
    EXPECT_EQ(std::uint64_t{19757347} * 4096, space.free);
    EXPECT_EQ(std::uint64_t{66053021 - 23060000} * 4096, space.used);
    EXPECT_FALSE(SpaceFromCounts(10, 10, 11, 4096, 4096).used);
    // Fragments smaller than blocks (old ext2, some network file systems).
    EXPECT_EQ(std::uint64_t{1000} * 1024, SpaceFromCounts(1000, 10, 10, 1024, 65536).size);
    // No fragment size: the block size counts.
    EXPECT_EQ(std::uint64_t{1000} * 512, SpaceFromCounts(1000, 10, 10, 0, 512).size);
    EXPECT_FALSE(SpaceFromCounts(1000, 10, 10, 0, 0).size);
}

TEST(StorageFileSystemSizeTest, HugeCountsBecomeUnknownRatherThanWrap) {
    const auto space = SpaceFromCounts(kMax / 4096 + 1, kMax / 4096, 0, 4096, 4096);
    EXPECT_FALSE(space.size);
    ASSERT_TRUE(space.free);
    EXPECT_EQ(kMax / 4096 * 4096, *space.free);
    EXPECT_EQ(kMax, SpaceFromCounts(kMax, 0, 0, 1, 1).size);
}

TEST(StorageFileSystemSizeTest, TheChildsNumbersComeBack) {
    const auto numbers = RunWithTimeLimit(
        [](ChildNumbers& out) {
            out = {1, kMax, 3, 0};
            return true;
        },
        10s);
    ASSERT_TRUE(numbers);
    EXPECT_EQ((ChildNumbers{1, kMax, 3, 0, 0}), *numbers);
    EXPECT_FALSE(RunWithTimeLimit([](ChildNumbers&) { return false; }, 10s));
    EXPECT_FALSE(RunWithTimeLimit(
        [](ChildNumbers&) -> bool {
            ::_exit(3);  // dies without answering
        },
        10s));
}

TEST(StorageFileSystemSizeTest, AChildPastTheLimitIsGivenUp) {
    const auto numbers = RunWithTimeLimit(
        [](ChildNumbers& out) {
            ::sleep(60);
            out = {1, 2, 3, 4};
            return true;
        },
        100ms);
    EXPECT_FALSE(numbers);
}

TEST(StorageFileSystemSizeTest, AnswersForAMountedFolderAndNotForAMissingOne) {
    for (const auto limit : {std::optional<std::chrono::milliseconds>(10s),
                             std::optional<std::chrono::milliseconds>()}) {
        const auto space = FileSystemSpaceOf("/", limit);
        ASSERT_TRUE(space.size);
        ASSERT_TRUE(space.free);
        EXPECT_GT(*space.size, 0u);
        EXPECT_LE(*space.free, *space.size);
        const auto none = FileSystemSpaceOf("/no/such/folder/anywhere", limit);
        EXPECT_FALSE(none.size);
        EXPECT_FALSE(none.free);
    }
}

}  // namespace
